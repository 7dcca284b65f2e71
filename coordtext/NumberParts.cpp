#include "coordtext/NumberParts.h"

namespace zelkora {

bool isBlockNumber(const Token& t) {
    return t.kind == TokenKind::number && t.intDigits >= 4 &&
           (t.unit == Unit::none || (t.unit == Unit::minutes && t.intDigits <= 5));
}

namespace {

bool endsRun(const Token& t, const Evidence& evidence, int i) {
    if (evidence.claimed(i)) {
        return true;
    }
    switch (t.kind) {
        case TokenKind::number:
        case TokenKind::dotted:
        case TokenKind::colon:
            return evidence.against(i) != NotCoordinate::no || t.kind != TokenKind::number;
        case TokenKind::hemisphere:
        case TokenKind::separator:
        case TokenKind::other:
            return false;
        default:
            return true;
    }
}

}  // namespace

void findNumberParts(const TokenLine& line, const Evidence& evidence,
                     std::vector<NumberPart>& parts) {
    parts.clear();
    const auto& tokens = line.tokens;
    const int n = static_cast<int>(tokens.size());
    const auto usable = [&](int i) {
        return tokens[static_cast<std::size_t>(i)].kind == TokenKind::number &&
               evidence.usable(line, i);
    };
    int run = 0;
    for (int i = 0; i < n;) {
        const Token& t = tokens[static_cast<std::size_t>(i)];
        if (!usable(i)) {
            if (endsRun(t, evidence, i)) {
                ++run;
            }
            ++i;
            continue;
        }
        NumberPart part;
        part.first = i;
        part.run = run;
        if (isBlockNumber(t)) {
            part.block = true;
            part.last = i;
            parts.push_back(part);
            ++i;
            continue;
        }
        int j = i;
        while (j + 1 < n && usable(j + 1) &&
               !isBlockNumber(tokens[static_cast<std::size_t>(j + 1)])) {
            ++j;
        }
        part.last = j;
        for (int k = i; k <= j; ++k) {
            part.marked = part.marked || tokens[static_cast<std::size_t>(k)].unit != Unit::none;
        }
        parts.push_back(part);
        i = j + 1;
    }
}

}  // namespace zelkora
