#pragma once

#include <QString>
#include <QStringView>

namespace zelkora {

// The coordinate normaliser: one pasted line to the table's point cell text "lat, lon" (six
// decimals each), or the empty text when the line gives no point. Two numbers are decimal
// degrees (or degrees, minutes and seconds written as one block, as in NMEA), four are degrees
// and decimal minutes, six are degrees, minutes and seconds, latitude first. A minus sign on the
// degrees, or a hemisphere letter or word for south or west, makes a coordinate negative.
// Minutes and seconds must be unsigned and below 60, latitudes within 90° and longitudes within
// 360° either way. Anything else gives no point rather than a wrong one, and so does a line
// whose south or west the rules cannot tell (Spanish "O", Vietnamese "N" beside "Đ", a region
// such as "W Kamchatka", a longitude named first).
// Throws ZelkoraError "'<item>' is not a valid floating point value" for a malformed number.
QString myParser(QStringView s);

// The text myParser splits into items: white space trimmed and shrunk, decimal commas turned
// into points, minus signs kept as "-", every other character but digits, ".", "|" and ASCII
// white space blanked.
QString normalizeCoordinateText(QStringView s);

}  // namespace zelkora
