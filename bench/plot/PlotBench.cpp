#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <random>

#include "mapimage/DataPaths.h"
#include "mapimage/MapAssembly.h"
#include "mapimage/TPngImage.h"
#include "plot/SaveMapImage.h"
#include "plot/zelkora.h"
#include "projection/geo.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

constexpr int kMapW = 2000;
constexpr int kMapH = 3500;

const Tpar& farEast() {
    return PAR_map[kMapFarEast];
}

// A light map with some structure, so the encoders do not see one flat colour.
TPngImage makeMap() {
    TPngImage map = TPngImage::CreateBlank(kMapW, kMapH);
    for (int y = 0; y < kMapH; ++y) {
        std::uint8_t* p = map.row(y);
        for (int x = 0; x < kMapW; ++x, p += 4) {
            const bool line = x % 97 == 0 || y % 89 == 0;
            p[0] = line ? 40 : static_cast<std::uint8_t>(200 + (x / 50) % 50);
            p[1] = line ? 40 : static_cast<std::uint8_t>(210 + (y / 70) % 40);
            p[2] = line ? 120 : 230;
            p[3] = (x + y) % 400 < 3 ? 128 : 255;
        }
    }
    return map;
}

// A 96 x 96 disc icon with a soft edge, one colour per type.
TPngImage makeIcon(int type) {
    TPngImage icon = TPngImage::CreateBlank(96, 96);
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x) {
            const double r = std::hypot(x - 47.5, y - 47.5);
            std::uint8_t* p = icon.row(y) + 4 * x;
            p[0] = static_cast<std::uint8_t>(25 * type);
            p[1] = 20;
            p[2] = static_cast<std::uint8_t>(220 - 20 * type);
            p[3] = static_cast<std::uint8_t>(std::clamp((46.0 - r) * 128.0, 0.0, 255.0));
        }
    }
    return icon;
}

// Everything a marker pass needs: 1000 points spread over the map in a 9 x 113 table.
struct PassSetup {
    PassSetup() : map(makeMap()) {
        QDir().mkpath(QFileInfo(iconPath(dataDir(), 0)).path());
        for (int type = 0; type < 9; ++type) {
            makeIcon(type).SaveToFile(iconPath(dataDir(), type));
        }
        table.setShape(9, 113);
        std::mt19937 gen(7);
        std::uniform_real_distribution<double> lat(38, 66), lon(125, 175);
        int added = 0;
        while (added < 1000) {
            Tpoint p;
            p.x = lat(gen);
            p.y = lon(gen);
            const Tpoint at = geo(p, farEast(), false, kMapH);
            if (at.xImg < 0 || at.xImg >= kMapW || at.yImg < 0 || at.yImg >= kMapH) {
                continue;
            }
            table.setCell(added % 9, 1 + added / 9,
                          QStringLiteral("%1, %2").arg(p.x, 0, 'f', 6).arg(p.y, 0, 'f', 6));
            ++added;
        }
    }

    QString dataDir() const { return dir.path() + QLatin1Char('/'); }

    QTemporaryDir dir;
    TPngImage map;
    PointTable table;
    Tpoints points;
};

PassSetup& passSetup() {
    static PassSetup setup;
    return setup;
}

void BM_MarkerPass1000At128(benchmark::State& state) {
    PassSetup& s = passSetup();
    for (auto _ : state) {
        TPngImage shown =
            zelkora(s.points, s.table, farEast(), false, s.map, 128, false, s.dataDir(), {});
        benchmark::DoNotOptimize(shown.bits());
    }
    state.counters["points"] = s.points.num;
}
BENCHMARK(BM_MarkerPass1000At128)->Unit(benchmark::kMillisecond);

void BM_Export(benchmark::State& state) {
    PassSetup& s = passSetup();
    static const TPngImage shown =
        zelkora(s.points, s.table, farEast(), false, s.map, 128, false, s.dataDir(), {});
    const auto format = static_cast<ExportFormat>(state.range(0));
    const QString file = s.dir.path() + QStringLiteral("/export.out");
    for (auto _ : state) {
        SaveMapImage(shown, file, format);
    }
    state.SetLabel(format == ExportFormat::Jpeg  ? "jpeg"
                   : format == ExportFormat::Png ? "png"
                                                 : "bmp");
    state.counters["bytes"] = static_cast<double>(QFileInfo(file).size());
}
BENCHMARK(BM_Export)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

// The PNG export of the real high-resolution Far East map with all its layers, file included.
void BM_PngExport(benchmark::State& state) {
    TPngImage map;
    assembleMap(map, QStringLiteral(ZELKORA_DATA_DIR), QStringLiteral("Дальний Восток"), true,
                {true, true, true, true, true});
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/export.png");
    for (auto _ : state) {
        SaveMapImage(map, file, ExportFormat::Png);
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(file).size());
}
BENCHMARK(BM_PngExport)->UseRealTime()->Unit(benchmark::kMillisecond);

// The default 9 x 70 table with every point cell filled in the normaliser's format.
void BM_ReadPointsFullTable(benchmark::State& state) {
    PointTable table;
    for (int col = 0; col < table.ColCount(); ++col) {
        for (int row = 1; row < table.RowCount(); ++row) {
            table.setCell(col, row,
                          QStringLiteral("%1, %2")
                              .arg(42 + row * 0.2, 0, 'f', 6)
                              .arg(130 + col * 3.3, 0, 'f', 6));
        }
    }
    Tpoints points;
    for (auto _ : state) {
        readPoints(points, table, PictureBounds(farEast(), false, kMapW, kMapH));
        benchmark::DoNotOptimize(points.num);
    }
    state.counters["points"] = points.num;
}
BENCHMARK(BM_ReadPointsFullTable)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace zelkora
