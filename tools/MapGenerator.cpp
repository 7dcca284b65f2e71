#include "tools/MapGenerator.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <array>
#include <cmath>

#include "mapimage/DataPaths.h"
#include "projection/Tpar.h"
#include "tools/LayerPainter.h"
#include "tools/PngFile.h"
#include "tools/Polylines.h"
#include "tools/ShoreAssembly.h"
#include "vectormap/MapPalette.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

namespace {

// Samples per pixel edge when the base is worked out: 3 x 3 gives a smooth coast.
constexpr int kSamples = 3;

QTextStream& log() {
    static QTextStream err(stderr);
    return err;
}

std::vector<VectorLine> vectorLines(const std::vector<GeoPolyline>& lines) {
    std::vector<VectorLine> out;
    out.reserve(lines.size());
    for (const GeoPolyline& line : lines) {
        out.push_back({line.points, line.level});
    }
    return out;
}

std::size_t pointCount(const std::vector<VectorLine>& lines) {
    std::size_t n = 0;
    for (const VectorLine& line : lines) {
        n += line.points.size();
    }
    return n;
}

std::vector<GeoPolyline> withLevels(const std::vector<GeoPolyline>& lines, int lo, int hi) {
    std::vector<GeoPolyline> out;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(out),
                 [&](const GeoPolyline& l) { return l.level >= lo && l.level <= hi; });
    return out;
}

}  // namespace

MapGenerator::MapGenerator(MapSheet sheet, const QString& sourcesDir)
    : sheet_(std::move(sheet)), sourcesDir_(sourcesDir) {}

void MapGenerator::write(const QString& dataDir) const {
    const Tpar& par = PAR_map.at(static_cast<std::size_t>(sheet_.mapIndex));
    const MapFrame normal(par, false, sheet_.size);
    const MapFrame hiRes(par, true, sheet_.size * 2);
    const GeoBox box = normal.bounds(0.5);
    log() << kMapCaptions[sheet_.mapIndex] << ": " << box.west << ".." << box.east << " E, "
          << box.south << ".." << box.north << " N\n";
    log().flush();

    const GmtSource gmt(sourcesDir_ + QStringLiteral("/work"), sheet_.minAreaKm2);
    const AdminBoundaries admin(sourcesDir_ + QStringLiteral("/world_map.gpkg"));
    const DivisionLayers divisions(admin, normal, box, GmtSource::regionOf(box));
    const LandMask mask = gmt.landMask(box, sheet_.maskDxDeg, sheet_.maskDyDeg);
    const auto grid = graticule(box, sheet_.gridStepDeg);
    // The pictures show the divisions in force now.
    const SourceLines lines{.rivers = gmt.rivers(box),
                            .divisions = divisions.current().boundaries,
                            .borders = gmt.borders(box),
                            .shores = gmt.shores(box)};

    writeResolution(normal, dataDir, mask, grid, lines);
    writeResolution(hiRes, dataDir, mask, grid, lines);
    // Figures are drawn at any size: their data keeps GSHHG's full detail, the same divisions.
    const GmtSource full(sourcesDir_ + QStringLiteral("/work"), kVectorMinAreaKm2,
                         kVectorResolution);
    writeVectorMap(normal, box, dataDir,
                   {.rivers = full.rivers(box),
                    .divisions = lines.divisions,
                    .borders = full.borders(box),
                    .shores = full.shores(box)},
                   divisions);
}

void MapGenerator::writeVectorMap(const MapFrame& frame, const GeoBox& box, const QString& dataDir,
                                  const SourceLines& lines, const DivisionLayers& divisions) const {
    QElapsedTimer timer;
    timer.start();
    const GeoBox region = GmtSource::regionOf(box);
    const ShoreAssembly shoreSet(wrappedForMap(lines.shores, frame), region);
    VectorMap map;
    map.areas = shoreSet.areas();
    map.shores = vectorLines(shoreSet.lines());
    // gmt gives the rivers of every bin the region touches, and the divisions come whole.
    const auto inRegion = [&](const std::vector<GeoPolyline>& source) {
        return vectorLines(joinedEndToEnd(clippedToBox(wrappedForMap(source, frame), region)));
    };
    map.rivers = inRegion(lines.rivers);
    map.divisions = inRegion(lines.divisions);
    map.borders = inRegion(lines.borders);
    map.divisions2008 = inRegion(divisions.before2025().boundaries);
    map.divisionAreas = divisions.current().areas;
    map.divisionAreas2008 = divisions.before2025().areas;
    map.countries = divisions.countries();
    const QString path = vectorMapPath(dataDir, kMapCaptions[sheet_.mapIndex]);
    saveVectorMap(map, path);

    std::size_t areaPoints = 0;
    for (const VectorArea& area : map.areas) {
        for (const GeoPath& ring : area.rings) {
            areaPoints += ring.size();
        }
    }
    log() << path << ": " << region.west << ".." << region.east << " E, " << region.south << ".."
          << region.north << " N; areas " << map.areas.size() << " (" << areaPoints
          << " points), shores " << map.shores.size() << " (" << pointCount(map.shores)
          << "), rivers " << map.rivers.size() << " (" << pointCount(map.rivers) << "), divisions "
          << map.divisions.size() << " (" << pointCount(map.divisions) << "), borders "
          << map.borders.size() << " (" << pointCount(map.borders) << "), divisions of 2008 "
          << map.divisions2008.size() << " (" << pointCount(map.divisions2008)
          << "), named divisions " << map.divisionAreas.size() << " and "
          << map.divisionAreas2008.size() << " of 2008, countries " << map.countries.size()
          << " in " << timer.elapsed() / 1000.0 << " s\n";
    log().flush();
}

