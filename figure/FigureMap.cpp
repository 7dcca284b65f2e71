#include "figure/FigureMap.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "figure/PathClip.h"
#include "mapimage/ParallelJobs.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

// Geometry in degrees: x the longitude as the map runs it, y the latitude.
struct FigureMap::Detail {
    struct Stretch {
        qsizetype begin = 0;
        qsizetype end = 0;  // one past the last point
        QRectF bounds;
    };
    struct GeoLine {
        QPolygonF points;
        QRectF bounds;
        std::vector<Stretch> stretches;
        int level = 0;
    };
    struct GeoArea {
        std::vector<QPolygonF> rings;
        QRectF bounds;
        int level = 1;
    };
    std::vector<GeoArea> areas;
    // The layers of Projected, then the divisions of 2008.
    std::array<std::vector<GeoLine>, kLineLayers + 1> lines;
};

namespace {

// Lines and areas are projected in parallel, this many to a job.
constexpr std::size_t kItemsPerJob = 256;
// A line is cut into stretches of this many points, each with its bounds, so that a small box
// projects only the stretches it shows.
constexpr qsizetype kStretchPoints = 256;
// The levels of detail: the tolerance of each on the ground. Level 0 is the data itself.
constexpr std::array<double, 5> kLevelToleranceKm = {0.0, 0.04, 0.25, 1.2, 5.0};
constexpr double kKmPerDegree = 111.195;
// A parallel of a clip box is kept as an arc by a point at least this often along it, in
// parts of the box's width: a chord of it, once projected, would cut into what is shown.
constexpr int kArcSteps = 256;
// Points along each side of the picture where its range is looked for.
constexpr int kSamplesPerSide = 64;
// Where Detail keeps the divisions of 2008.
constexpr std::size_t kDivisions2008 = FigureMap::kLineLayers;

// Whether two rectangles share a point; unlike QRectF's, true for a rectangle without width or
// height (a stretch of a meridian).
bool meets(const QRectF& a, const QRectF& b) {
    return a.left() <= b.right() && a.right() >= b.left() && a.top() <= b.bottom() &&
           a.bottom() >= b.top();
}

bool inside(const QRectF& inner, const QRectF& outer) {
    return inner.left() >= outer.left() && inner.right() <= outer.right() &&
           inner.top() >= outer.top() && inner.bottom() <= outer.bottom();
}

QRectF clipRect(const DegreeBox& box) {
    return QRectF(QPointF(box.west, box.south), QPointF(box.east, box.north));
}

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

// Runs job(first, end) over items in blocks, on the cores.
template <typename Fn>
void inBlocks(std::size_t count, Fn job) {
    const std::size_t blocks = (count + kItemsPerJob - 1) / kItemsPerJob;
    rethrowFirst(runJobs(blocks, [&](std::size_t b) {
        job(b * kItemsPerJob, std::min(count, (b + 1) * kItemsPerJob));
    }));
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

QPolygonF geoPolygon(const GeoPath& path, const FigureMap& map) {
    QPolygonF out(static_cast<qsizetype>(path.size()));
    for (std::size_t i = 0; i < path.size(); ++i) {
        out[static_cast<qsizetype>(i)] = QPointF(map.mapLongitude(path[i].lon), path[i].lat);
    }
    return out;
}

FigureMap::NamedArea namedArea(const GeoPolygons& polygons, const FigureMap& map) {
    FigureMap::NamedArea area;
    for (const std::vector<GeoPath>& polygon : polygons) {
        std::vector<QPolygonF> rings;
        for (const GeoPath& ring : polygon) {
            rings.push_back(geoPolygon(ring, map));
        }
        area.bounds = area.bounds.united(boundsOf(rings));
        area.polygons.push_back(std::move(rings));
    }
    return area;
}

FigureMap::Detail::GeoLine lineOf(QPolygonF points, int level) {
    FigureMap::Detail::GeoLine line;
    line.bounds = points.boundingRect();
    line.level = level;
    for (qsizetype begin = 0; begin + 1 < points.size(); begin += kStretchPoints) {
        // Stretches share their end points, so that joined again they leave no gap.
        const qsizetype end = std::min(points.size(), begin + kStretchPoints + 1);
        double left = INFINITY, right = -INFINITY, top = INFINITY, bottom = -INFINITY;
        for (qsizetype i = begin; i < end; ++i) {
            left = std::min(left, points[i].x());
            right = std::max(right, points[i].x());
            top = std::min(top, points[i].y());
            bottom = std::max(bottom, points[i].y());
        }
        line.stretches.push_back({begin, end, QRectF(QPointF(left, top), QPointF(right, bottom))});
    }
    line.points = std::move(points);
    return line;
}

// Whether a rectangle in degrees is smaller than a tolerance on the ground both ways.
bool smallerThan(const QRectF& bounds, double toleranceKm) {
    const double cosLat = std::cos(bounds.center().y() * M_PI / 180.0);
    return bounds.height() * kKmPerDegree < toleranceKm &&
           bounds.width() * kKmPerDegree * cosLat < toleranceKm;
}

// Adds points along the parts of a ring cut to clip that run along its south or north side, so
// that the arc of the parallel stays an arc once projected.
QPolygonF withArcs(const QPolygonF& ring, const QRectF& clip) {
    const double step = clip.width() / kArcSteps;
    const double eps = 1e-9 * std::max(1.0, std::fabs(clip.top()) + std::fabs(clip.bottom()));
    QPolygonF out;
    out.reserve(ring.size());
    // The ring comes open from clipRing: its last edge runs back to the first point.
    for (qsizetype i = 0; i < ring.size(); ++i) {
        out << ring[i];
        const QPointF a = ring[i];
        const QPointF b = ring[(i + 1) % ring.size()];
        const bool alongParallel =
            (std::fabs(a.y() - clip.top()) < eps && std::fabs(b.y() - clip.top()) < eps) ||
            (std::fabs(a.y() - clip.bottom()) < eps && std::fabs(b.y() - clip.bottom()) < eps);
        const double length = std::fabs(b.x() - a.x());
        if (alongParallel && length > step) {
            const int parts = static_cast<int>(std::ceil(length / step));
            for (int k = 1; k < parts; ++k) {
                out << a + (b - a) * (static_cast<double>(k) / parts);
            }
        }
    }
    return out;
}

QPolygonF projected(const QPolygonF& geo, const FigureProjection& projection) {
    QPolygonF out;
    out.reserve(geo.size());
    for (const QPointF& p : geo) {
        const QPointF plane = projection.toPlane({.lat = p.y(), .lon = p.x()});
        if (std::isfinite(plane.x()) && std::isfinite(plane.y())) {
            out << plane;
        }
    }
    return out;
}

}  // namespace

FigureMap::FigureMap(int map, QSize size)
    : map_(map), projection_(FigureProjection::ofMap(map, size.height())), size_(size) {
    // The picture's range, longitudes continuous about the map's central meridian.
    pictureBox_ = {90.0, 1e9, -90.0, -1e9};
    const QPointF corners[4] = {QPointF(0, 0), QPointF(size.width(), 0),
                                QPointF(size.width(), size.height()), QPointF(0, size.height())};
    for (int side = 0; side < 4; ++side) {
        const QPointF a = corners[side];
        const QPointF b = corners[(side + 1) % 4];
        for (int i = 0; i < kSamplesPerSide; ++i) {
            const GeoPoint p =
                projection_.toGeo(a + (b - a) * (static_cast<double>(i) / kSamplesPerSide));
            pictureBox_.south = std::min(pictureBox_.south, p.lat);
            pictureBox_.north = std::max(pictureBox_.north, p.lat);
            pictureBox_.west = std::min(pictureBox_.west, p.lon);
            pictureBox_.east = std::max(pictureBox_.east, p.lon);
        }
    }
}

FigureMap::FigureMap(int map, QSize size, const VectorMap& vector) : FigureMap(map, size) {
    auto full = std::make_unique<Detail>();
    full->areas.resize(vector.areas.size());
    inBlocks(vector.areas.size(), [&](std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i) {
            Detail::GeoArea& area = full->areas[i];
            area.level = vector.areas[i].level;
            for (const GeoPath& ring : vector.areas[i].rings) {
                area.rings.push_back(geoPolygon(ring, *this));
            }
            area.bounds = boundsOf(area.rings);
        }
    });
    std::stable_sort(full->areas.begin(), full->areas.end(),
                     [](const auto& a, const auto& b) { return a.level < b.level; });
    const std::array<const std::vector<VectorLine>*, kLineLayers + 1> sources = {
        &vector.rivers, &vector.divisions, &vector.borders, &vector.shores, &vector.divisions2008};
    for (std::size_t layer = 0; layer < sources.size(); ++layer) {
        const std::vector<VectorLine>& source = *sources[layer];
        std::vector<Detail::GeoLine>& out = full->lines[layer];
        out.resize(source.size());
        inBlocks(source.size(), [&](std::size_t first, std::size_t end) {
            for (std::size_t i = first; i < end; ++i) {
                out[i] = lineOf(geoPolygon(source[i].points, *this), source[i].level);
            }
        });
    }
    details_.resize(kLevelToleranceKm.size());
    details_[0] = std::move(full);
    hasVector_ = true;
    hasDivisions2008_ = !vector.divisions2008.empty();

