#include "tools/LandMask.h"

#include <cmath>
#include <string>

#include "common/ZelkoraError.h"

namespace zelkora {

LandMask::LandMask(double west, double north, double dx, double dy, int cols, int rows,
                   std::vector<std::uint8_t> cells)
    : west_(west),
      north_(north),
      dx_(dx),
      dy_(dy),
      cols_(cols),
      rows_(rows),
      cells_(std::move(cells)) {
    if (cols <= 0 || rows <= 0 ||
        cells_.size() != static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows)) {
        throw ZelkoraError("land mask holds " + std::to_string(cells_.size()) +
                           " cells, expected " + std::to_string(cols) + " x " +
                           std::to_string(rows));
    }
}

double LandMask::cell(int col, int row) const {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) {
        return 0.0;
    }
    return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) +
                  static_cast<std::size_t>(col)] != 0
               ? 1.0
               : 0.0;
}

double LandMask::land(GeoPoint point) const {
    // Cell centres sit half a step inside the grid's edges.
    const double u = (point.lon - west_) / dx_ - 0.5;
    const double v = (north_ - point.lat) / dy_ - 0.5;
    const double fu = std::floor(u);
    const double fv = std::floor(v);
    const int c = static_cast<int>(fu);
    const int r = static_cast<int>(fv);
    const double su = u - fu;
    const double sv = v - fv;
    const double top = cell(c, r) * (1 - su) + cell(c + 1, r) * su;
    const double bottom = cell(c, r + 1) * (1 - su) + cell(c + 1, r + 1) * su;
    return top * (1 - sv) + bottom * sv;
}

}  // namespace zelkora
