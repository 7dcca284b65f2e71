// Checks the committed vector data of the maps against their pictures: it loads with every
// layer, it covers the whole picture, its land and water fill the base's land and water, and its
// lines fall on the lines of the matching picture layers when projected with LambertConic.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "mapimage/DataPaths.h"
#include "projection/LambertConic.h"
#include "projection/Tpar.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

namespace {

const QString kData = QStringLiteral(ZELKORA_DATA_DIR "/");

struct Sheet {
    int map;
    QSize size;                // normal resolution; HiRes is twice as large
    double pictureMinAreaKm2;  // islands and lakes smaller are in the data but not the pictures
};

const Sheet kSheets[] = {{kMapVietnam, {1000, 1680}, 5.0}, {kMapFarEast, {940, 1660}, 20.0}};

// The area a closed ring encloses, in square kilometres, on the sphere's equirectangular
// approximation about its own latitude: close enough to tell a 5 km² island from a 20 km² one.
double ringAreaKm2(const GeoPath& ring) {
    constexpr double kKmPerDegree = 111.195;
    double twice = 0.0;
    const double cosLat = std::cos(ring.front().lat * M_PI / 180.0);
    for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
        twice += ring[i].lon * ring[i + 1].lat - ring[i + 1].lon * ring[i].lat;
    }
    return std::fabs(twice) / 2 * kKmPerDegree * kKmPerDegree * cosLat;
}

// Whether a line of the data is also on the pictures: the pictures leave out the islands and
// lakes smaller than their minimum, whose shores are closed rings.
bool onThePictures(const std::vector<GeoPoint>& line, const Sheet& s) {
    const bool closed = line.size() >= 4 && line.front().lat == line.back().lat &&
                        line.front().lon == line.back().lon;
    return !closed || ringAreaKm2(line) >= s.pictureMinAreaKm2;
}

const char* nameOf(const Sheet& s) {
    return s.map == kMapVietnam ? "Vietnam" : "Far East";
}

// Each map is read once per test run.
const VectorMap& vectorMap(int map) {
    static std::map<int, VectorMap> cache;
    auto it = cache.find(map);
    if (it == cache.end()) {
        it = cache.emplace(map, loadVectorMap(vectorMapPath(kData, kMapCaptions[map]))).first;
    }
    return it->second;
}

const QImage& picture(int map, bool hiRes, const QString& file) {
    static std::map<QString, QImage> cache;
    const QString path = mapFolderPath(kData, kMapCaptions[map], hiRes) + file;
    auto it = cache.find(path);
    if (it == cache.end()) {
        it = cache.emplace(path, QImage(path).convertToFormat(QImage::Format_ARGB32)).first;
    }
    return it->second;
}

bool isLand(QRgb c) {
    return qRed(c) > qBlue(c);
}

TEST(VectorData, EveryMapLoadsWithEveryLayerAndItsLevels) {
    for (const Sheet& s : kSheets) {
        SCOPED_TRACE(nameOf(s));
        const VectorMap& m = vectorMap(s.map);
        std::set<int> areaLevels;
        for (const VectorArea& a : m.areas) {
            areaLevels.insert(a.level);
        }
        std::set<int> shoreLevels;
        for (const VectorLine& l : m.shores) {
            shoreLevels.insert(l.level);
        }
        std::set<int> riverLevels;
        for (const VectorLine& l : m.rivers) {
            riverLevels.insert(l.level);
        }
        // Land, lakes and islands in lakes on both maps; every river rank from river-lakes to
        // minor rivers.
        EXPECT_TRUE(areaLevels.contains(1) && areaLevels.contains(2) && areaLevels.contains(3));
        EXPECT_EQ(shoreLevels, areaLevels);
        EXPECT_EQ(riverLevels, (std::set<int>{0, 1, 2, 3, 4}));
        EXPECT_GT(m.divisions.size(), 20u);
        EXPECT_GT(m.borders.size(), 5u);
    }
}

