#pragma once

#include <QString>

namespace zelkora {

// The normaliser's number format: fixed notation with six decimals, rounded half away from
// zero on the exact decimal value of v to at most six decimals and at most nine significant
// digits. Places beyond the ninth significant digit are written as "0" ("1234.567890");
// from 10^9 up the exponent form "1.23456789E9" / "1E9" is used.
QString formatCoordinate(double v);

// The table's point cell: "lat, lon", each number as formatCoordinate writes it.
QString formatPointCell(double lat, double lon);

}  // namespace zelkora
