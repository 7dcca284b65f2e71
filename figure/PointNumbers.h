#pragma once

#include "figure/FigureLayout.h"

namespace zelkora {

class PointTable;

// The numbers of the drawn points, in table order within each column (the table's rows from
// the top), from 1 in every column or running on across the columns as the options ask, each
// with its column's name for the key. Each number stands beside its marker, in the first free
// place of eight round it (right, upper right, lower right, left, upper left, lower left, above,
// below); where all are taken, further off with a leader line to the marker, and where those are
// taken too it is not drawn, and a warning names it. A number covers no marker, no other number
// or leader, and none of the legend, the scale bar, the north arrow and the inset, and stays
// inside its frame.
void layOutPointNumbers(FigureLayout& layout, const PointTable& table);

}  // namespace zelkora
