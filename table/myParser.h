#pragma once

#include <QString>

// The coordinate normaliser: one pasted line to the table's point cell text
// "lat, lon" (six decimals each), or the empty text when the line holds neither two numbers
// (decimal degrees) nor six (degrees, minutes, seconds of latitude, then of longitude).
// Throws ZelkoraError "'<item>' is not a valid floating point value" for a malformed number.
QString myParser(const QString& s);

// The text myParser splits into items: every character but digits, ".", "|" and ASCII white
// space blanked, decimal commas turned into points, white space trimmed and shrunk.
QString normalizeCoordinateText(const QString& s);
