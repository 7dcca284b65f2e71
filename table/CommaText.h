#pragma once

#include <QString>
#include <QStringList>

namespace zelkora {

// The comma-text rules of the table: "," delimits, '"' quotes, codes 1..32 are white space.
// Blanks separate items just as commas do, so "48.5 135.25" splits like "48.5, 135.25".
QStringList SplitCommaText(const QString& text);

// Joins with ","; an item holding a code 1..32, a comma or a '"' is quoted with inner quotes
// doubled. A list of one empty item gives "\"\"".
QString JoinCommaText(const QStringList& items);

}  // namespace zelkora
