#pragma once

#include <QSize>
#include <QString>
#include <initializer_list>
#include <memory>

#include "figure/FigureLayout.h"
#include "figure/FigureMap.h"
#include "figure/FigureOptions.h"
#include "table/PointTable.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

// The size of a map's normal-resolution picture in data/, so that the fixtures are projected as
// the real maps are.
QSize mapPictureSize(int map);

// Small vector data for a map, in its south: land with a lake and an island in the lake, the
// sea coast and the lake's shore, two rivers of different ranks, a border and a division.
VectorMap smallVectorMap(int map);
std::unique_ptr<FigureMap> smallFigureMap(int map);

// smallVectorMap with named areas, rectangles in degrees. The Far East: the countries RUS (lat
// 42–50, lon 132–141), CHN (42–50, 125–132), a sliver of PRK (41–42.05, 129–131) and JPN (35–40,
// 138–141); RUS's divisions "Приморский край" (42–46) and "Хабаровский край" (46–50) across RUS's
// longitudes, and CHN's "Heilongjiang" (44–50, 125–132). Vietnam: the countries VNM (8.5–23.5,
// 104–110) and LAO (14–22, 100–104); now VNM's "Lâm Đồng" (11–12.5, 106.5–109) and "Hà Nội"
// (20.5–21.5, 105–106.5) with LAO's "Attapeu" (14–15.5, 100.5–101.5); in 2008 "Lâm Đồng"
// (11.7–12.5), "Bình Thuận" (11–11.7) over the same longitudes, "Hà Nội" and "Attapeu", and a line
// of 2008 between the first two.
VectorMap namedVectorMap(int map);
std::unique_ptr<FigureMap> namedFigureMap(int map);

// Checks what names and numbers must never do: cover a marker, another name or number, a leader,
// the legend, the scale bar, the north arrow or the inset, or cross their panel's frame; and
// a leader may not cross a marker other than its own.
void expectNothingCovered(const FigureLayout& layout);

struct Cell {
    int column;
    int row;
    const char* text;
};
// A table of the default shape with the marker names in row 0, then the cells given (header
// cells included, row 0).
std::unique_ptr<PointTable> tableOf(std::initializer_list<Cell> cells);

// Options for the map drawn at 300 dpi, everything else at its default.
FigureOptions optionsFor(int map, FigureFormat format = FigureFormat::Png);

}  // namespace zelkora
