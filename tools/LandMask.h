#pragma once

#include <cstdint>
#include <vector>

#include "projection/GeoPoint.h"

namespace zelkora {

// A land/water grid on a regular longitude-latitude lattice, cell-registered, rows from north
// to south: 1 is land, 0 is sea or lake.
class LandMask {
  public:
    LandMask(double west, double north, double dx, double dy, int cols, int rows,
             std::vector<std::uint8_t> cells);

    // Bilinear land fraction in [0, 1] at a position; water outside the grid.
    double land(GeoPoint point) const;

  private:
    double west_;
    double north_;
    double dx_;
    double dy_;
    int cols_;
    int rows_;
    std::vector<std::uint8_t> cells_;

    double cell(int col, int row) const;
};

}  // namespace zelkora
