#pragma once

#include <QString>
#include <array>

namespace zelkora {

// The transliteration table: row 0 replaces the characters of the lower-case alphabet string,
// row 1 those of the upper-case one, position for position.
extern const std::array<std::array<const char*, 34>, 2> arr;

// Cyrillic letters and the blank become Latin text by arr; every other character passes.
QString TranslitRus2Lat(const QString& Str);

}  // namespace zelkora
