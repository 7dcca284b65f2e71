// Reading and writing the maps' vector data: loadVectorMap on the committed GeoPackages of
// data/maps, which a figure pays for once per map, and saveVectorMap of the same maps, which the
// generator pays for. The counters give the file's size and the points read.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "mapimage/DataPaths.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

namespace {

const QString kRealData = QStringLiteral(ZELKORA_DATA_DIR);

std::size_t pointCount(const VectorMap& map) {
    std::size_t n = 0;
    for (const VectorArea& a : map.areas) {
        for (const GeoPath& ring : a.rings) {
            n += ring.size();
        }
    }
    for (const auto* layer :
         {&map.shores, &map.rivers, &map.divisions, &map.borders, &map.divisions2008}) {
        for (const VectorLine& line : *layer) {
            n += line.points.size();
        }
    }
    const auto polygonPoints = [&](const GeoPolygons& polygons) {
        for (const auto& rings : polygons) {
            for (const GeoPath& ring : rings) {
                n += ring.size();
            }
        }
    };
    for (const auto* areas : {&map.divisionAreas, &map.divisionAreas2008}) {
        for (const DivisionArea& a : *areas) {
            polygonPoints(a.polygons);
        }
    }
    for (const CountryArea& c : map.countries) {
        polygonPoints(c.polygons);
    }
    return n;
}

void BM_LoadVectorMap(benchmark::State& state) {
    const QString path = vectorMapPath(kRealData, kMapCaptions[static_cast<int>(state.range(0))]);
    std::size_t points = 0;
    for (auto _ : state) {
        const VectorMap map = loadVectorMap(path);
        points = pointCount(map);
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
    state.counters["MB"] = static_cast<double>(QFileInfo(path).size()) / (1 << 20);
    state.SetLabel(kMapCaptions[static_cast<int>(state.range(0))].toStdString());
}
BENCHMARK(BM_LoadVectorMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SaveVectorMap(benchmark::State& state) {
    const VectorMap map =
        loadVectorMap(vectorMapPath(kRealData, kMapCaptions[static_cast<int>(state.range(0))]));
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("vector.gpkg"));
    for (auto _ : state) {
        saveVectorMap(map, out);
    }
    state.SetLabel(kMapCaptions[static_cast<int>(state.range(0))].toStdString());
}
BENCHMARK(BM_SaveVectorMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace zelkora
