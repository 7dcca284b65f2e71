#include "vectormap/GeoPackageGeometry.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <limits>

#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

// WKB geometry types (the base code; ISO adds 1000 for Z, 2000 for M, 3000 for both).
constexpr std::uint32_t kLineString = 2;
constexpr std::uint32_t kPolygon = 3;
constexpr std::uint32_t kMultiLineString = 5;
constexpr std::uint32_t kMultiPolygon = 6;

// Header flags: bit 0 the byte order of the header, bits 1-3 the envelope kind, bit 4 empty,
// bit 5 an extended (non-standard) geometry type.
constexpr std::uint8_t kLittleEndian = 0x01;
constexpr std::uint8_t kEnvelopeXY = 0x02;
constexpr std::uint8_t kEmptyFlag = 0x10;
constexpr std::uint8_t kExtendedFlag = 0x20;
// Bytes of the envelope by its kind: none, xy, xyz, xym, xyzm.
constexpr std::array<std::size_t, 5> kEnvelopeBytes{0, 32, 48, 48, 64};

class BlobWriter {
  public:
    void u8(std::uint8_t v) { out_.append(static_cast<char>(v)); }
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            u8(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    void f64(double d) {
        const auto v = std::bit_cast<std::uint64_t>(d);
        for (int i = 0; i < 8; ++i) {
            u8(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    void count(std::size_t n) {
        if (n > std::numeric_limits<std::uint32_t>::max()) {
            throw ZelkoraError("Геометрия слишком велика для формата WKB");
        }
        u32(static_cast<std::uint32_t>(n));
    }

    // The GP header with the x/y envelope of the paths.
    void header(const std::vector<GeoPath>& paths, int srsId) {
        u8('G');
        u8('P');
        u8(0);  // version 1 of the blob format is written as 0
        u8(kLittleEndian | kEnvelopeXY);
        u32(static_cast<std::uint32_t>(srsId));
        double west = std::numeric_limits<double>::infinity();
        double east = -west;
        double south = west;
        double north = -west;
        for (const GeoPath& path : paths) {
            for (const GeoPoint& p : path) {
                west = std::min(west, p.lon);
                east = std::max(east, p.lon);
                south = std::min(south, p.lat);
                north = std::max(north, p.lat);
            }
        }
        f64(west);
        f64(east);
        f64(south);
        f64(north);
    }

    void points(const GeoPath& path) {
        count(path.size());
        for (const GeoPoint& p : path) {
            f64(p.lon);
            f64(p.lat);
        }
    }

    QByteArray take() { return std::move(out_); }

  private:
    QByteArray out_;
};

class BlobReader {
  public:
    BlobReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    GeoPackageGeometry read() {
        GeoPackageGeometry g;
        if (size_ < 8 || data_[0] != 'G' || data_[1] != 'P') {
            fail(QStringLiteral("у геометрии нет заголовка GeoPackage"));
        }
        if (data_[2] != 0) {
            fail(QStringLiteral("неизвестная версия геометрии GeoPackage (%1)").arg(data_[2]));
        }
        const std::uint8_t flags = data_[3];
        if (flags & kExtendedFlag) {
            fail(QStringLiteral("геометрия нестандартного типа"));
        }
        const std::size_t envelope = (flags >> 1) & 7;
        if (envelope >= kEnvelopeBytes.size()) {
            fail(QStringLiteral("неизвестный вид охвата геометрии (%1)").arg(envelope));
        }
        pos_ = 4;
        little_ = (flags & kLittleEndian) != 0;
        g.srsId = static_cast<std::int32_t>(u32());
        need(kEnvelopeBytes[envelope]);
        pos_ += kEnvelopeBytes[envelope];
        g.empty = (flags & kEmptyFlag) != 0;

        const std::uint32_t type = typeCode();
        const std::uint32_t base = type % 1000;
        if (base == kLineString || base == kMultiLineString) {
            g.kind = GeoPackageGeometry::Kind::Lines;
        } else if (base == kPolygon || base == kMultiPolygon) {
            g.kind = GeoPackageGeometry::Kind::Polygons;
        } else {
            fail(QStringLiteral("геометрия WKB типа %1, а не линии или многоугольники").arg(type));
        }
        if (base == kLineString || base == kPolygon) {
            g.parts.push_back(part(type));
        } else {
            const std::uint32_t single =
                type - (base - (base == kMultiPolygon ? kPolygon : kLineString));
            const std::uint32_t n = count(5);  // each part is at least a header
            for (std::uint32_t i = 0; i < n; ++i) {
                if (typeCode() != single) {
                    fail(QStringLiteral("часть мультигеометрии другого типа"));
                }
                g.parts.push_back(part(single));
            }
        }
        if (pos_ != size_) {
            fail(QStringLiteral("после геометрии лишние байты"));
        }
        if (g.empty) {
            // An empty geometry holds no coordinates: anything else contradicts the flag.
            for (const auto& p : g.parts) {
                for (const GeoPath& path : p) {
                    if (!path.empty()) {
                        fail(QStringLiteral("пустая геометрия с точками"));
                    }
                }
            }
        }
        return g;
    }

  private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool little_ = true;

    [[noreturn]] static void fail(const QString& why) { throw ZelkoraError(why); }

    void need(std::size_t n) const {
        if (n > size_ - pos_) {
            fail(QStringLiteral("геометрия обрывается"));
        }
    }
    std::uint64_t bytes(std::size_t n) {
        need(n);
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint64_t b = data_[pos_ + (little_ ? i : n - 1 - i)];
            v |= b << (8 * i);
        }
        pos_ += n;
        return v;
    }
    std::uint32_t u32() { return static_cast<std::uint32_t>(bytes(4)); }
    double f64() { return std::bit_cast<double>(bytes(8)); }

    // A count of items each at least minBytes long, checked against what is left.
    std::uint32_t count(std::size_t minBytes) {
        const std::uint32_t n = u32();
        if (n > (size_ - pos_) / minBytes) {
            fail(QStringLiteral("геометрия обрывается"));
        }
        return n;
    }

    // The byte order and type of one WKB geometry.
    std::uint32_t typeCode() {
        need(1);
        const std::uint8_t order = data_[pos_++];
        if (order > 1) {
            fail(QStringLiteral("неизвестный порядок байтов WKB (%1)").arg(order));
        }
        little_ = order == 1;
        const std::uint32_t type = u32();
        if (type > 3999) {
            fail(QStringLiteral("геометрия WKB типа %1, а не линии или многоугольники").arg(type));
        }
        return type;
    }

    // The paths of a LineString (one) or a Polygon (its rings), after its type code.
    std::vector<GeoPath> part(std::uint32_t type) {
        const std::uint32_t extra = type / 1000;
        const std::size_t dims = 2 + (extra == 1 || extra == 2 ? 1 : 0) + (extra == 3 ? 2 : 0);
        std::vector<GeoPath> paths;
        if (type % 1000 == kLineString) {
            paths.push_back(points(dims));
        } else {
            const std::uint32_t rings = count(4);
            paths.reserve(rings);
            for (std::uint32_t r = 0; r < rings; ++r) {
                paths.push_back(points(dims));
            }
        }
        return paths;
    }

    GeoPath points(std::size_t dims) {
        const std::uint32_t n = count(8 * dims);
        GeoPath path;
        path.reserve(n);
        for (std::uint32_t i = 0; i < n; ++i) {
            const double lon = f64();
            const double lat = f64();
            pos_ += 8 * (dims - 2);  // within the count checked above
            path.push_back({.lat = lat, .lon = lon});
        }
        return path;
    }
};

}  // namespace

QByteArray GeoPackageGeometry::encodeLine(const GeoPath& line, int srsId) {
    BlobWriter w;
    w.header({line}, srsId);
    w.u8(1);
    w.u32(kLineString);
    w.points(line);
    return w.take();
}

QByteArray GeoPackageGeometry::encodePolygon(const std::vector<GeoPath>& rings, int srsId) {
    BlobWriter w;
    w.header(rings, srsId);
    w.u8(1);
    w.u32(kPolygon);
    w.count(rings.size());
    for (const GeoPath& ring : rings) {
        w.points(ring);
    }
    return w.take();
}

QByteArray GeoPackageGeometry::encodeMultiPolygon(const std::vector<std::vector<GeoPath>>& polygons,
                                                  int srsId) {
    std::vector<GeoPath> outer;
    for (const auto& rings : polygons) {
        if (!rings.empty()) {
            outer.push_back(rings.front());
        }
    }
    BlobWriter w;
    w.header(outer, srsId);
    w.u8(1);
    w.u32(kMultiPolygon);
    w.count(polygons.size());
    for (const auto& rings : polygons) {
        w.u8(1);
        w.u32(kPolygon);
        w.count(rings.size());
        for (const GeoPath& ring : rings) {
            w.points(ring);
        }
    }
    return w.take();
}

GeoPackageGeometry GeoPackageGeometry::decode(const unsigned char* data, std::size_t size) {
    return BlobReader(data, size).read();
}

}  // namespace zelkora
