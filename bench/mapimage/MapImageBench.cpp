// Map assembly at the sizes of the shipped maps, 1000 x 1680 and the high-resolution 2000 x 3360,
// and at the 2000 x 3500 of the speed target. BM_ColdAssembly and BM_LayerClick run on the real
// high-resolution Far East files of data/, which bench/compare measures against the image tools.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <random>
#include <vector>

#include "mapimage/Compositing.h"
#include "mapimage/DataPaths.h"
#include "mapimage/MapAssembly.h"
#include "mapimage/TPngImage.h"

namespace zelkora {

namespace {

const QString kMap = QStringLiteral("Вьетнам");
const QString kFarEast = QStringLiteral("Дальний Восток");
const QString kRealData = QStringLiteral(ZELKORA_DATA_DIR);
constexpr std::array<bool, kLayerCount> kAllLayers = {true, true, true, true, true};

// A shaded base picture, opaque everywhere.
TPngImage basePicture(int width, int height) {
    TPngImage image = TPngImage::CreateBlank(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = image.row(y);
        for (int x = 0; x < width; ++x, p += 4) {
            p[0] = static_cast<std::uint8_t>(200 + x % 40);
            p[1] = static_cast<std::uint8_t>(220 + y % 30);
            p[2] = static_cast<std::uint8_t>(180 + (x + y) % 50);
            p[3] = 255;
        }
    }
    return image;
}

// Like a drawn layer: clear almost everywhere, with anti-aliased lines over a few per cent.
TPngImage layerPicture(int width, int height, unsigned seed) {
    TPngImage image = TPngImage::CreateBlank(width, height);
    std::mt19937 rng(seed);
    for (int line = 0; line < height / 8; ++line) {
        const int y = static_cast<int>(rng() % static_cast<unsigned>(height));
        const int x0 = static_cast<int>(rng() % static_cast<unsigned>(width));
        const int length = std::min(width - x0, 200);
        for (int x = x0; x < x0 + length; ++x) {
            std::uint8_t* p = image.row(y) + x * 4;
            p[0] = 30;
            p[1] = 60;
            p[2] = 200;
            p[3] = static_cast<std::uint8_t>(x == x0 || x == x0 + length - 1 ? 128 : 255);
        }
    }
    return image;
}

struct MapFiles {
    QTemporaryDir dir;
    QString dataDir;

    MapFiles(int width, int height) : dataDir(dir.path() + QLatin1Char('/')) {
        QDir().mkpath(mapFolderPath(dataDir, kMap, false));
        basePicture(width, height).SaveToFile(baseImagePath(dataDir, kMap, false));
        for (int i = 0; i < kLayerCount; ++i) {
            layerPicture(width, height, static_cast<unsigned>(i))
                .SaveToFile(layerImagePath(dataDir, kMap, false, kLayerCaptions[i]));
        }
    }
};

void BM_MergeLayer(benchmark::State& state) {
    const auto width = static_cast<int>(state.range(0));
    const auto height = static_cast<int>(state.range(1));
    const TPngImage base = basePicture(width, height);
    const TPngImage layer = layerPicture(width, height, 1);
    for (auto _ : state) {
        state.PauseTiming();
        TPngImage map = base;
        state.ResumeTiming();
        MergePNGLayerMy(map, layer, 0, 0, [] {});
        benchmark::DoNotOptimize(map.bits());
    }
}
BENCHMARK(BM_MergeLayer)->Args({1000, 1680})->Args({2000, 3360})->Unit(benchmark::kMillisecond);

// The worst case for the blend: every layer pixel half transparent.
void BM_MergeTranslucentLayer(benchmark::State& state) {
    TPngImage base = basePicture(2000, 3360);
    TPngImage layer = basePicture(2000, 3360);
    for (std::size_t i = 3; i < layer.byteCount(); i += 4) {
        layer.bits()[i] = 100;
    }
    for (auto _ : state) {
        MergePNGLayerMy(base, layer, 0, 0, [] {});
        benchmark::DoNotOptimize(base.bits());
    }
}
BENCHMARK(BM_MergeTranslucentLayer)->Unit(benchmark::kMillisecond);

// The blending of an assembly without the reading: five full-size layers over the base.
void BM_BlendFiveLayers(benchmark::State& state) {
    const auto width = static_cast<int>(state.range(0));
    const auto height = static_cast<int>(state.range(1));
    const TPngImage base = basePicture(width, height);
    std::vector<TPngImage> layers;
    for (int i = 0; i < kLayerCount; ++i) {
        layers.push_back(layerPicture(width, height, static_cast<unsigned>(i)));
    }
    for (auto _ : state) {
        state.PauseTiming();
        TPngImage map = base;
        state.ResumeTiming();
        for (const TPngImage& layer : layers) {
            MergePNGLayerMy(map, layer, 0, 0, [] {});
        }
        benchmark::DoNotOptimize(map.bits());
    }
}
BENCHMARK(BM_BlendFiveLayers)->Args({2000, 3500})->Unit(benchmark::kMillisecond);

void BM_LoadBasePicture(benchmark::State& state) {
    MapFiles files(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const QString path = baseImagePath(files.dataDir, kMap, false);
    for (auto _ : state) {
        TPngImage image;
        image.LoadFromFile(path);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_LoadBasePicture)
    ->Args({1000, 1680})
    ->Args({2000, 3360})
    ->Unit(benchmark::kMillisecond);

// A whole assembly: six files read, five layers blended.
void BM_AssembleMapAllLayers(benchmark::State& state) {
    MapFiles files(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::array<bool, kLayerCount> all = {true, true, true, true, true};
    TPngImage a;
    for (auto _ : state) {
        assembleMap(a, files.dataDir, kMap, false, all, [] {});
        benchmark::DoNotOptimize(a.bits());
    }
}
// Real time: the files are decoded on other threads as well.
BENCHMARK(BM_AssembleMapAllLayers)
    ->Args({1000, 1680})
    ->Args({2000, 3360})
    ->Args({2000, 3500})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The whole assembly of the real map with nothing read before: six files decoded, five layers
// blended.
void BM_ColdAssembly(benchmark::State& state) {
    TPngImage a;
    for (auto _ : state) {
        assembleMap(a, kRealData, kFarEast, true, kAllLayers, [] {});
        benchmark::DoNotOptimize(a.bits());
    }
}
BENCHMARK(BM_ColdAssembly)->UseRealTime()->Unit(benchmark::kMillisecond);

// One click on layer check box N of the real map, the others all on, as the window assembles:
// every iteration switches that layer off or back on and assembles again. No file changes in
// between.
void BM_LayerClick(benchmark::State& state) {
    const auto layer = static_cast<std::size_t>(state.range(0));
    std::array<bool, kLayerCount> on = kAllLayers;
    MapAssembly maps;
    TPngImage a;
    maps.assemble(a, kRealData, kFarEast, true, on, [] {});
    for (auto _ : state) {
        on[layer] = !on[layer];
        maps.assemble(a, kRealData, kFarEast, true, on, [] {});
        benchmark::DoNotOptimize(a.bits());
    }
    state.counters["cachedMB"] = static_cast<double>(maps.cachedBytes()) / 1e6;
}
BENCHMARK(BM_LayerClick)
    ->DenseRange(0, kLayerCount - 1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace zelkora
