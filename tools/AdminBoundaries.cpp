#include "tools/AdminBoundaries.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>

#include "common/ZelkoraError.h"
#include "vectormap/GeoPackageGeometry.h"

namespace zelkora {

namespace {

// Shared vertices are bit-identical in the source; a grid of 1e-7 degrees only absorbs noise.
using VertexKey = std::pair<std::int64_t, std::int64_t>;
using EdgeKey = std::pair<VertexKey, VertexKey>;

VertexKey vertexKey(GeoPoint p) {
    return {std::llround(p.lat * 1e7), std::llround(p.lon * 1e7)};
}

EdgeKey edgeKey(GeoPoint a, GeoPoint b) {
    const VertexKey ka = vertexKey(a);
    const VertexKey kb = vertexKey(b);
    return ka < kb ? EdgeKey{ka, kb} : EdgeKey{kb, ka};
}

bool overlaps(double aLo, double aHi, double bLo, double bHi) {
    return aLo <= bHi && bLo <= aHi;
}

// The polygons of one table, with the two name columns given.
std::vector<AdminBoundaries::Area> readAreas(sqlite3* db, const QString& path, const char* table,
                                             const char* countryColumn, const char* nameColumn) {
    const std::string sql = std::string("SELECT ") + countryColumn + ", " + nameColumn +
                            ", geom FROM " + table + " ORDER BY fid";
    sqlite3_stmt* rawStmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &rawStmt, nullptr) != SQLITE_OK) {
        throw ZelkoraError(path.toStdString() + " has no readable " + table + ": " +
                           sqlite3_errmsg(db));
    }
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> stmt(rawStmt, &sqlite3_finalize);
    std::vector<AdminBoundaries::Area> areas;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        const auto text = [&](int column) {
            const auto* t = sqlite3_column_text(stmt.get(), column);
            return t ? QString::fromUtf8(reinterpret_cast<const char*>(t)) : QString();
        };
        const auto* blob = static_cast<const unsigned char*>(sqlite3_column_blob(stmt.get(), 2));
        const int size = sqlite3_column_bytes(stmt.get(), 2);
        if (blob == nullptr || size <= 0) {
            continue;
        }
        AdminBoundaries::Area a;
        a.country = text(0);
        a.name = text(1).normalized(QString::NormalizationForm_C);
        GeoPackageGeometry g;
        try {
            g = GeoPackageGeometry::decode(blob, static_cast<std::size_t>(size));
        } catch (const ZelkoraError& e) {
            throw ZelkoraError(path.toStdString() + ": a geometry of " + table + ": " +
                               e.message().toStdString());
        }
        if (g.kind != GeoPackageGeometry::Kind::Polygons) {
            throw ZelkoraError(path.toStdString() + ": an area of " + table + " is no polygon");
        }
        a.polygons = std::move(g.parts);
        a.bounds = {.west = 1e9, .east = -1e9, .south = 1e9, .north = -1e9};
        for (const auto& rings : a.polygons) {
            for (const auto& ring : rings) {
                for (const GeoPoint& p : ring) {
                    a.bounds.west = std::min(a.bounds.west, p.lon);
                    a.bounds.east = std::max(a.bounds.east, p.lon);
                    a.bounds.south = std::min(a.bounds.south, p.lat);
                    a.bounds.north = std::max(a.bounds.north, p.lat);
                }
            }
        }
        areas.push_back(std::move(a));
    }
    if (areas.empty()) {
        throw ZelkoraError(path.toStdString() + ": " + table + " is empty");
    }
    return areas;
}

}  // namespace

AdminBoundaries::AdminBoundaries(const QString& geoPackagePath) {
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(geoPackagePath.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        const std::string why = raw ? sqlite3_errmsg(raw) : "out of memory";
        sqlite3_close(raw);
        throw ZelkoraError("cannot open " + geoPackagePath.toStdString() + ": " + why);
    }
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, &sqlite3_close);
    divisions_ = readAreas(db.get(), geoPackagePath, "states_provinces", "adm0_a3", "name");
    countries_ = readAreas(db.get(), geoPackagePath, "countries", "ISO_A3", "NAME");
}

std::vector<std::size_t> AdminBoundaries::within(const std::vector<Area>& areas,
                                                 const GeoBox& box) {
    std::vector<std::size_t> inside;
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const GeoBox& b = areas[i].bounds;
        const bool lat = overlaps(b.south, b.north, box.south, box.north);
        bool lon = false;
        for (double shift : {-360.0, 0.0, 360.0}) {
            lon = lon || overlaps(b.west + shift, b.east + shift, box.west, box.east);
        }
        if (lat && lon) {
            inside.push_back(i);
        }
    }
    return inside;
}

std::vector<GeoPolyline> AdminBoundaries::internalBorders(const GeoBox& box,
                                                          const std::vector<int>& group) const {
    const std::vector<std::size_t> inside = within(divisions_, box);
    const auto groupOf = [&](std::size_t i) {
        return group.empty() ? static_cast<int>(i) : group[i];
    };
    // Rings of each division, as the edges are walked.
    const auto ringsOf = [&](std::size_t i) {
        std::vector<const GeoPath*> rings;
        for (const auto& polygon : divisions_[i].polygons) {
            for (const GeoPath& ring : polygon) {
                rings.push_back(&ring);
            }
        }
        return rings;
    };

    // Which divisions use each edge.
    std::map<EdgeKey, std::vector<std::size_t>> users;
    for (std::size_t i : inside) {
        for (const GeoPath* r : ringsOf(i)) {
            const GeoPath& ring = *r;
            for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
                auto& u = users[edgeKey(ring[k], ring[k + 1])];
                if (std::find(u.begin(), u.end(), i) == u.end()) {
                    u.push_back(i);
                }
            }
        }
    }
    // An edge is drawn by the first of its two users, so each boundary appears once, and only
    // between divisions of one country in different groups.
    auto drawnBy = [&](std::size_t owner, GeoPoint a, GeoPoint b) {
        const auto& u = users.at(edgeKey(a, b));
        return u.size() == 2 && u[0] == owner &&
               divisions_[u[0]].country == divisions_[u[1]].country &&
               groupOf(u[0]) != groupOf(u[1]);
    };

    std::vector<GeoPolyline> lines;
    for (std::size_t i : inside) {
        for (const GeoPath* r : ringsOf(i)) {
            const GeoPath& ring = *r;
            const std::size_t edges = ring.size() < 2 ? 0 : ring.size() - 1;
            // Start after an edge that is not drawn, so a run is not cut at the ring's seam.
            std::size_t start = 0;
            for (std::size_t k = 0; k < edges; ++k) {
                if (!drawnBy(i, ring[k], ring[k + 1])) {
                    start = k + 1;
                    break;
                }
            }
            GeoPolyline run;
            for (std::size_t step = 0; step < edges; ++step) {
                const std::size_t k = (start + step) % edges;
                if (drawnBy(i, ring[k], ring[k + 1])) {
                    if (run.points.empty()) {
                        run.points.push_back(ring[k]);
                    }
                    run.points.push_back(ring[k + 1]);
                } else if (!run.points.empty()) {
                    lines.push_back(std::move(run));
                    run = {};
                }
            }
            if (!run.points.empty()) {
                lines.push_back(std::move(run));
            }
        }
    }
    return lines;
}

}  // namespace zelkora
