#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <functional>

#include "common/ZelkoraError.h"
#include "mapimage/Compositing.h"
#include "mapimage/DataPaths.h"
#include "mapimage/MapAssembly.h"
#include "tests/mapimage/PngFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestImages.h"

namespace zelkora {

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

class AssembleMap : public testing::Test {
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

    // Stored without compression, so that pictures of one size make files of one size.
    static void save(const TPngImage& image, const QString& path) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        PngWriter::Settings stored;
        stored.compressionLevel = 0;
        image.SaveToFile(path, stored);
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

TEST_F(AssembleMap, NoLayersGiveTheBasePicture) {
    TPngImage a = previous;
    EXPECT_TRUE(assembleMap(a, dataDir, kFarEast, false, kNone));
    EXPECT_EQ(a, base);
}

TEST_F(AssembleMap, CheckedLayersBlendInFixedOrder) {
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

TEST_F(AssembleMap, MissingLayerFileIsSkipped) {
    ASSERT_TRUE(QFile::remove(layerImagePath(dataDir, kFarEast, false, kLayerCaptions[1])));
    TPngImage a;
    EXPECT_TRUE(assembleMap(a, dataDir, kFarEast, false, kAll));
    EXPECT_EQ(a, folded(kAll, 1));
}

TEST_F(AssembleMap, MissingBasePictureKeepsThePreviousMap) {
    TPngImage a = previous;
    EXPECT_FALSE(assembleMap(a, dataDir, kVietnam, false, kAll));
    EXPECT_FALSE(assembleMap(a, dataDir, kFarEast, true, kAll));  // no "_HiRes" folder
    EXPECT_EQ(a, previous);
    // A folder named like the base picture is no picture either.
    ASSERT_TRUE(QDir().mkpath(baseImagePath(dataDir, kVietnam, false)));
    EXPECT_FALSE(assembleMap(a, dataDir, kVietnam, false, kAll));
    EXPECT_EQ(a, previous);
}

TEST_F(AssembleMap, HighResolutionReadsItsOwnFolder) {
    const TPngImage hiResBase = layerPicture(2, 60, 40);
    save(hiResBase, dataDir + QStringLiteral("maps/Dalniy_Vostok_HiRes/blank.png"));
    TPngImage a;
    EXPECT_TRUE(assembleMap(a, dataDir, kFarEast, true, kAll));  // no layer files there
    EXPECT_EQ(a, hiResBase);
}

TEST_F(AssembleMap, UnreadableFileThrowsAndKeepsThePreviousMap) {
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

TEST_F(AssembleMap, YieldsOncePerBlendedRow) {
    int calls = 0;
    TPngImage a;
    assembleMap(a, dataDir, kFarEast, false, {true, true, false, false, false}, [&] { ++calls; });
    EXPECT_EQ(calls, 2 * base.Height());
}

// ---- The kept parts of a window's assemblies ----------------------------------------------

class MapAssemblyCache : public AssembleMap {
  protected:
    std::filesystem::path fsPath(const QString& path) const {
        return std::filesystem::path(QFile::encodeName(path).toStdString());
    }
    // Moves the file's modification time on by a second, as a later edit would.
    void touchLater(const QString& path) const {
        const auto file = fsPath(path);
        std::filesystem::last_write_time(
            file, std::filesystem::last_write_time(file) + std::chrono::seconds(1));
    }
    // Writes the picture into the file's own inode, as an editor that saves in place does.
    void rewriteInPlace(const TPngImage& image, const QString& path) const {
        const QString other = dir.path() + QStringLiteral("/in-place.png");
        save(image, other);
        writeBytes(path, readBytes(other));
        touchLater(path);
    }
    QString layerPath(int index) const {
        return layerImagePath(dataDir, kFarEast, false, kLayerCaptions[index]);
    }

    MapAssembly maps;
    TPngImage a;
};

// Clicks on one layer at a time, each layer taken off under others and put back, then jumps.
TEST_F(MapAssemblyCache, EveryAssemblyEqualsAFreshOneAndNoFileIsReadTwice) {
    Layers on = kAll;
    ASSERT_TRUE(maps.assemble(a, dataDir, kFarEast, false, on));
    EXPECT_EQ(a, folded(on));
    for (const int k : {0, 4, 2, 2, 0, 1, 3, 4, 1, 3, 0}) {
        on[static_cast<std::size_t>(k)] = !on[static_cast<std::size_t>(k)];
        maps.assemble(a, dataDir, kFarEast, false, on);
        EXPECT_EQ(a, folded(on)) << "after a click on layer " << k;
    }
    for (const Layers& jump : {kNone, kAll, Layers{false, true, false, true, false}, kAll}) {
        maps.assemble(a, dataDir, kFarEast, false, jump);
        EXPECT_EQ(a, folded(jump));
    }
    EXPECT_EQ(maps.filesDecoded(), 1 + kLayerCount);
}

// A click re-blends only the layers from the clicked one up; taking the top layer off blends
// nothing.
TEST_F(MapAssemblyCache, YieldsOncePerRowOfTheLayersBlendedAgain) {
    maps.assemble(a, dataDir, kFarEast, false, kAll);
    const struct {
        int layer;
        int blends;
    } clicks[] = {{4, 0}, {4, 1}, {0, 4}, {0, 5}, {2, 2}, {2, 3}};
    Layers on = kAll;
    for (const auto& click : clicks) {
        on[static_cast<std::size_t>(click.layer)] = !on[static_cast<std::size_t>(click.layer)];
        int calls = 0;
        maps.assemble(a, dataDir, kFarEast, false, on, [&] { ++calls; });
        EXPECT_EQ(calls, click.blends * base.Height()) << "click on layer " << click.layer;
    }
}

// Each change is one that a stamp of size and time alone might miss or that only the stamp
// sees; the picture after it is what reading the files gives.
TEST_F(MapAssemblyCache, ChangedFilesAreReadAgain) {
    const struct {
        const char* name;
        std::function<void()> change;
        int decoded;
    } changes[] = {
        {"layer rewritten in place, same size",
         [&] {
             const QString path = layerPath(2);
             const qint64 size = QFileInfo(path).size();
             layers[2] = noise(30, 20, 21);
             rewriteInPlace(layers[2], path);
             ASSERT_EQ(QFileInfo(path).size(), size);
         },
         1},
        {"base picture rewritten in place, same size",
         [&] {
             const QString path = baseImagePath(dataDir, kFarEast, false);
             base = noise(30, 20, 22);
             rewriteInPlace(base, path);
         },
         1},
        {"layer replaced by another file of the same size and time",
         [&] {
             const QString path = layerPath(0);
             const QString other = dir.path() + QStringLiteral("/other.png");
             layers[0] = noise(30, 20, 23);
             save(layers[0], other);
             std::filesystem::last_write_time(fsPath(other),
                                              std::filesystem::last_write_time(fsPath(path)));
             ASSERT_EQ(QFileInfo(other).size(), QFileInfo(path).size());
             std::filesystem::rename(fsPath(other), fsPath(path));
         },
         1},
        {"layer removed", [&] { ASSERT_TRUE(QFile::remove(layerPath(4))); }, 0},
        {"layer back",
         [&] {
             layers[4] = noise(30, 20, 24);
             save(layers[4], layerPath(4));
         },
         1},
    };
    maps.assemble(a, dataDir, kFarEast, false, kAll);
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        const int decoded = maps.filesDecoded();
        c.change();
        maps.assemble(a, dataDir, kFarEast, false, kAll);
        const int skipped = QFileInfo::exists(layerPath(4)) ? -1 : 4;
        EXPECT_EQ(a, folded(kAll, skipped));
        TPngImage fresh;
        assembleMap(fresh, dataDir, kFarEast, false, kAll);
        EXPECT_EQ(a, fresh);
        EXPECT_EQ(maps.filesDecoded() - decoded, c.decoded);
    }
}

// Dense layers keep their runs as large as rasters; the bound holds and so do the results.
TEST_F(MapAssemblyCache, KeepsAtMostEightRastersOfTheMap) {
    for (int i = 0; i < kLayerCount; ++i) {
        layers[static_cast<std::size_t>(i)] =
            filled(30, 20, {static_cast<std::uint8_t>(50 * i), 90, 200, 100});
        save(layers[static_cast<std::size_t>(i)], layerPath(i));
    }
    const std::size_t raster = base.byteCount();
    Layers on = kAll;
    for (const int k : {-1, 0, 0, 3, 1, 3, 1}) {
        if (k >= 0) {
            on[static_cast<std::size_t>(k)] = !on[static_cast<std::size_t>(k)];
        }
        maps.assemble(a, dataDir, kFarEast, false, on);
        EXPECT_EQ(a, folded(on)) << k;
        EXPECT_LE(maps.cachedBytes(), MapAssembly::kMaxRasters * raster) << k;
    }
}

TEST_F(MapAssemblyCache, AnotherMapFreesTheFirst) {
    save(noise(40, 10, 31), baseImagePath(dataDir, kVietnam, false));
    save(noise(40, 10, 32), layerImagePath(dataDir, kVietnam, false, kLayerCaptions[1]));
    maps.assemble(a, dataDir, kFarEast, false, kAll);
    maps.assemble(a, dataDir, kVietnam, false, kAll);
    MapAssembly vietnamOnly;
    TPngImage b;
    vietnamOnly.assemble(b, dataDir, kVietnam, false, kAll);
    EXPECT_EQ(a, b);
    EXPECT_EQ(maps.cachedBytes(), vietnamOnly.cachedBytes());

    // A map without its high-resolution folder keeps the map and what is kept for it.
    const TPngImage before = a;
    const std::size_t kept = maps.cachedBytes();
    EXPECT_FALSE(maps.assemble(a, dataDir, kVietnam, true, kAll));
    EXPECT_EQ(a, before);
    EXPECT_EQ(maps.cachedBytes(), kept);
    const int decoded = maps.filesDecoded();
    maps.assemble(a, dataDir, kFarEast, false, kAll);
    EXPECT_EQ(a, folded(kAll));
    EXPECT_EQ(maps.filesDecoded() - decoded, 1 + kLayerCount);
}

// The other resolution's files read ahead on a thread of their own are what the switch to it
// assembles from, read once; switching back reads nothing either. Another map lets them go.
TEST_F(MapAssemblyCache, TheOtherResolutionIsReadAheadAndKept) {
    const TPngImage hiBase = noise(60, 40, 41);
    QDir().mkpath(mapFolderPath(dataDir, kFarEast, true));
    save(hiBase, baseImagePath(dataDir, kFarEast, true));
    save(noise(60, 40, 42), layerImagePath(dataDir, kFarEast, true, kLayerCaptions[1]));
    maps.assemble(a, dataDir, kFarEast, false, kAll);
    const int decoded = maps.filesDecoded();
    maps.prefetch(dataDir, kFarEast, true);
    EXPECT_TRUE(maps.prefetching());
    maps.prefetch(dataDir, kFarEast, true);  // once is enough
    ASSERT_TRUE(maps.assemble(a, dataDir, kFarEast, true, kAll));
    TPngImage fresh;
    assembleMap(fresh, dataDir, kFarEast, true, kAll);
    EXPECT_EQ(a, fresh);
    EXPECT_EQ(maps.filesDecoded() - decoded, 2) << "the base and the one layer there is";
    EXPECT_FALSE(maps.prefetching());

    maps.assemble(a, dataDir, kFarEast, false, kAll);
    EXPECT_EQ(a, folded(kAll));
    maps.assemble(a, dataDir, kFarEast, true, {true, false, false, false, false});
    EXPECT_EQ(maps.filesDecoded() - decoded, 2) << "both resolutions are kept";

    // Only the other resolution of the map last assembled is read ahead.
    maps.prefetch(dataDir, kVietnam, false);
    EXPECT_FALSE(maps.prefetching());
    save(noise(40, 10, 43), baseImagePath(dataDir, kVietnam, false));
    maps.assemble(a, dataDir, kVietnam, false, kAll);
    MapAssembly vietnamOnly;
    TPngImage b;
    vietnamOnly.assemble(b, dataDir, kVietnam, false, kAll);
    EXPECT_EQ(maps.cachedBytes(), vietnamOnly.cachedBytes());
}

TEST_F(MapAssemblyCache, FailuresLeaveTheMapAndLaterAssembliesRight) {
    maps.assemble(a, dataDir, kFarEast, false, kAll);
    const TPngImage before = a;
    const Layers without0 = {false, true, true, true, true};

    writeBytes(layerPath(3), "not a picture");
    EXPECT_THROW(maps.assemble(a, dataDir, kFarEast, false, without0), ZelkoraError);
    EXPECT_EQ(a, before);
    save(layers[3], layerPath(3));
    touchLater(layerPath(3));

    // Stopped half way through a blend, by the event loop's turn or by another assembly
    // started from it.
    int calls = 0;
    const auto stopAtRow5 = [&] {
        if (++calls == 5) {
            throw ZelkoraError("stopped");
        }
    };
    EXPECT_THROW(maps.assemble(a, dataDir, kFarEast, false, without0, stopAtRow5), ZelkoraError);
    EXPECT_EQ(a, before);
    const auto nested = [&] { maps.assemble(a, dataDir, kFarEast, false, kNone); };
    EXPECT_THROW(maps.assemble(a, dataDir, kFarEast, false, kAll, nested), ZelkoraError);
    EXPECT_EQ(a, before);

    for (const Layers& on : {without0, kAll}) {
        maps.assemble(a, dataDir, kFarEast, false, on);
        EXPECT_EQ(a, folded(on));
    }
}

}  // namespace

}  // namespace zelkora
