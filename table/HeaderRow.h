#pragma once

#include <QStringList>
#include <array>
#include <string_view>

namespace zelkora {

class PointTable;

// The marker-type names, exactly as the marker-type selector lists them, blanks included.
// Item c names marker type c and heads table column c.
inline constexpr std::array<std::u16string_view, 9> kMarkerTypeNames = {
    u"круги залитые",      u"круги полые",       u"треугольники залитые ",
    u"треугольники полые", u" квадраты залитые", u"квадраты полые",
    u"ромбы залитые",      u"ромбы полые",       u"звездочки. ",
};

// The names as a list, for the selector's items.
QStringList markerTypeNames();

// Writes the names into row 0: through JoinCommaText and back through SplitCommaText, each
// item into the first empty header cell; names beyond the column count are dropped.
void fillHeaderRow(PointTable& table);

// Column col as a message names it: its header text in «», without the blanks around it, or "№"
// and its number counted from 1 when the header is empty.
QString columnCaption(const PointTable& table, int col);

// The cell (col, row) as the second line of an error names it: its column and its row, counted
// as the table shows them, the header being row 0.
QString cellLocation(const PointTable& table, int col, int row);

}  // namespace zelkora
