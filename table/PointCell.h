#pragma once

#include <QString>
#include <QStringList>

namespace zelkora {

// A cell that holds a point: more than two characters that SplitCommaText splits into exactly two
// items, latitude and longitude, which the caller converts with StrToFloat. Every other cell
// (empty, a lone number, a note) is passed over by whatever reads points from the table.
bool splitPointCell(const QString& cell, QStringList& items);

}  // namespace zelkora