    for (const DivisionArea& d : vector.divisionAreas) {
        divisions_.push_back(namedArea(d.polygons, *this));
        divisions_.back().name = d.name;
        divisions_.back().country = d.country;
    }
    for (const DivisionArea& d : vector.divisionAreas2008) {
        divisions2008_.push_back(namedArea(d.polygons, *this));
        divisions2008_.back().name = d.name;
        divisions2008_.back().country = d.country;
    }
    for (const CountryArea& c : vector.countries) {
        countries_.push_back(namedArea(c.polygons, *this));
        countries_.back().name = c.nameEn;
        countries_.back().nameRu = c.nameRu;
        countries_.back().country = c.iso;
    }
}

const std::vector<FigureMap::NamedArea>& FigureMap::divisionAreas(FigureDivisions divisions) const {
    return divisions == FigureDivisions::Of2008 ? divisions2008_ : divisions_;
}

FigureMap::~FigureMap() = default;

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

double FigureMap::mapLongitude(double lon) const {
    return wrapLongitude(lon, projection_.par().left_Bottom_y);
}

std::size_t FigureMap::levelCount() {
    return kLevelToleranceKm.size();
}

double FigureMap::levelToleranceKm(std::size_t level) {
    return kLevelToleranceKm.at(level);
}

const FigureMap::Detail& FigureMap::detail(std::size_t level) const {
    const std::lock_guard lock(detailMutex_);
    if (details_[level]) {
        return *details_[level];
    }
    // Each level is made from the one finer than it, which is made first.
    std::size_t from = level;
    while (!details_[from - 1]) {
        --from;
    }
    for (std::size_t make = from; make <= level; ++make) {
        const Detail& finer = *details_[make - 1];
        const double toleranceKm = kLevelToleranceKm[make];
        const double toleranceDeg = toleranceKm / kKmPerDegree;
        auto coarse = std::make_unique<Detail>();
        coarse->areas.resize(finer.areas.size());
        inBlocks(finer.areas.size(), [&](std::size_t first, std::size_t end) {
            for (std::size_t i = first; i < end; ++i) {
                const Detail::GeoArea& area = finer.areas[i];
                Detail::GeoArea& out = coarse->areas[i];
                out.level = area.level;
                if (smallerThan(area.bounds, toleranceKm)) {
                    continue;
                }
                for (const QPolygonF& ring : area.rings) {
                    const QRectF bounds = ring.boundingRect();
                    if (smallerThan(bounds, toleranceKm)) {
                        continue;
                    }
                    QPolygonF simple = simplified(ring, toleranceDeg,
                                                  std::cos(bounds.center().y() * M_PI / 180.0));
                    out.rings.push_back(simple.size() >= 4 ? std::move(simple) : ring);
                }
                out.bounds = boundsOf(out.rings);
            }
        });
        std::erase_if(coarse->areas, [](const auto& a) { return a.rings.empty(); });
        for (std::size_t layer = 0; layer < finer.lines.size(); ++layer) {
            const std::vector<Detail::GeoLine>& source = finer.lines[layer];
            std::vector<Detail::GeoLine>& out = coarse->lines[layer];
            out.resize(source.size());
            inBlocks(source.size(), [&](std::size_t first, std::size_t end) {
                for (std::size_t i = first; i < end; ++i) {
                    if (smallerThan(source[i].bounds, toleranceKm)) {
                        continue;
                    }
                    out[i] =
                        lineOf(simplified(source[i].points, toleranceDeg,
                                          std::cos(source[i].bounds.center().y() * M_PI / 180.0)),
                               source[i].level);
                }
            });
            std::erase_if(out, [](const auto& l) { return l.points.size() < 2; });
        }
        details_[make] = std::move(coarse);
    }
    return *details_[level];
}

