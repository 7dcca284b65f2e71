// The figure's speed goals on the real maps: a whole Far East figure for a page (BM_Figure, which
// bench/compare-figure sets against GMT), and the dialog's preview, redrawn after every change.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <memory>
#include <random>

#include "figure/FigureFile.h"
#include "figure/FigureLayout.h"
#include "figure/FigureMap.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

const QString kData = QStringLiteral(ZELKORA_DATA_DIR);

// 1000 points over the map's middle, spread over the nine columns, as bench/compare makes them.
std::unique_ptr<PointTable> thousandPoints() {
    auto table = std::make_unique<PointTable>();
    table->setShape(9, 120);
    fillHeaderRow(*table);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> lat(45.0, 60.0);
    std::uniform_real_distribution<double> lon(133.0, 150.0);
    for (int i = 0; i < 1000; ++i) {
        table->setCell(
            i % 9, i / 9 + 1,
            QStringLiteral("%1, %2").arg(lat(random), 0, 'f', 6).arg(lon(random), 0, 'f', 6));
    }
    return table;
}

FigureOptions pageOptions() {
    FigureOptions o;
    o.dataDir = kData;
    o.map = kMapFarEast;
    o.layers = {true, true, true, true, true};
    o.extent = FigureExtent::WholeMap;
    o.widthMm = 183;
    o.dpi = 600;
    o.format = FigureFormat::Tiff;
    return o;
}

// The whole Far East with every layer and 1000 points, 183 mm wide at 600 dpi, to TIFF: from the
// map's file to the figure's, as zelkora-cli figure does it.
void BM_Figure(benchmark::State& state) {
    const auto table = thousandPoints();
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zelkora-figure-XXXXXX"));
    const QString out = dir.filePath(QStringLiteral("figure.tif"));
    for (auto _ : state) {
        const auto map = FigureMap::load(kData, kMapFarEast);
        const FigureLayout layout = layOutFigure(pageOptions(), *map, *table);
        writeFigure(layout, *map, out);
    }
}
BENCHMARK(BM_Figure)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same figure's parts, to see where the time goes.
void BM_FigureMapLoad(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(FigureMap::load(kData, kMapFarEast));
    }
}
BENCHMARK(BM_FigureMapLoad)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_FigureRaster(benchmark::State& state) {
    const auto table = thousandPoints();
    const auto map = FigureMap::load(kData, kMapFarEast);
    const FigureLayout layout = layOutFigure(pageOptions(), *map, *table);
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderFigure(layout, *map, 600));
    }
}
BENCHMARK(BM_FigureRaster)->UseRealTime()->Unit(benchmark::kMillisecond);

// The dialog's preview after a change of its settings: the map stays loaded with its levels of
// detail, the figure is laid out again and drawn 560 pixels wide. Case 0 is the whole map, case 1 a
// crop to the points of one province, case 2 the crop with the countries and the regions named
// and every point numbered.
void BM_FigurePreview(benchmark::State& state) {
    const auto table = thousandPoints();
    const auto map = FigureMap::load(kData, kMapFarEast);
    FigureOptions options = pageOptions();
    if (state.range(0) >= 1) {
        options.extent = FigureExtent::Box;
        options.box = {42.5, 130.5, 48.5, 139.0};
    }
    if (state.range(0) == 2) {
        options.nameCountries = true;
        options.nameDivisions = true;
        options.numbering = PointNumbering::Continuous;
    }
    const double dpi = 560 / options.widthMm * 25.4;
    // The dialog draws its first preview when it opens, which makes the map's coarser levels of
    // detail once; a change redraws from them.
    renderFigure(layOutFigure(options, *map, *table), *map, dpi);
    for (auto _ : state) {
        const FigureLayout layout = layOutFigure(options, *map, *table);
        benchmark::DoNotOptimize(renderFigure(layout, *map, dpi));
    }
}
BENCHMARK(BM_FigurePreview)->Arg(0)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace zelkora

// Qt's fonts need a QGuiApplication: the offscreen one.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
