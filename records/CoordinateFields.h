#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <string_view>

#include "projection/GeoPoint.h"

namespace zelkora {

// A record's point, or why it has none.
struct FieldPoint {
    std::optional<GeoPoint> point;
    QString reason;  // when there is no point
};

// Latitudes within 90° either way; longitudes within 360° either way, as the normaliser takes
// them (the Far East map takes 190.35 as it takes -169.65).
inline constexpr double kMaxLatitude = 90.0;
inline constexpr double kMaxLongitude = 360.0;

// A decimal number as spreadsheets and GPS files write one: blanks around, an optional sign
// ("+", "-" or U+2212), digits with one "." or "," as the decimal separator. Nothing else.
std::optional<double> readDecimal(QStringView text);
// The same for ASCII bytes; a non-ASCII byte makes it no number.
std::optional<double> readDecimal(std::string_view text);

// The point of a latitude and a longitude column: two decimal numbers, else the two texts
// through the coordinate normaliser, latitude first. The reason names what is wrong: a number out
// of range, or text that gives no point.
FieldPoint pointFromPair(QStringView latText, QStringView lonText);

// The point of one text in any notation, through the coordinate normaliser.
FieldPoint pointFromText(QStringView text);

// The point of two numbers already read, checked for range.
FieldPoint pointFromNumbers(double lat, double lon);

}  // namespace zelkora