// The areas drawn through the projection as a figure draws them, level by level (odd levels
// land, even ones water), match the base picture's land and water wherever the base is not at a
// coast, out to the picture's edges: the data covers the whole picture.
TEST(VectorData, AreasFillTheBasesLandAndWaterToTheEdges) {
    for (const Sheet& s : kSheets) {
        for (bool hiRes : {false, true}) {
            SCOPED_TRACE(std::string(nameOf(s)) + (hiRes ? " HiRes" : ""));
            const QImage& base = picture(s.map, hiRes, QStringLiteral("blank.png"));
            ASSERT_FALSE(base.isNull());
            const LambertConic conic(PAR_map[static_cast<std::size_t>(s.map)], hiRes);
            QImage fill(base.size(), QImage::Format_RGB32);
            fill.fill(Qt::black);
            {
                QPainter painter(&fill);
                painter.setPen(Qt::NoPen);
                for (const VectorArea& a : vectorMap(s.map).areas) {
                    if (!onThePictures(a.rings.front(), s)) {
                        continue;
                    }
                    QPainterPath path;
                    for (const GeoPath& ring : a.rings) {
                        QPolygonF polygon;
                        for (const GeoPoint& p : ring) {
                            polygon << conic.toPixel(p, base.height());
                        }
                        path.addPolygon(polygon);
                    }
                    painter.setBrush(a.level % 2 == 1 ? Qt::white : Qt::black);
                    painter.drawPath(path);
                }
            }
            // Land pixels of the base, and their counts summed over every rectangle from the
            // top left corner, so that each pixel's 5 x 5 neighbourhood is counted at once.
            const int w = base.width();
            const int h = base.height();
            std::vector<std::uint8_t> land(static_cast<std::size_t>(w) * h);
            std::vector<int> sums(static_cast<std::size_t>(w + 1) * (h + 1), 0);
            for (int y = 0; y < h; ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(base.constScanLine(y));
                for (int x = 0; x < w; ++x) {
                    const int l = isLand(row[x]) ? 1 : 0;
                    land[static_cast<std::size_t>(y) * w + x] = static_cast<std::uint8_t>(l);
                    sums[static_cast<std::size_t>(y + 1) * (w + 1) + x + 1] =
                        l + sums[static_cast<std::size_t>(y) * (w + 1) + x + 1] +
                        sums[static_cast<std::size_t>(y + 1) * (w + 1) + x] -
                        sums[static_cast<std::size_t>(y) * (w + 1) + x];
                }
            }
            const auto sum = [&](int x0, int y0, int x1, int y1) {  // [x0, x1) x [y0, y1)
                const auto at = [&](int x, int y) {
                    return sums[static_cast<std::size_t>(y) * (w + 1) + x];
                };
                return at(x1, y1) - at(x0, y1) - at(x1, y0) + at(x0, y0);
            };
            long checked = 0;
            long agreeing = 0;
            for (int y = 0; y < h; ++y) {
                const auto* filled = reinterpret_cast<const QRgb*>(fill.constScanLine(y));
                for (int x = 0; x < w; ++x) {
                    const int x0 = std::max(x - 2, 0);
                    const int y0 = std::max(y - 2, 0);
                    const int x1 = std::min(x + 3, w);
                    const int y1 = std::min(y + 3, h);
                    const int n = sum(x0, y0, x1, y1);
                    if (n != 0 && n != (x1 - x0) * (y1 - y0)) {
                        continue;  // at a coast
                    }
                    ++checked;
                    const bool isLandHere = land[static_cast<std::size_t>(y) * w + x] != 0;
                    agreeing += (qRed(filled[x]) > 127) == isLandHere ? 1 : 0;
                }
            }
            ASSERT_GT(checked, base.width() * base.height() / 2);
            EXPECT_GT(static_cast<double>(agreeing) / checked, 0.9999)
                << checked - agreeing << " of " << checked << " pixels differ";
        }
    }
}

// The line layers and the pictures drawn from the same lines.
struct LineLayer {
    const char* name;
    const char* file;
    std::vector<VectorLine> VectorMap::*lines;
    int reach;  // pixels around the point searched at normal resolution, twice that at HiRes
};

