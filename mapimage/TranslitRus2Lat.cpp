#include "mapimage/TranslitRus2Lat.h"

namespace zelkora {

namespace {

// The blank closes both alphabets, so a blank is always found among the lower-case letters.
const QString kLower = QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщьыъэюя ");
const QString kUpper = QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЬЫЪЭЮЯ ");

}  // namespace

const std::array<std::array<const char*, 34>, 2> arr = {{
    {"a", "b", "v", "g", "d", "e",  "yo", "zh", "z",  "i",    "y", "k", "l", "m", "n",  "o",  "p",
     "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "",  "y", "",  "e", "yu", "ya", "_"},
    {"A", "B", "V", "G", "D", "E",  "Yo", "Zh", "Z",  "I",    "Y", "K", "L", "M", "N",  "O",  "P",
     "R", "S", "T", "U", "F", "Kh", "Ts", "Ch", "Sh", "Shch", "",  "Y", "",  "E", "Yu", "Ya", "_"},
}};

QString TranslitRus2Lat(const QString& Str) {
    QString result;
    result.reserve(Str.size() * 2);
    for (const QChar c : Str) {
        if (const qsizetype p = kLower.indexOf(c); p >= 0) {
            result += QLatin1String(arr[0][static_cast<std::size_t>(p)]);
        } else if (const qsizetype q = kUpper.indexOf(c); q >= 0) {
            result += QLatin1String(arr[1][static_cast<std::size_t>(q)]);
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace zelkora