void MapGenerator::writeResolution(const MapFrame& frame, const QString& dataDir,
                                   const LandMask& mask, const std::vector<GeoPolyline>& graticule,
                                   const SourceLines& lines) const {
    QElapsedTimer timer;
    timer.start();
    const QString& map = kMapCaptions[sheet_.mapIndex];
    PngFile::save(blank(frame, mask), baseImagePath(dataDir, map, frame.hiRes()));

    // The layers in the order of kLayerCaptions.
    std::array<QImage, kLayerCount> layers;

    LayerPainter grid(frame);
    grid.draw(graticule, 0.7);
    layers[0] = grid.image(kMapGraticule);

    // GSHHG river levels: 0 banks of river-lakes, 1 permanent major, 2 additional major,
    // 3 additional, 4 minor rivers.
    LayerPainter river(frame);
    river.draw(withLevels(lines.rivers, 4, 4), 0.5);
    river.draw(withLevels(lines.rivers, 3, 3), 0.7);
    river.draw(withLevels(lines.rivers, 0, 0), 0.7);
    river.draw(withLevels(lines.rivers, 2, 2), 0.9);
    river.draw(withLevels(lines.rivers, 1, 1), 1.1);
    layers[1] = river.image(kMapRiver);

    LayerPainter division(frame);
    division.draw(lines.divisions, 1.0, Qt::CustomDashLine);
    layers[2] = division.image(kMapDivision);

    LayerPainter border(frame);
    border.draw(lines.borders, 1.5);
    layers[3] = border.image(kMapBorder);

    // Shore levels: 1 sea coast, 2 lake shores, 3 islands in lakes, 4 ponds on those islands.
    LayerPainter shore(frame);
    shore.draw(withLevels(lines.shores, 2, 4), 0.7);
    shore.draw(withLevels(lines.shores, 1, 1), 0.9);
    layers[4] = shore.image(kMapShore);

    for (int i = 0; i < kLayerCount; ++i) {
        PngFile::save(layers[static_cast<std::size_t>(i)],
                      layerImagePath(dataDir, map, frame.hiRes(), kLayerCaptions[i]));
    }

    log() << mapFolderPath(dataDir, map, frame.hiRes()) << ": " << frame.size().width() << " x "
          << frame.size().height() << " in " << timer.elapsed() / 1000.0 << " s\n";
    log().flush();
}

QImage MapGenerator::blank(const MapFrame& frame, const LandMask& mask) {
    QImage img(frame.size(), QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            double land = 0.0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    land += mask.land(
                        frame.toGeo({x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples}));
                }
            }
            land /= kSamples * kSamples;
            auto mix = [&](int sea, int ground) {
                return static_cast<int>(std::lround(sea + (ground - sea) * land));
            };
            row[x] =
                qRgba(mix(kMapSea.red(), kMapLand.red()), mix(kMapSea.green(), kMapLand.green()),
                      mix(kMapSea.blue(), kMapLand.blue()), 255);
        }
    }
    return img;
}

std::vector<GeoPolyline> MapGenerator::graticule(const GeoBox& box, double step) {
    // Dense enough that the arcs stay smooth at high resolution.
    const double along = step / 50.0;
    std::vector<GeoPolyline> lines;
    const double south = std::floor(box.south / step) * step;
    const double north = std::ceil(box.north / step) * step;
    const double west = std::floor(box.west / step) * step;
    const double east = std::ceil(box.east / step) * step;
    for (double lat = south; lat <= north + 1e-9; lat += step) {
        GeoPolyline parallel;
        for (double lon = west; lon <= east + 1e-9; lon += along) {
            parallel.points.push_back({.lat = lat, .lon = lon});
        }
        lines.push_back(std::move(parallel));
    }
    for (double lon = west; lon <= east + 1e-9; lon += step) {
        GeoPolyline meridian;
        for (double lat = south; lat <= north + 1e-9; lat += along) {
            meridian.points.push_back({.lat = lat, .lon = lon});
        }
        lines.push_back(std::move(meridian));
    }
    return lines;
}

}  // namespace zelkora
