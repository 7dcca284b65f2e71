#include "coordtext/NumberParts.h"

namespace zelkora {

bool isBlockNumber(const Token& t) {
    return t.kind == TokenKind::number && t.intDigits >= 4 && t.unit == Unit::none;
}

namespace {

bool usable(const Token& t) {
    return t.kind == TokenKind::number && !t.ignored && !t.claimed;
}

bool endsRun(const Token& t) {
    if (t.claimed) {
        return true;
    }
    switch (t.kind) {
        case TokenKind::number:
        case TokenKind::dotted:
        case TokenKind::colon:
            return t.ignored || t.kind != TokenKind::number;
        case TokenKind::hemisphere:
        case TokenKind::separator:
        case TokenKind::other:
            return false;
        default:
            return true;
    }
}

}  // namespace

const std::vector<NumberPart>& numberParts(const TokenLine& line) {
    std::vector<NumberPart>& parts = line.parts;
    if (line.partsFound) {
        return parts;
    }
    line.partsFound = true;
    parts.clear();
    const auto& tokens = line.tokens;
    const int n = static_cast<int>(tokens.size());
    int run = 0;
    for (int i = 0; i < n;) {
        const Token& t = tokens[static_cast<std::size_t>(i)];
        if (!usable(t)) {
            if (endsRun(t)) {
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
        while (j + 1 < n && usable(tokens[static_cast<std::size_t>(j + 1)]) &&
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
    return parts;
}

}  // namespace zelkora
