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
    sqlite3_stmt* rawStmt = nullptr;
    if (sqlite3_prepare_v2(db.get(), "SELECT adm0_a3, geom FROM states_provinces", -1, &rawStmt,
                           nullptr) != SQLITE_OK) {
        throw ZelkoraError(geoPackagePath.toStdString() +
                           " has no readable states_provinces: " + sqlite3_errmsg(db.get()));
    }
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> stmt(rawStmt, &sqlite3_finalize);
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        const auto* country = sqlite3_column_text(stmt.get(), 0);
        const auto* blob = static_cast<const unsigned char*>(sqlite3_column_blob(stmt.get(), 1));
        const int size = sqlite3_column_bytes(stmt.get(), 1);
        if (blob == nullptr || size <= 0) {
            continue;
        }
        Division d;
        d.country = QString::fromUtf8(reinterpret_cast<const char*>(country));
        GeoPackageGeometry g;
        try {
            g = GeoPackageGeometry::decode(blob, static_cast<std::size_t>(size));
        } catch (const ZelkoraError& e) {
            throw ZelkoraError(geoPackagePath.toStdString() + ": a division's geometry: " +
                               e.message().toStdString());
        }
        if (g.kind != GeoPackageGeometry::Kind::Polygons) {
            throw ZelkoraError(geoPackagePath.toStdString() + ": a division that is no polygon");
        }
        for (auto& polygon : g.parts) {
            for (GeoPath& ring : polygon) {
                d.rings.push_back(std::move(ring));
            }
        }
        d.west = d.south = 1e9;
        d.east = d.north = -1e9;
        for (const auto& ring : d.rings) {
            for (const GeoPoint& p : ring) {
                d.west = std::min(d.west, p.lon);
                d.east = std::max(d.east, p.lon);
                d.south = std::min(d.south, p.lat);
                d.north = std::max(d.north, p.lat);
            }
        }
        divisions_.push_back(std::move(d));
    }
    if (divisions_.empty()) {
        throw ZelkoraError(geoPackagePath.toStdString() + " holds no divisions");
    }
}

std::vector<GeoPolyline> AdminBoundaries::internalBorders(const GeoBox& box) const {
    std::vector<std::size_t> inside;
    for (std::size_t i = 0; i < divisions_.size(); ++i) {
        const Division& d = divisions_[i];
        const bool lat = overlaps(d.south, d.north, box.south, box.north);
        bool lon = false;
        for (double shift : {-360.0, 0.0, 360.0}) {
            lon = lon || overlaps(d.west + shift, d.east + shift, box.west, box.east);
        }
        if (lat && lon) {
            inside.push_back(i);
        }
    }

    // Which divisions use each edge.
    std::map<EdgeKey, std::vector<std::size_t>> users;
    for (std::size_t i : inside) {
        for (const auto& ring : divisions_[i].rings) {
            for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
                auto& u = users[edgeKey(ring[k], ring[k + 1])];
                if (std::find(u.begin(), u.end(), i) == u.end()) {
                    u.push_back(i);
                }
            }
        }
    }
    // An edge is drawn by the first of its two users, so each boundary appears once.
    auto drawnBy = [&](std::size_t owner, GeoPoint a, GeoPoint b) {
        const auto& u = users.at(edgeKey(a, b));
        return u.size() == 2 && u[0] == owner &&
               divisions_[u[0]].country == divisions_[u[1]].country;
    };

    std::vector<GeoPolyline> lines;
    for (std::size_t i : inside) {
        for (const auto& ring : divisions_[i].rings) {
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
