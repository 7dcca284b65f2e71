#pragma once

#include <QString>

// Strict decimal conversion of one item, "." as the separator: blanks, optional sign, digits,
// optional "." and digits, optional exponent, blanks. Throws ZelkoraError
// "'<item>' is not a valid floating point value" for anything else, including a value that
// overflows a double.
double StrToFloat(const QString& item);
