#pragma once

#include <functional>

#include "plot/MapTally.h"
#include "shell/ReportBox.h"

namespace zelkora {

class PointTable;

// What a report says about the map of points just put into the table (tally: where they fall):
// that map was chosen for them (chosen, the table having held none), or most of them fall on
// another map than map, which its button switches to with the table kept (switchTo). Nothing
// when they lie where they are shown.
ReportBox::Advice mapAdvice(const MapTally& tally, int map, bool chosen,
                            std::function<void(int map)> switchTo);

// Whether any cell below the table's header holds text. Points put into a table that holds none
// take the map most of them fall on.
bool tableHoldsPoints(const PointTable& table);

// The text of a map switch that keeps the table, as its undo step is named.
QString keepTableStep(int map);

}  // namespace zelkora
