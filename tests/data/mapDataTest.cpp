// Checks the committed map pictures and icons: their kind and size, and that real places land
// where they belong when placed through geo.
#include <gtest/gtest.h>

#include <QImage>
#include <QSize>
#include <QString>
#include <cmath>
#include <set>
#include <string>

#include "projection/Tpar.h"
#include "projection/geo.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPng.h"

namespace zelkora {

namespace {

const QString kData = QStringLiteral(ZELKORA_DATA_DIR);

struct Folder {
    int map;
    const char* name;
    QSize size;
    bool hiRes;
};

const Folder kFolders[] = {
    {kMapVietnam, "Vetnam", {1000, 1680}, false},
    {kMapVietnam, "Vetnam_HiRes", {2000, 3360}, true},
    {kMapFarEast, "Dalniy_Vostok", {940, 1660}, false},
    {kMapFarEast, "Dalniy_Vostok_HiRes", {1880, 3320}, true},
};

const char* const kLayers[] = {"Setka.png", "Reki.png", "Granitsy_rayonov.png",
                               "Granitsy_gosudarstv.png", "Beregovye_linii.png"};

QString mapFile(const Folder& f, const char* file) {
    return kData + QStringLiteral("/maps/") + f.name + '/' + file;
}

const Folder& folder(int map, bool hiRes) {
    for (const Folder& f : kFolders) {
        if (f.map == map && f.hiRes == hiRes) {
            return f;
        }
    }
    throw std::logic_error("no folder");
}

// Width, height, bit depth and colour type from the PNG header (IHDR comes first).
struct PngHeader {
    int width = 0;
    int height = 0;
    int depth = 0;
    int colourType = -1;
};

PngHeader readHeader(const QString& path) {
    const std::vector<PngChunk> chunks = pngChunks(readBytes(path));
    if (chunks.empty() || chunks.front().type != "IHDR" || chunks.front().data.size() < 10) {
        return {};
    }
    const std::uint8_t* ihdr = chunks.front().data.data();
    return {static_cast<int>(bigEndian32(ihdr)), static_cast<int>(bigEndian32(ihdr + 4)), ihdr[8],
            ihdr[9]};
}

constexpr int kPngRgba = 6;

// Each picture is read once per test run.
const QImage& picture(const QString& path) {
    static std::map<QString, QImage> cache;
    auto it = cache.find(path);
    if (it == cache.end()) {
        it = cache.emplace(path, QImage(path).convertToFormat(QImage::Format_ARGB32)).first;
    }
    return it->second;
}

QPoint pixelOf(const Folder& f, double lat, double lon) {
    Tpoint p;
    p.x = lat;
    p.y = lon;
    const Tpoint out = geo(p, PAR_map[static_cast<std::size_t>(f.map)], f.hiRes, f.size.height());
    // The pixel a point falls in: index = trunc, as the marker pass centres icons.
    return {static_cast<int>(std::floor(out.xImg)), static_cast<int>(std::floor(out.yImg))};
}

// The base is two quiet colours: land warm, water cool.
bool isLand(QRgb c) {
    return qRed(c) > qBlue(c);
}

TEST(MapFolders, EveryFolderHoldsSixRgbaPicturesOfItsSize) {
    for (const Folder& f : kFolders) {
        std::vector<const char*> files(std::begin(kLayers), std::end(kLayers));
        files.push_back("blank.png");
        for (const char* file : files) {
            SCOPED_TRACE(std::string(f.name) + "/" + file);
            const PngHeader h = readHeader(mapFile(f, file));
            EXPECT_EQ(QSize(h.width, h.height), f.size);
            EXPECT_EQ(h.depth, 8);
            EXPECT_EQ(h.colourType, kPngRgba);
        }
    }
    EXPECT_EQ(folder(kMapVietnam, true).size, folder(kMapVietnam, false).size * 2);
    EXPECT_EQ(folder(kMapFarEast, true).size, folder(kMapFarEast, false).size * 2);
}

TEST(MapFolders, BaseIsOpaqueLandAndWater) {
    for (const Folder& f : kFolders) {
        SCOPED_TRACE(f.name);
        const QImage& img = picture(mapFile(f, "blank.png"));
        ASSERT_FALSE(img.isNull());
        long land = 0;
        bool opaque = true;
        for (int y = 0; y < img.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                opaque = opaque && qAlpha(row[x]) == 255;
                land += isLand(row[x]) ? 1 : 0;
            }
        }
        EXPECT_TRUE(opaque);
        const double share = static_cast<double>(land) / (img.width() * img.height());
        EXPECT_GT(share, 0.2);
        EXPECT_LT(share, 0.8);
    }
}

TEST(MapFolders, LayersAreOneColourWithAntialiasedAlpha) {
    for (const Folder& f : kFolders) {
        for (const char* layer : kLayers) {
            SCOPED_TRACE(std::string(f.name) + "/" + layer);
            const QImage& img = picture(mapFile(f, layer));
            ASSERT_FALSE(img.isNull());
            std::set<QRgb> colours;
            long drawn = 0;
            long partial = 0;
            for (int y = 0; y < img.height(); ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
                for (int x = 0; x < img.width(); ++x) {
                    const int a = qAlpha(row[x]);
                    if (a > 0) {
                        colours.insert(row[x] & 0xFFFFFFu);
                        ++drawn;
                        partial += a < 255 ? 1 : 0;
                    }
                }
            }
            EXPECT_EQ(colours.size(), 1u);
            const double share = static_cast<double>(drawn) / (img.width() * img.height());
            EXPECT_GT(share, 0.001);
            EXPECT_LT(share, 0.3);
            EXPECT_GT(partial, drawn / 10) << "lines are not antialiased";
        }
    }
}

TEST(Icons, NineDarkShapesInMarkerOrder) {
    for (int t = 0; t < 9; ++t) {
        SCOPED_TRACE("icon " + std::to_string(t));
        const QString path = kData + QStringLiteral("/icons/%1.png").arg(t);
        const PngHeader h = readHeader(path);
        EXPECT_EQ(QSize(h.width, h.height), QSize(128, 128));
        EXPECT_EQ(h.depth, 8);
        EXPECT_EQ(h.colourType, kPngRgba);
        const QImage& img = picture(path);
        ASSERT_EQ(img.size(), QSize(128, 128));
        int darkest = 0;
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x) {
                const QRgb c = img.pixel(x, y);
                if (qAlpha(c) > 0) {
                    darkest = std::max({darkest, qRed(c), qGreen(c), qBlue(c)});
                }
            }
        }
        EXPECT_LT(darkest, 64) << "icons must be near black";
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(img.pixel(127, 127)), 0);
        // Even types are filled, odd ones hollow; the star (8) is filled.
        const bool filled = t % 2 == 0;
        EXPECT_EQ(qAlpha(img.pixel(64, 66)), filled ? 255 : 0);
    }
}

