#include "records/CoordinateFields.h"

#include <charconv>
#include <cmath>

#include "common/VisibleText.h"
#include "coordtext/Normaliser.h"
#include "records/OccurrenceSet.h"

namespace zelkora {

namespace {

// The numbers of a coordinate: a sign, at most this many digits and one separator.
constexpr std::size_t kMaxNumberChars = 40;

// Reads sign, digits and one separator from chars already known to be ASCII.
template <typename Next>
std::optional<double> readDecimalChars(std::size_t size, Next charAt) {
    std::size_t i = 0;
    while (i < size && (charAt(i) == ' ' || charAt(i) == '\t')) {
        ++i;
    }
    std::size_t end = size;
    while (end > i && (charAt(end - 1) == ' ' || charAt(end - 1) == '\t')) {
        --end;
    }
    char buffer[kMaxNumberChars + 1];
    std::size_t n = 0;
    bool negative = false;
    if (i < end && (charAt(i) == '+' || charAt(i) == '-' || charAt(i) == 0x2212)) {
        negative = charAt(i) != '+';
        ++i;
    }
    bool separator = false;
    bool digits = false;
    for (; i < end; ++i) {
        const char32_t c = charAt(i);
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if ((c == '.' || c == ',') && !separator) {
            separator = true;
        } else {
            return std::nullopt;
        }
        if (n == kMaxNumberChars) {
            return std::nullopt;
        }
        buffer[n++] = c == ',' ? '.' : static_cast<char>(c);
    }
    if (!digits) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(buffer, buffer + n, value);
    if (ec != std::errc() || ptr != buffer + n || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

QString numberText(double v) {
    return QString::number(v, 'g', 10);
}

FieldPoint noPoint(QString reason) {
    return {std::nullopt, std::move(reason)};
}

}  // namespace

std::optional<double> readDecimal(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() > 0x7F && c.unicode() != 0x2212) {
            return std::nullopt;
        }
    }
    return readDecimalChars(static_cast<std::size_t>(text.size()), [&](std::size_t i) {
        return static_cast<char32_t>(text[static_cast<qsizetype>(i)].unicode());
    });
}

std::optional<double> readDecimal(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) > 0x7F) {
            return std::nullopt;
        }
    }
    return readDecimalChars(text.size(),
                            [&](std::size_t i) { return static_cast<char32_t>(text[i]); });
}

FieldPoint pointFromNumbers(double lat, double lon) {
    if (!(std::fabs(lat) <= kMaxLatitude)) {
        return noPoint(QStringLiteral("широта %1 вне пределов ±90°").arg(numberText(lat)));
    }
    if (!(std::fabs(lon) <= kMaxLongitude)) {
        return noPoint(QStringLiteral("долгота %1 вне пределов ±360°").arg(numberText(lon)));
    }
    return {GeoPoint{.lat = lat, .lon = lon}, {}};
}

FieldPoint pointFromText(QStringView text) {
    const LineReading reading = readPointLine(text);
    if (!reading.point) {
        return noPoint(noPointReasonText(reading.reason));
    }
    return pointFromNumbers(reading.point->lat, reading.point->lon);
}

FieldPoint pointFromPair(QStringView latText, QStringView lonText) {
    const std::optional<double> lat = readDecimal(latText);
    const std::optional<double> lon = readDecimal(lonText);
    if (lat && lon) {
        return pointFromNumbers(*lat, *lon);
    }
    if (latText.trimmed().isEmpty() || lonText.trimmed().isEmpty()) {
        return noPoint(latText.trimmed().isEmpty() ? QStringLiteral("нет широты")
                                                   : QStringLiteral("нет долготы"));
    }
    // Joined by a semicolon, which the normaliser takes for a separator and never for part of a
    // number, so decimal commas on both sides stay what they are.
    FieldPoint found =
        pointFromText(latText.toString() + QStringLiteral("; ") + lonText.toString());
    if (!found.point) {
        found.reason = QStringLiteral("широта «%1» и долгота «%2» не читаются: %3")
                           .arg(visibleText(latText.left(kMaxRecordText)),
                                visibleText(lonText.left(kMaxRecordText)), found.reason);
    }
    return found;
}

}  // namespace zelkora
