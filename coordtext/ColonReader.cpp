#include "coordtext/ColonReader.h"

namespace zelkora {

bool splitGroups(QStringView text, char16_t joiner, Groups& groups) {
    groups = Groups{};
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+' || text[i] == u'\u2212')) {
        ++i;
    }
    while (i < text.size()) {
        if (groups.count == 4) {
            return false;
        }
        double v = 0;
        int digits = 0;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80) {
            v = v * 10 + (text[i].unicode() - u'0');
            ++digits;
            ++i;
        }
        if (digits == 0 || digits > 3) {
            return false;
        }
        groups.value[groups.count] = v;
        groups.digits[groups.count] = digits;
        ++groups.count;
        if (i < text.size() && text[i] == joiner) {
            ++i;
        } else if (i < text.size() && text[i] == u'.' && joiner == u':') {
            // Decimals of the last group.
            ++i;
            double scale = 0.1;
            while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80) {
                groups.value[groups.count - 1] += (text[i].unicode() - u'0') * scale;
                scale /= 10;
                ++groups.decimals;
                ++i;
            }
            return i == text.size();
        } else if (i < text.size()) {
            return false;
        }
    }
    return groups.count >= 2;
}

void ColonReader::read(ReadingLine& line, Findings& found) const {
    const auto& tokens = line.tokens.tokens;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.kind != TokenKind::colon || !line.evidence.usable(line.tokens, static_cast<int>(i))) {
            continue;
        }
        Groups g;
        // Times have been set aside by the evidence.
        Coordinate c;
        c.first = c.last = static_cast<int>(i);
        if (!splitGroups(line.tokens.text.sliced(t.begin, t.end - t.begin), u':', g) ||
            g.count > 3 || g.value[1] >= 60 || (g.count == 3 && g.value[2] >= 60)) {
            c.bad = NoPointReason::badNumbers;
            found.coordinates.push_back(c);
            continue;
        }
        c.degrees = g.value[0] + g.value[1] / 60 + (g.count == 3 ? g.value[2] / 3600 : 0);
        c.negative = t.negative;
        c.tolerance = halfUnit(g.decimals, g.count == 3 ? 1.0 / 3600 : 1.0 / 60);
        c.notation = Notation::colons;
        found.coordinates.push_back(c);
    }
}

}  // namespace zelkora
