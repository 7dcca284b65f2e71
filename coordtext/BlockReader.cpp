#include "coordtext/BlockReader.h"

#include <cmath>

namespace zelkora {

void BlockReader::read(TokenLine& line, Findings& found) const {
    const auto& tokens = line.tokens;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.kind != TokenKind::number || t.ignored || t.claimed || t.intDigits < 4 ||
            t.unit != Unit::none) {
            continue;
        }
        const bool letterAfter = i + 1 < tokens.size() &&
                                 tokens[i + 1].kind == TokenKind::hemisphere &&
                                 tokens[i + 1].begin == t.end;
        if (t.decimals == 0 && !t.leadingZero && !letterAfter) {
            // A height, an easting, a catalogue number: no coordinate, and no knowing what the
            // numbers beside it are.
            found.refuse(NoPointReason::badNumbers);
            continue;
        }
        int degreeDigits = 2;
        bool seconds = false;
        switch (t.intDigits) {
            case 4:
                break;
            case 5:
                degreeDigits = 3;
                break;
            case 6:
                seconds = true;
                break;
            case 7:
                degreeDigits = 3;
                seconds = true;
                break;
            default:
                found.refuse(NoPointReason::badNumbers);
                continue;
        }
        // The digits as written: value holds them exactly up to the decimals.
        const QStringView digits =
            line.text.sliced(t.end - t.decimals - (t.decimals ? 1 : 0) - t.intDigits, t.intDigits);
        const auto number = [&](qsizetype from, qsizetype count) {
            double v = 0;
            for (qsizetype k = from; k < from + count; ++k) {
                v = v * 10 + (digits[k].unicode() - u'0');
            }
            return v;
        };
        const double fraction = t.value - std::floor(t.value);
        const double degrees = number(0, degreeDigits);
        const double minutes =
            seconds ? number(degreeDigits, 2) : number(degreeDigits, 2) + fraction;
        const double secondsValue = seconds ? number(degreeDigits + 2, 2) + fraction : 0;
        if (minutes >= 60 || secondsValue >= 60) {
            found.refuse(NoPointReason::badNumbers);
            continue;
        }
        Coordinate c;
        c.degrees = degrees + minutes / 60 + secondsValue / 3600;
        c.negative = t.negative;
        c.tolerance = halfUnit(t.decimals, seconds ? 1.0 / 3600 : 1.0 / 60);
        c.first = c.last = static_cast<int>(i);
        c.latitudePossible = degreeDigits == 2;
        found.coordinates.push_back(c);
    }
}

}  // namespace zelkora
