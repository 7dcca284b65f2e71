#include "coordtext/BlockReader.h"

#include <cmath>

namespace zelkora {

void BlockReader::read(ReadingLine& line, Findings& found) const {
    const auto& tokens = line.tokens.tokens;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        const int index = static_cast<int>(i);
        // Minutes marked after the run: N5554.981' of a geocache.
        const bool minutes = t.unit == Unit::minutes && t.intDigits <= 5;
        if (t.kind != TokenKind::number || !line.evidence.usable(line.tokens, index) ||
            t.intDigits < 4 || (t.unit != Unit::none && !minutes)) {
            continue;
        }
        // A letter written against the digits is the run's own notation: N4007, 211318N.
        // Only N, S, E and W: V1840 is a collector's number.
        const auto compassLetter = [&](std::size_t k) {
            return tokens[k].kind == TokenKind::hemisphere &&
                   (QStringView(u"NSEW").contains(QChar(tokens[k].letter)) ||
                    (tokens[k].letter == 0 && tokens[k].sign != 0 &&
                     tokens[k].end - tokens[k].begin == 1));
        };
        const bool letterAfter =
            i + 1 < tokens.size() && compassLetter(i + 1) && tokens[i + 1].begin == t.end;
        const bool letterBefore = i > 0 && compassLetter(i - 1) && tokens[i - 1].end == t.begin;
        if (t.decimals == 0 && !t.leadingZero && !letterAfter && !letterBefore) {
            // A height, an easting, a catalogue number: no coordinate.
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
                if (letterAfter || letterBefore) {
                    Coordinate bad;
                    bad.first = bad.last = index;
                    bad.bad = NoPointReason::badNumbers;
                    found.coordinates.push_back(bad);
                }
                continue;
        }
        if (minutes && seconds) {
            continue;
        }
        // The digits as written: value holds them exactly up to the decimals.
        const qsizetype signLength = t.negative || t.plus || t.plusMinus ? 1 : 0;
        const QStringView digits = line.tokens.text.sliced(t.begin + signLength, t.intDigits);
        const auto number = [&](qsizetype from, qsizetype count) {
            double v = 0;
            for (qsizetype k = from; k < from + count; ++k) {
                const char16_t c = digits[k].unicode();
                v = v * 10 + (c >= u'\uFF10' ? c - u'\uFF10' : c - u'0');
            }
            return v;
        };
        const double fraction = t.value - std::floor(t.value);
        const double degrees = number(0, degreeDigits);
        const double minutesValue =
            seconds ? number(degreeDigits, 2) : number(degreeDigits, 2) + fraction;
        const double secondsValue = seconds ? number(degreeDigits + 2, 2) + fraction : 0;
        Coordinate c;
        c.first = c.last = index;
        if (minutesValue >= 60 || secondsValue >= 60) {
            c.bad = NoPointReason::badNumbers;
            found.coordinates.push_back(c);
            continue;
        }
        c.degrees = degrees + minutesValue / 60 + secondsValue / 3600;
        c.negative = t.negative;
        c.tolerance = halfUnit(t.decimals, seconds ? 1.0 / 3600 : 1.0 / 60);
        c.latitudePossible = degreeDigits == 2;
        c.support = letterAfter || letterBefore ? Support::named
                    : minutes                   ? Support::marks
                                                : Support::none;
        c.notation = Notation::runTogether;
        found.coordinates.push_back(c);
    }
}

}  // namespace zelkora
