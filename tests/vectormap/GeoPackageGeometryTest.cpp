// GeoPackage geometry blobs: what the writer encodes decodes to the same paths, blobs of the
// other kinds GIS programs write (big-endian, Z and M, multi, no envelope) decode, and malformed
// ones are refused with a reason.
#include "vectormap/GeoPackageGeometry.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

// Builds a blob field by field, in either byte order.
class Blob {
  public:
    explicit Blob(bool little = true) : little_(little) {}

    Blob& order(bool little) {
        little_ = little;
        return *this;
    }
    Blob& u8(int v) {
        bytes_.append(static_cast<char>(v));
        return *this;
    }
    Blob& u32(std::uint32_t v) { return number(v, 4); }
    Blob& f64(double d) { return number(std::bit_cast<std::uint64_t>(d), 8); }
    // The GP header: version 0, the flags (with the byte order bit added), SRS 4326.
    Blob& header(int flags) {
        u8('G').u8('P').u8(0).u8(flags | (little_ ? 1 : 0));
        return u32(4326);
    }
    // A WKB geometry's byte order and type.
    Blob& wkb(std::uint32_t type) {
        u8(little_ ? 1 : 0);
        return u32(type);
    }

    const QByteArray& bytes() const { return bytes_; }

  private:
    QByteArray bytes_;
    bool little_;

    Blob& number(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i) {
            const int shift = 8 * (little_ ? i : n - 1 - i);
            u8(static_cast<int>((v >> shift) & 0xFF));
        }
        return *this;
    }
};

GeoPackageGeometry decode(const QByteArray& bytes) {
    return GeoPackageGeometry::decode(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                      static_cast<std::size_t>(bytes.size()));
}

void expectPath(const GeoPath& got, const GeoPath& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].lat, want[i].lat) << i;
        EXPECT_EQ(got[i].lon, want[i].lon) << i;
    }
}

TEST(GeoPackageGeometry, EncodedLinesAndPolygonsDecodeExactly) {
    const GeoPath line{{.lat = 43.115512345678901, .lon = 131.88550987654321},
                       {.lat = 66.0, .lon = 190.35}};
    const QByteArray lineBlob = GeoPackageGeometry::encodeLine(line, 4326);
    // Header, envelope, then WKB in x = longitude, y = latitude order.
    EXPECT_EQ(lineBlob.left(8), QByteArray::fromHex("4750000"
                                                    "3e6100000"));
    EXPECT_EQ(std::bit_cast<double>(*reinterpret_cast<const std::uint64_t*>(lineBlob.data() + 8)),
              131.88550987654321);  // min x
    EXPECT_EQ(lineBlob.size(), 8 + 32 + 1 + 4 + 4 + 2 * 16);
    const GeoPackageGeometry g = decode(lineBlob);
    EXPECT_EQ(g.srsId, 4326);
    EXPECT_EQ(g.kind, GeoPackageGeometry::Kind::Lines);
    EXPECT_FALSE(g.empty);
    ASSERT_EQ(g.parts.size(), 1u);
    ASSERT_EQ(g.parts[0].size(), 1u);
    expectPath(g.parts[0][0], line);

    const std::vector<GeoPath> rings{
        {{0, 0}, {0, 10}, {10, 10}, {0, 0}},
        {{1, 1}, {2, 2}, {1, 2}, {1, 1}},
    };
    const GeoPackageGeometry p = decode(GeoPackageGeometry::encodePolygon(rings, 4326));
    EXPECT_EQ(p.kind, GeoPackageGeometry::Kind::Polygons);
    ASSERT_EQ(p.parts.size(), 1u);
    ASSERT_EQ(p.parts[0].size(), 2u);
    expectPath(p.parts[0][0], rings[0]);
    expectPath(p.parts[0][1], rings[1]);
}

TEST(GeoPackageGeometry, BigEndianLineWithZDropsTheHeights) {
    Blob b(false);
    b.header(0x04);  // xyz envelope: six doubles
    for (int i = 0; i < 6; ++i) {
        b.f64(0);
    }
    b.wkb(1002).u32(2).f64(131).f64(43).f64(100).f64(132).f64(44).f64(200);
    const GeoPackageGeometry g = decode(b.bytes());
    ASSERT_EQ(g.parts.size(), 1u);
    expectPath(g.parts[0][0], {{.lat = 43, .lon = 131}, {.lat = 44, .lon = 132}});
}

TEST(GeoPackageGeometry, MultiPolygonWithMeasuresGivesEachPart) {
    Blob b;
    b.header(0).wkb(2006).u32(2);
    for (int part = 0; part < 2; ++part) {
        b.order(part == 0).wkb(2003).u32(1).u32(4);  // parts may change the byte order
        for (double lon : {0.0, 1.0, 1.0, 0.0}) {
            b.f64(lon).f64(lon == 1.0 ? 5.0 : part).f64(-1);
        }
    }
    const GeoPackageGeometry g = decode(b.bytes());
    EXPECT_EQ(g.kind, GeoPackageGeometry::Kind::Polygons);
    ASSERT_EQ(g.parts.size(), 2u);
    expectPath(
        g.parts[1][0],
        {{.lat = 1, .lon = 0}, {.lat = 5, .lon = 1}, {.lat = 5, .lon = 1}, {.lat = 1, .lon = 0}});
}

TEST(GeoPackageGeometry, EmptyFlagIsReported) {
    Blob b;
    b.header(0x10).wkb(2).u32(0);
    const GeoPackageGeometry g = decode(b.bytes());
    EXPECT_TRUE(g.empty);
}

TEST(GeoPackageGeometry, MalformedBlobsAreRefusedWithTheirReason) {
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* message;
    };
    const Case cases[] = {
        {"too short for a header", QByteArray("GP\0\1", 4), "нет заголовка GeoPackage"},
        {"version 1",
         QByteArray::fromHex("4750010"
                             "1e6100000"),
         "неизвестная версия"},
        {"extended type", Blob().header(0x20).wkb(2).u32(0).bytes(), "нестандартного типа"},
        {"envelope kind 5", Blob().header(0x0A).wkb(2).u32(0).bytes(), "неизвестный вид охвата"},
        {"envelope cut short", Blob().header(0x02).f64(1).bytes(), "геометрия обрывается"},
        {"WKB byte order 7", Blob().header(0).u8(7).u32(2).bytes(), "порядок байтов WKB (7)"},
        {"a point", Blob().header(0).wkb(1).f64(1).f64(2).bytes(), "WKB типа 1,"},
        {"type code past ZM", Blob().header(0).wkb(4002).u32(0).bytes(), "WKB типа 4002"},
        {"line inside a multipolygon", Blob().header(0).wkb(6).u32(1).wkb(2).u32(0).bytes(),
         "часть мультигеометрии"},
        {"a million rings claimed", Blob().header(0).wkb(3).u32(1000000).bytes(),
         "геометрия обрывается"},
        {"points cut short", Blob().header(0).wkb(2).u32(2).f64(1).f64(2).f64(3).bytes(),
         "геометрия обрывается"},
        {"empty with points", Blob().header(0x10).wkb(2).u32(2).f64(1).f64(2).f64(3).f64(4).bytes(),
         "пустая геометрия с точками"},
        {"trailing byte", Blob().header(0).wkb(2).u32(0).u8(0).bytes(), "лишние байты"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            decode(c.bytes);
            ADD_FAILURE() << "decoded";
        } catch (const ZelkoraError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

}  // namespace

}  // namespace zelkora
