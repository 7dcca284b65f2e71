#pragma once

#include <QString>
#include <QStringView>

namespace zelkora {

// The coordinate normaliser: one pasted line to the table's point cell text "lat, lon" (six
// decimals each), or the empty text when the line names no one point. The reading itself is
// coordtext's readPointLine: it finds the point inside a sentence, in any notation it knows and
// in the order the line's letters name, and gives none rather than a wrong point.
QString myParser(QStringView s);

}  // namespace zelkora
