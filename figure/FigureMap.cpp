#include "figure/FigureMap.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "mapimage/ParallelJobs.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

namespace {

// Lines are projected in parallel, this many to a job.
constexpr std::size_t kLinesPerJob = 256;

QRectF boundsOf(const std::vector<QPolygonF>& rings) {
    QRectF bounds;
    for (const QPolygonF& ring : rings) {
        bounds = bounds.united(ring.boundingRect());
    }
    return bounds;
}

void rethrowFirst(const std::vector<std::exception_ptr>& errors) {
    for (const std::exception_ptr& e : errors) {
        if (e) {
            std::rethrow_exception(e);
        }
    }
}

QSize pictureSize(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        throw ZelkoraError(
            QStringLiteral("Нет основы карты: файл «%1» не найден").arg(visibleText(path)));
    }
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) {
        throw ZelkoraError(QStringLiteral("Файл «%1» не читается как рисунок: %2")
                               .arg(visibleText(path), reader.errorString()));
    }
    return size;
}

}  // namespace

FigureMap::FigureMap(int map, QSize size)
    : map_(map), par_(parForMap(map)), conic_(par_, false), size_(size) {
    if (!conic_.hasCone()) {
        throw ZelkoraError(QStringLiteral("У карты %1 нет конической проекции").arg(map));
    }
}

FigureMap::FigureMap(int map, QSize size, const VectorMap& vector) : FigureMap(map, size) {
    setVector(vector);
}

std::unique_ptr<FigureMap> FigureMap::load(const QString& dataDir, int map) {
    const QString caption = kMapCaptions.value(map);
    const QSize size = pictureSize(baseImagePath(dataDir, caption, false));
    const QString vectorPath = vectorMapPath(dataDir, caption);
    if (QFileInfo(vectorPath).isFile()) {
        return std::make_unique<FigureMap>(map, size, loadVectorMap(vectorPath));
    }
    std::unique_ptr<FigureMap> figureMap(new FigureMap(map, size));
    figureMap->dataDir_ = dataDir;
    const QString hiResBase = baseImagePath(dataDir, caption, true);
    if (QFileInfo(hiResBase).isFile()) {
        const QSize hiSize = pictureSize(hiResBase);
        // geo at high resolution: twice the distances from the left and the bottom edge.
        figureMap->rasterHiRes_ = true;
        figureMap->rasterFromMap_ =
            QTransform(2, 0, 0, 2, 0, hiSize.height() - 2.0 * size.height());
    }
    return figureMap;
}

void FigureMap::setVector(const VectorMap& vector) {
    const double centralMeridian = par_.left_Bottom_y;
    const int height = size_.height();
    const auto project = [&](const std::vector<VectorLine>& source, std::vector<Line>& out) {
        // A line is cut where it has no position or where two points lie more than half a turn
        // apart once wrapped about the central meridian: it went round the back of the map.
        std::vector<std::vector<Line>> parts((source.size() + kLinesPerJob - 1) / kLinesPerJob);
        rethrowFirst(runJobs(parts.size(), [&](std::size_t job) {
            const std::size_t end = std::min(source.size(), (job + 1) * kLinesPerJob);
            for (std::size_t i = job * kLinesPerJob; i < end; ++i) {
                QPolygonF run;
                double previousLon = 0.0;
                const auto flush = [&] {
                    if (run.size() >= 2) {
                        const QRectF bounds = run.boundingRect();
                        parts[job].push_back({std::move(run), bounds, source[i].level});
                    }
                    run = QPolygonF();
                };
                run.reserve(static_cast<qsizetype>(source[i].points.size()));
                for (const GeoPoint& p : source[i].points) {
                    const double lon = wrapLongitude(p.lon, centralMeridian);
                    const QPointF pixel = conic_.toPixel(p, height);
                    if (!std::isfinite(pixel.x()) ||
                        (!run.isEmpty() && std::fabs(lon - previousLon) > 180.0)) {
                        flush();
                    }
                    if (std::isfinite(pixel.x())) {
                        run << pixel;
                    }
                    previousLon = lon;
                }
                flush();
            }
        }));
        for (std::vector<Line>& part : parts) {
            std::move(part.begin(), part.end(), std::back_inserter(out));
        }
    };
    project(vector.rivers, lines_[static_cast<std::size_t>(LineLayer::Rivers)]);
    project(vector.divisions, lines_[static_cast<std::size_t>(LineLayer::Divisions)]);
    project(vector.borders, lines_[static_cast<std::size_t>(LineLayer::Borders)]);
    project(vector.shores, lines_[static_cast<std::size_t>(LineLayer::Shores)]);

    areas_.resize(vector.areas.size());
    const std::size_t jobs = (vector.areas.size() + kLinesPerJob - 1) / kLinesPerJob;
    rethrowFirst(runJobs(jobs, [&](std::size_t job) {
        const std::size_t end = std::min(vector.areas.size(), (job + 1) * kLinesPerJob);
        for (std::size_t i = job * kLinesPerJob; i < end; ++i) {
            Area& area = areas_[i];
            area.level = vector.areas[i].level;
            for (const GeoPath& ring : vector.areas[i].rings) {
                QPolygonF projected;
                projected.reserve(static_cast<qsizetype>(ring.size()));
                for (const GeoPoint& p : ring) {
                    const QPointF pixel = conic_.toPixel(p, height);
                    if (std::isfinite(pixel.x())) {
                        projected << pixel;
                    }
                }
                if (projected.size() >= 3) {
                    area.rings.push_back(std::move(projected));
                }
            }
            area.bounds = boundsOf(area.rings);
        }
    }));
    std::erase_if(areas_, [](const Area& a) { return a.rings.empty(); });
    std::stable_sort(areas_.begin(), areas_.end(),
                     [](const Area& a, const Area& b) { return a.level < b.level; });
    hasVector_ = true;
}

const TPngImage& FigureMap::raster(const std::array<bool, kLayerCount>& layers) const {
    if (!rasterReady_ || rasterLayers_ != layers) {
        const QString caption = kMapCaptions.value(map_);
        if (!assembly_.assemble(raster_, dataDir_, caption, rasterHiRes_, layers)) {
            throw ZelkoraError(
                QStringLiteral("Нет основы карты: файл «%1» не найден")
                    .arg(visibleText(baseImagePath(dataDir_, caption, rasterHiRes_))));
        }
        rasterLayers_ = layers;
        rasterReady_ = true;
    }
    return raster_;
}

}  // namespace zelkora