FigureMap::Projected FigureMap::project(const FigureProjection& projection,
                                        const DegreeBox& clipBox, double toleranceKm,
                                        FigureDivisions divisions) const {
    Projected out;
    if (!hasVector_) {
        return out;
    }
    std::size_t level = 0;
    while (level + 1 < kLevelToleranceKm.size() && kLevelToleranceKm[level + 1] <= toleranceKm) {
        ++level;
    }
    const Detail& d = detail(level);
    const QRectF clip = clipRect(clipBox);

    std::vector<Area> areas(d.areas.size());
    inBlocks(d.areas.size(), [&](std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i) {
            const Detail::GeoArea& area = d.areas[i];
            if (!meets(area.bounds, clip)) {
                continue;
            }
            Area& a = areas[i];
            a.level = area.level;
            for (const QPolygonF& ring : area.rings) {
                const QRectF bounds = ring.boundingRect();
                if (!meets(bounds, clip)) {
                    continue;
                }
                QPolygonF plane = projected(
                    inside(bounds, clip) ? ring : withArcs(clipRing(ring, clip), clip), projection);
                if (plane.size() >= 3) {
                    a.rings.push_back(std::move(plane));
                }
            }
            a.bounds = boundsOf(a.rings);
        }
    });
    std::erase_if(areas, [](const Area& a) { return a.rings.empty(); });
    out.areas = std::move(areas);

    for (std::size_t layer = 0; layer < kLineLayers; ++layer) {
        const bool of2008 = layer == static_cast<std::size_t>(LineLayer::Divisions) &&
                            divisions == FigureDivisions::Of2008;
        const std::vector<Detail::GeoLine>& source = d.lines[of2008 ? kDivisions2008 : layer];
        std::vector<std::vector<Line>> parts(source.size());
        inBlocks(source.size(), [&](std::size_t first, std::size_t end) {
            std::vector<QPolygonF> pieces;
            for (std::size_t i = first; i < end; ++i) {
                const Detail::GeoLine& line = source[i];
                if (!meets(line.bounds, clip)) {
                    continue;
                }
                // Runs of stretches that meet the clip, joined, then cut to it.
                const auto flush = [&](qsizetype begin, qsizetype endPoint) {
                    if (endPoint - begin < 2) {
                        return;
                    }
                    const QPolygonF run = line.points.mid(begin, endPoint - begin);
                    pieces.clear();
                    if (inside(run.boundingRect(), clip)) {
                        pieces.push_back(run);
                    } else {
                        clipPolyline(run, clip, pieces);
                    }
                    for (const QPolygonF& piece : pieces) {
                        QPolygonF plane = projected(piece, projection);
                        if (plane.size() >= 2) {
                            const QRectF bounds = plane.boundingRect();
                            parts[i].push_back({std::move(plane), bounds, line.level});
                        }
                    }
                };
                qsizetype runBegin = -1;
                qsizetype runEnd = -1;
                for (const Detail::Stretch& s : line.stretches) {
                    if (meets(s.bounds, clip)) {
                        if (runBegin < 0) {
                            runBegin = s.begin;
                        }
                        runEnd = s.end;
                    } else if (runBegin >= 0) {
                        flush(runBegin, runEnd);
                        runBegin = -1;
                    }
                }
                if (runBegin >= 0) {
                    flush(runBegin, runEnd);
                }
            }
        });
        for (std::vector<Line>& part : parts) {
            std::move(part.begin(), part.end(), std::back_inserter(out.lines[layer]));
        }
    }
    return out;
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
