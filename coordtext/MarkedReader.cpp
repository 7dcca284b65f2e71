#include "coordtext/MarkedReader.h"

#include <array>

#include "coordtext/NumberParts.h"
#include "coordtext/Sexagesimal.h"

namespace zelkora {

namespace {

// Up to three fields of one coordinate, by the token index of each; -1 where not written.
struct Chain {
    std::array<int, 3> fields{-1, -1, -1};
    int count = 0;

    int lastUnit() const { return count - 1; }  // 0 degrees, 1 minutes, 2 seconds
};

}  // namespace

namespace {

void addBad(Findings& found, int first, int last) {
    Coordinate c;
    c.first = first;
    c.last = last;
    c.bad = NoPointReason::badNumbers;
    found.coordinates.push_back(c);
}

}  // namespace

void MarkedReader::read(ReadingLine& line, Findings& found) const {
    const auto& tokens = line.tokens.tokens;
    for (const NumberPart& part : line.parts) {
        if (!part.marked) {
            continue;
        }
        Chain chain;
        const auto close = [&] {
            if (chain.count == 0) {
                return;
            }
            const auto token = [&](int field) {
                return chain.fields[static_cast<std::size_t>(field)] < 0
                           ? nullptr
                           : &tokens[static_cast<std::size_t>(
                                 chain.fields[static_cast<std::size_t>(field)])];
            };
            const auto c = sexagesimal(*token(0), token(1), token(2), chain.fields[0],
                                       chain.fields[static_cast<std::size_t>(chain.count - 1)]);
            if (c) {
                found.coordinates.push_back(*c);
                const Token& degrees = *token(0);
                found.coordinates.back().support =
                    chain.count > 1 || degrees.decimals > 0 ? Support::marks : Support::degrees;
            } else {
                addBad(found, chain.fields[0],
                       chain.fields[static_cast<std::size_t>(chain.count - 1)]);
            }
            chain = Chain{};
        };
        for (int i = part.first; i <= part.last; ++i) {
            const Unit unit = tokens[static_cast<std::size_t>(i)].unit;
            const bool nextIsMinutes =
                i < part.last && tokens[static_cast<std::size_t>(i + 1)].unit == Unit::minutes;
            // A degree sign written for the minute sign between degrees and seconds:
            // "20°48 °02″" (seconds need minutes before them).
            const Token& t = tokens[static_cast<std::size_t>(i)];
            const bool minutesMarkedAsDegrees =
                unit == Unit::degrees && chain.count == 1 && i < part.last &&
                tokens[static_cast<std::size_t>(i + 1)].unit == Unit::seconds && t.decimals == 0 &&
                t.value < 60 && t.intDigits <= 2;
            // A mark no minutes or seconds can carry, on a decimal at the start: a stray quote
            // on decimal degrees ("104.6869”E").
            const bool strayMark = (unit == Unit::minutes || unit == Unit::seconds) &&
                                   chain.count == 0 && t.decimals > 0 && t.value >= 60;
            if (strayMark) {
                close();
                chain.fields[0] = i;
                chain.count = 1;
                close();
            } else if (minutesMarkedAsDegrees) {
                chain.fields[1] = i;
                chain.count = 2;
            } else if (unit == Unit::degrees ||
                       (unit == Unit::none && chain.count == 0 && nextIsMinutes) ||
                       (unit == Unit::none && chain.count == 3 && nextIsMinutes)) {
                close();
                chain.fields[0] = i;
                chain.count = 1;
            } else if ((unit == Unit::minutes || unit == Unit::none) && chain.lastUnit() == 0) {
                chain.fields[1] = i;
                chain.count = 2;
            } else if ((unit == Unit::seconds || unit == Unit::none) && chain.lastUnit() == 1) {
                chain.fields[2] = i;
                chain.count = 3;
            } else {
                // Minutes or seconds with no degrees before them, or a number the marks leave
                // no place for: the whole part reads as none.
                addBad(found, chain.count > 0 ? chain.fields[0] : part.first, part.last);
                chain = Chain{};
                break;
            }
        }
        close();
    }
}

}  // namespace zelkora
