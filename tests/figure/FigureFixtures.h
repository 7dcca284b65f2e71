#pragma once

#include <QSize>
#include <QString>
#include <initializer_list>
#include <memory>

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
