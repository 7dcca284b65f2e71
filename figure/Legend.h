#pragma once

#include <QString>
#include <vector>

#include "figure/FigureLayout.h"
#include "figure/FigureText.h"
#include "figure/FrameCorners.h"

namespace zelkora {

// What a figure calls a column. A header typed by the user is a species' name and stays as
// typed; an empty header, or one still holding the marker type's default name, names no
// species: the figure then names the marker type in its own language ("filled circles", "круги
// залитые"), upright.
struct ColumnName {
    QString text;
    bool typed = false;
};
ColumnName columnName(const PointTable& table, int column, FigureLanguage language);

// The marker type's name in a language, without the blanks and the stray period of the
// selector's list.
QString markerTypeName(int column, FigureLanguage language);

// The legend of the layout's first panel: one entry per column with a drawn point, in column
// order, placed in its corner. Panels carry their names in their titles instead, and have none.
void layOutLegend(FigureLayout& layout, const PointTable& table, const std::vector<int>& columns,
                  FrameCorners& corners);

}  // namespace zelkora
