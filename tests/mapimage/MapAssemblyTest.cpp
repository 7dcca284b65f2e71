#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "common/ZelkoraError.h"
#include "mapimage/Compositing.h"
#include "mapimage/DataPaths.h"
#include "mapimage/MapAssembly.h"
#include "tests/mapimage/PngFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestImages.h"

namespace {

const QString kFarEast = QStringLiteral("Дальний Восток");
const QString kVietnam = QStringLiteral("Вьетнам");
using Layers = std::array<bool, kLayerCount>;
constexpr Layers kNone = {false, false, false, false, false};
constexpr Layers kAll = {true, true, true, true, true};

// A layer that is opaque in its own band, half-transparent in a second and clear elsewhere,
// so that the blending order shows where the bands cross.
TPngImage layerPicture(int index, int width, int height) {
    TPngImage image = TPngImage::CreateBlank(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.row(y) + x * 4;
            const bool opaque = (x + y) % kLayerCount == index;
            const bool half = y % kLayerCount == index;
            if (opaque || half) {
                p[0] = static_cast<std::uint8_t>(40 * index + 20);
                p[1] = static_cast<std::uint8_t>(255 - 30 * index);
                p[2] = static_cast<std::uint8_t>(x * 9);
                p[3] = opaque ? 255 : 100;
            }
        }
    }
    return image;
}

class MapAssembly : public testing::Test {
  protected:
    void SetUp() override {
        dataDir = dir.path() + QLatin1Char('/');
        base = noise(30, 20, 11);
        save(base, baseImagePath(dataDir, kFarEast, false));
        for (int i = 0; i < kLayerCount; ++i) {
            layers[static_cast<std::size_t>(i)] = layerPicture(i, 30, 20);
            save(layers[static_cast<std::size_t>(i)],
                 layerImagePath(dataDir, kFarEast, false, kLayerCaptions[i]));
        }
        previous = TPngImage::CreateBlank(4, 4);
        previous.bits()[0] = 77;
    }

    static void save(const TPngImage& image, const QString& path) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        image.SaveToFile(path);
    }

    // The base with the chosen layers blended one after the other.
    TPngImage folded(const Layers& on, int skipped = -1) const {
        TPngImage map = base;
        for (int i = 0; i < kLayerCount; ++i) {
            if (on[static_cast<std::size_t>(i)] && i != skipped) {
                MergePNGLayerMy(map, layers[static_cast<std::size_t>(i)], 0, 0);
            }
        }
        return map;
    }

    QTemporaryDir dir;
    QString dataDir;
    TPngImage base;
    std::array<TPngImage, kLayerCount> layers;
    TPngImage previous;
};

TEST_F(MapAssembly, NoLayersGiveTheBasePicture) {
    TPngImage a = previous;
    EXPECT_TRUE(assembleMap(a, dataDir, kFarEast, false, kNone));
    EXPECT_EQ(a, base);
}

TEST_F(MapAssembly, CheckedLayersBlendInFixedOrder) {
    for (const Layers& on :
         {Layers{true, false, false, false, true}, kAll, Layers{true, true, false, true, true},
          Layers{false, false, true, false, false}}) {
        TPngImage a;
        EXPECT_TRUE(assembleMap(a, dataDir, kFarEast, false, on));
        EXPECT_EQ(a, folded(on));
    }
    // Where the opaque bands of grid and coastlines meet, the coastlines win.
    TPngImage a;
    assembleMap(a, dataDir, kFarEast, false, {true, false, false, false, true});
    EXPECT_EQ(a.row(0)[0 * 4], layers[0].row(0)[0]);
    EXPECT_EQ(a.row(4)[0 * 4], layers[4].row(4)[0]);
    EXPECT_NE(a, folded(kNone));
}

TEST_F(MapAssembly, MissingLayerFileIsSkipped) {
    ASSERT_TRUE(QFile::remove(layerImagePath(dataDir, kFarEast, false, kLayerCaptions[1])));
    TPngImage a;
    EXPECT_TRUE(assembleMap(a, dataDir, kFarEast, false, kAll));
    EXPECT_EQ(a, folded(kAll, 1));
}

TEST_F(MapAssembly, MissingBasePictureKeepsThePreviousMap) {
    TPngImage a = previous;
    EXPECT_FALSE(assembleMap(a, dataDir, kVietnam, false, kAll));
    EXPECT_FALSE(assembleMap(a, dataDir, kFarEast, true, kAll));  // no "_HiRes" folder
    EXPECT_EQ(a, previous);
    // A folder named like the base picture is no picture either.
    ASSERT_TRUE(QDir().mkpath(baseImagePath(dataDir, kVietnam, false)));
    EXPECT_FALSE(assembleMap(a, dataDir, kVietnam, false, kAll));
    EXPECT_EQ(a, previous);
}

TEST_F(MapAssembly, HighResolutionReadsItsOwnFolder) {
    const TPngImage hiResBase = layerPicture(2, 60, 40);
    save(hiResBase, dataDir + QStringLiteral("maps/Dalniy_Vostok_HiRes/blank.png"));
    TPngImage a;
    EXPECT_TRUE(assembleMap(a, dataDir, kFarEast, true, kAll));  // no layer files there
    EXPECT_EQ(a, hiResBase);
}

TEST_F(MapAssembly, UnreadableFileThrowsAndKeepsThePreviousMap) {
    for (const QString& path : {layerImagePath(dataDir, kFarEast, false, kLayerCaptions[3]),
                                baseImagePath(dataDir, kFarEast, false)}) {
        writeBytes(path, "not a picture");
        TPngImage a = previous;
        try {
            assembleMap(a, dataDir, kFarEast, false, kAll);
            ADD_FAILURE() << "no error for " << path.toStdString();
        } catch (const ZelkoraError& e) {
            EXPECT_TRUE(e.message().contains(path)) << e.what();
        }
        EXPECT_EQ(a, previous);
    }
}

TEST_F(MapAssembly, YieldsOncePerBlendedRow) {
    int calls = 0;
    TPngImage a;
    assembleMap(a, dataDir, kFarEast, false, {true, true, false, false, false}, [&] { ++calls; });
    EXPECT_EQ(calls, 2 * base.Height());
}

}  // namespace
