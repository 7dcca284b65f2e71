#pragma once

#include <QString>
#include <string_view>

namespace zelkora {

// Strict decimal conversion of one item, "." as the separator: blanks, optional sign, digits,
// optional "." and digits, optional exponent, blanks. Throws ZelkoraError
// "'<item>' is not a valid floating point value" for anything else, including a value that
// overflows a double.
double StrToFloat(const QString& item);

// The same for an item of ASCII text, as the normaliser splits it.
double StrToFloat(std::string_view item);

}  // namespace zelkora
