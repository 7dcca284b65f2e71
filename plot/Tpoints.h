#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include <QString>

#include "plot/PictureBounds.h"
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
// type. Only points that fall on the picture are listed: a point off the map takes no place of
// the list's capacity from one on it. Throws ZelkoraError at the first item that is not a number,
// its message followed by a line that names the cell; the points before it stay.
void readPoints(Tpoints& points, const PointTable& table, const PictureBounds& picture);

// A table cell that holds a point by readPoints' rule.
struct PointCell {
    int col = 0;
    int row = 0;
};

// The cells whose points readPoints lists on the picture, in list order, those beyond the list's
// capacity included: entry i is where point i of a list that readPoints built came from.
std::vector<PointCell> pointCells(const PointTable& table, const PictureBounds& picture);

// What the list's capacity left off the picture, by column ("На карте только первые 1000 точек
// из …"); empty when every point on the picture is listed.
QString pointCapText(const PointTable& table, const std::vector<PointCell>& cells);

// Calls visit for every cell that holds a point by readPoints' rule, in readPoints' order, with
// the cell's column and row and the two numbers (latitude, longitude); none is left out for
// capacity. Throws ZelkoraError at the first item that is not a number, after visiting the cells
// before it; its second line names the cell.
void forEachPointCell(const PointTable& table,
                      const std::function<void(int col, int row, double lat, double lon)>& visit);

}  // namespace zelkora
