#pragma once

#include <QByteArray>
#include <QString>

namespace zelkora {

struct FigureLayout;

// The key of a figure's numbered points, for its caption: CSV in UTF-8 with a byte order mark
// (spreadsheets open it as it is), CR LF line ends, a header row "number,name,latitude,longitude",
// then one row per number in order: the number, its column's name as the legend names it, and
// the point's latitude and longitude in decimal degrees, longitudes within ±180. Empty when the
// figure has no numbers.
QByteArray pointKeyCsv(const FigureLayout& layout);

// Writes the key through a temporary file (common/SavedFile); throws ZelkoraError when it cannot.
void writePointKey(const FigureLayout& layout, const QString& fileName);

}  // namespace zelkora
