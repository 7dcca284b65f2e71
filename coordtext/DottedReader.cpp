#include "coordtext/DottedReader.h"

#include <cmath>

#include "coordtext/ColonReader.h"

namespace zelkora {

void DottedReader::read(ReadingLine& line, Findings& found) const {
    const auto& tokens = line.tokens.tokens;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.kind != TokenKind::dotted ||
            !line.evidence.usable(line.tokens, static_cast<int>(i))) {
            continue;
        }
        const bool letterBeside =
            (i + 1 < tokens.size() && tokens[i + 1].kind == TokenKind::hemisphere) ||
            (i > 0 && tokens[i - 1].kind == TokenKind::hemisphere);
        if (!letterBeside) {
            // A version, a date with a short year: no knowing it from degrees, minutes and
            // seconds.
            continue;
        }
        Groups g;
        if (!splitGroups(line.tokens.text.sliced(t.begin, t.end - t.begin), u'.', g) ||
            g.count < 3 || g.digits[1] != 2 || g.digits[2] != 2 ||
            (g.count == 4 && g.digits[3] < 1)) {
            continue;
        }
        double seconds = g.value[2];
        int decimals = 0;
        if (g.count == 4) {
            decimals = g.digits[3];
            seconds += g.value[3] / std::pow(10.0, decimals);
        }
        if (g.value[1] >= 60 || seconds >= 60) {
            continue;
        }
        Coordinate c;
        c.degrees = g.value[0] + g.value[1] / 60 + seconds / 3600;
        c.negative = t.negative;
        c.tolerance = halfUnit(decimals, 1.0 / 3600);
        c.first = c.last = static_cast<int>(i);
        c.support = Support::named;
        c.notation = Notation::points;
        found.coordinates.push_back(c);
    }
}

}  // namespace zelkora
