#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "projection/Tpar.h"
#include "projection/Tpoint.h"

namespace zelkora {

class PointTable;

// The working list of projected points: a fixed array, so adding allocates nothing.
// Entries 0..num-1 are valid; slot 1000 is never filled.
struct Tpoints {
    static constexpr std::int32_t kCapacity = 1000;
    std::int32_t num = 0;
    std::array<Tpoint, 1001> p{};
};

// Appends one point, projected at once against a raster rasterHeight pixels high. A full list
// takes nothing and says nothing.
void addPoint(Tpoints& points, std::int32_t t, double x, double y, const Tpar& par, bool hiRes,
              int rasterHeight);

// Rebuilds the list from the table: column by column, rows 1 down (row 0 is the header). A cell
// of more than two characters that splits into exactly two items is a point of its column's
// type. Throws ZelkoraError at the first item that is not a number, its message followed by a
// line that names the cell; the points before it stay.
void readPoints(Tpoints& points, const PointTable& table, const Tpar& par, bool hiRes,
                int rasterHeight);

// A table cell that holds a point by readPoints' rule.
struct PointCell {
    int col = 0;
    int row = 0;
};

// The cells that hold a point by readPoints' rule, in list order, those beyond the list's
// capacity included: entry i is where point i of a list that readPoints built came from.
std::vector<PointCell> pointCells(const PointTable& table);

// Calls visit for every cell that holds a point by readPoints' rule, in readPoints' order, with
// the cell's column and row and the two numbers (latitude, longitude); none is left out for
// capacity. Throws ZelkoraError at the first item that is not a number, after visiting the cells
// before it; its second line names the cell.
void forEachPointCell(const PointTable& table,
                      const std::function<void(int col, int row, double lat, double lon)>& visit);

// How many cells below the header hold a point by readPoints' rule, those beyond the list's
// capacity included.
int countPointCells(const PointTable& table);

}  // namespace zelkora