const LineLayer kLineLayers[] = {
    {"shores", "Beregovye_linii.png", &VectorMap::shores, 1},
    {"rivers", "Reki.png", &VectorMap::rivers, 1},
    {"borders", "Granitsy_gosudarstv.png", &VectorMap::borders, 1},
    // Dashed: a point may sit in a gap of the dashes.
    {"divisions", "Granitsy_rayonov.png", &VectorMap::divisions, 3},
};

// Runs check on each line layer of each map at both resolutions, with the layer's picture, the
// map's projection at that resolution and the layer's reach there.
void forEachLineLayer(
    const std::function<void(const VectorMap& map, const LineLayer& layer, const QImage& img,
                             const LambertConic& conic, int reach, const Sheet& sheet)>& check) {
    for (const Sheet& s : kSheets) {
        for (bool hiRes : {false, true}) {
            for (const LineLayer& layer : kLineLayers) {
                SCOPED_TRACE(std::string(nameOf(s)) + (hiRes ? " HiRes " : " ") + layer.name);
                const QImage& img = picture(s.map, hiRes, QString::fromLatin1(layer.file));
                ASSERT_FALSE(img.isNull());
                const LambertConic conic(PAR_map[static_cast<std::size_t>(s.map)], hiRes);
                check(vectorMap(s.map), layer, img, conic, layer.reach * (hiRes ? 2 : 1), s);
            }
        }
    }
}

// Most points of a layer's lines, projected, fall on a drawn pixel of the matching picture
// layer or next to it.
TEST(VectorData, LinesFallOnTheirPictureLayers) {
    forEachLineLayer([](const VectorMap& map, const LineLayer& layer, const QImage& img,
                        const LambertConic& conic, int reach, const Sheet& sheet) {
        long inside = 0;
        long onLine = 0;
        for (const VectorLine& line : map.*layer.lines) {
            if (!onThePictures(line.points, sheet)) {
                continue;
            }
            for (const GeoPoint& p : line.points) {
                const QPointF px = conic.toPixel(p, img.height());
                const QPoint c(static_cast<int>(std::floor(px.x())),
                               static_cast<int>(std::floor(px.y())));
                if (!img.rect().adjusted(reach, reach, -reach, -reach).contains(c)) {
                    continue;
                }
                ++inside;
                bool found = false;
                for (int dy = -reach; dy <= reach && !found; ++dy) {
                    for (int dx = -reach; dx <= reach && !found; ++dx) {
                        const auto* row =
                            reinterpret_cast<const QRgb*>(img.constScanLine(c.y() + dy));
                        found = qAlpha(row[c.x() + dx]) >= 64;
                    }
                }
                onLine += found ? 1 : 0;
            }
        }
        ASSERT_GT(inside, 500);
        EXPECT_GT(static_cast<double>(onLine) / inside, 0.999)
            << inside - onLine << " of " << inside << " points off the layer";
    });
}

// The other way round, out to the picture's edges: nearly every pixel a picture layer draws
// solidly lies on a line of the data, drawn through the projection with a pen as wide as the
// reach.
TEST(VectorData, EveryLineOfThePicturesIsInTheData) {
    forEachLineLayer([](const VectorMap& map, const LineLayer& layer, const QImage& img,
                        const LambertConic& conic, int reach, const Sheet&) {
        QImage drawn(img.size(), QImage::Format_RGB32);
        drawn.fill(Qt::black);
        {
            QPainter painter(&drawn);
            painter.setPen(
                QPen(Qt::white, 2 * reach + 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            for (const VectorLine& line : map.*layer.lines) {
                QPolygonF polyline;
                for (const GeoPoint& p : line.points) {
                    polyline << conic.toPixel(p, img.height());
                }
                painter.drawPolyline(polyline);
            }
        }
        long solid = 0;
        long covered = 0;
        for (int y = 0; y < img.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            const auto* line = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                if (qAlpha(row[x]) >= 192) {
                    ++solid;
                    covered += qRed(line[x]) > 0 ? 1 : 0;
                }
            }
        }
        ASSERT_GT(solid, 500);
        EXPECT_GT(static_cast<double>(covered) / solid, 0.999)
            << solid - covered << " of " << solid << " pixels without a line";
    });
}

}  // namespace

}  // namespace zelkora