struct Place {
    const char* name;
    int map;
    double lat, lon;
};

// Places at least 3 pixels from any shore, at both resolutions.
struct Ground : Place {
    bool land;
};

void PrintTo(const Ground& g, std::ostream* os) {
    *os << g.name;
}

class KnownGround : public testing::TestWithParam<Ground> {};

TEST_P(KnownGround, IsLandOrWaterOnTheBase) {
    const Ground& g = GetParam();
    for (bool hiRes : {false, true}) {
        SCOPED_TRACE(hiRes ? "HiRes" : "normal");
        const Folder& f = folder(g.map, hiRes);
        const QImage& img = picture(mapFile(f, "blank.png"));
        const QPoint c = pixelOf(f, g.lat, g.lon);
        ASSERT_TRUE(img.rect().adjusted(3, 3, -3, -3).contains(c)) << c.x() << ", " << c.y();
        for (int dy = -3; dy <= 3; ++dy) {
            for (int dx = -3; dx <= 3; ++dx) {
                ASSERT_EQ(isLand(img.pixel(c + QPoint(dx, dy))), g.land)
                    << "at offset " << dx << ", " << dy;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Places, KnownGround,
    testing::Values(Ground{{"Lang Son", kMapVietnam, 21.85, 106.76}, true},
                    Ground{{"Da Lat", kMapVietnam, 11.94, 108.44}, true},
                    Ground{{"Pleiku", kMapVietnam, 13.98, 108.0}, true},
                    Ground{{"Kampong Speu", kMapVietnam, 11.45, 104.52}, true},
                    Ground{{"Vientiane", kMapVietnam, 17.97, 102.63}, true},
                    Ground{{"inland Hainan", kMapVietnam, 19.2, 109.7}, true},
                    Ground{{"Gulf of Tonkin", kMapVietnam, 20.0, 107.5}, false},
                    Ground{{"South China Sea", kMapVietnam, 14.0, 111.0}, false},
                    Ground{{"Gulf of Thailand", kMapVietnam, 9.5, 102.5}, false},
                    Ground{{"Tonle Sap lake", kMapVietnam, 12.85, 104.1}, false},
                    Ground{{"Birobidzhan", kMapFarEast, 48.79, 132.92}, true},
                    Ground{{"central Kamchatka", kMapFarEast, 56.0, 159.0}, true},
                    Ground{{"central Hokkaido", kMapFarEast, 43.5, 142.8}, true},
                    Ground{{"Chukotka past 180", kMapFarEast, 66.0, -173.0}, true},
                    Ground{{"Sea of Okhotsk", kMapFarEast, 55.0, 148.0}, false},
                    Ground{{"Sea of Japan", kMapFarEast, 41.0, 134.0}, false},
                    Ground{{"Bering Sea past 180", kMapFarEast, 60.0, -175.0}, false},
                    Ground{{"Lake Khanka", kMapFarEast, 44.95, 132.42}, false}),
    [](const auto& info) {
        std::string s = info.param.name;
        for (char& ch : s) {
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        }
        return s;
    });

// A line of a layer passes near a place: within maxPixels at normal resolution, twice that at
// high resolution, where the same ground distance spans twice the pixels.
struct Near : Place {
    const char* layer;
    int maxPixels;
};

void PrintTo(const Near& n, std::ostream* os) {
    *os << n.name;
}

class NearFeature : public testing::TestWithParam<Near> {};

TEST_P(NearFeature, LayerHasALinePixelWithinReach) {
    const Near& n = GetParam();
    for (bool hiRes : {false, true}) {
        SCOPED_TRACE(hiRes ? "HiRes" : "normal");
        const Folder& f = folder(n.map, hiRes);
        const QImage& img = picture(mapFile(f, n.layer));
        const QPoint c = pixelOf(f, n.lat, n.lon);
        ASSERT_TRUE(img.rect().contains(c)) << c.x() << ", " << c.y();
        const int reach = n.maxPixels * (hiRes ? 2 : 1);
        double nearest = 1e9;
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                const QPoint p = c + QPoint(dx, dy);
                if (img.rect().contains(p) && qAlpha(img.pixel(p)) >= 128) {
                    nearest = std::min(nearest, std::hypot(dx, dy));
                }
            }
        }
        EXPECT_LE(nearest, reach);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Places, NearFeature,
    testing::Values(
        Near{{"Cape_Lopatka", kMapFarEast, 50.868, 156.663}, "Beregovye_linii.png", 3},
        Near{{"Cape_Dezhnev", kMapFarEast, 66.075, -169.652}, "Beregovye_linii.png", 3},
        Near{{"Mui_Ca_Mau", kMapVietnam, 8.617, 104.717}, "Beregovye_linii.png", 3},
        Near{{"Khabarovsk_on_the_Amur", kMapFarEast, 48.48, 135.07}, "Reki.png", 4},
        Near{{"Hanoi_on_the_Red_River", kMapVietnam, 21.03, 105.85}, "Reki.png", 4},
        Near{{"Lao_Cai_on_the_border", kMapVietnam, 22.50, 103.96}, "Granitsy_gosudarstv.png", 4},
        Near{{"Blagoveshchensk_on_the_border", kMapFarEast, 50.26, 127.53},
             "Granitsy_gosudarstv.png",
             4},
        Near{{"Graticule_16N_106E", kMapVietnam, 16.0, 106.0}, "Setka.png", 1},
        Near{{"Graticule_50N_140E", kMapFarEast, 50.0, 140.0}, "Setka.png", 1},
        Near{{"Graticule_65N_170W", kMapFarEast, 65.0, -170.0}, "Setka.png", 1}),
    [](const auto& info) { return std::string(info.param.name); });

// The base and the coastline come from the same shores: along every coast the base changes
// between land and water within two pixels.
TEST(MapFolders, BaseAndCoastlineAgree) {
    for (const Folder& f : kFolders) {
        SCOPED_TRACE(f.name);
        const QImage& base = picture(mapFile(f, "blank.png"));
        const QImage& coast = picture(mapFile(f, "Beregovye_linii.png"));
        const QRect inner = base.rect().adjusted(2, 2, -2, -2);
        long checked = 0;
        long agreeing = 0;
        for (int y = inner.top(); y <= inner.bottom(); ++y) {
            for (int x = inner.left(); x <= inner.right(); ++x) {
                if (qAlpha(coast.pixel(x, y)) < 128) {
                    continue;
                }
                bool land = false;
                bool water = false;
                for (int dy = -2; dy <= 2; ++dy) {
                    for (int dx = -2; dx <= 2; ++dx) {
                        (isLand(base.pixel(x + dx, y + dy)) ? land : water) = true;
                    }
                }
                ++checked;
                agreeing += land && water ? 1 : 0;
            }
        }
        // Aligned layers agree at over 99 %; a shift of two pixels already drops that to 96 %.
        ASSERT_GT(checked, 1000);
        EXPECT_GT(static_cast<double>(agreeing) / checked, 0.98) << agreeing << " of " << checked;
    }
}

}  // namespace

}  // namespace zelkora
