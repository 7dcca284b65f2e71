#include "coordtext/BareNumberReader.h"

#include "coordtext/NumberParts.h"
#include "coordtext/Sexagesimal.h"

namespace zelkora {

namespace {

// Whole degrees and whole minutes right before the word that names them: "45 40 severne
// geografske širine" is one latitude, not a pair.
bool dmBeforeItsName(const ReadingLine& line, const NumberPart& part) {
    const Token& degrees = line.token(part.first);
    const Token& minutes = line.token(part.last);
    if (degrees.decimals > 0 || minutes.intDigits != 2 || minutes.value >= 60 ||
        minutes.decimals > 0 || part.last + 1 >= line.tokenCount()) {
        return false;
    }
    const Token& name = line.token(part.last + 1);
    return name.kind == TokenKind::hemisphere && name.sign != 0 && name.letter == 0 &&
           name.end - name.begin > 2;
}

void addBad(Findings& found, int first, int last) {
    Coordinate c;
    c.first = first;
    c.last = last;
    c.bad = NoPointReason::badNumbers;
    found.coordinates.push_back(c);
}

// size numbers from token first on as one coordinate.
void addCoordinate(const TokenLine& line, int first, int size, Findings& found) {
    const auto& tokens = line.tokens;
    const auto at = [&](int k) { return &tokens[static_cast<std::size_t>(first + k)]; };
    const auto c = sexagesimal(*at(0), size > 1 ? at(1) : nullptr, size > 2 ? at(2) : nullptr,
                               first, first + size - 1);
    if (!c) {
        addBad(found, first, first + size - 1);
        return;
    }
    found.coordinates.push_back(*c);
}

}  // namespace

void BareNumberReader::read(ReadingLine& line, Findings& found) const {
    const std::vector<NumberPart>& parts = line.parts;
    for (std::size_t p = 0; p < parts.size();) {
        // The parts of one run.
        std::size_t end = p;
        while (end < parts.size() && parts[end].run == parts[p].run) {
            ++end;
        }
        int bare = 0;
        int others = 0;
        int size = 0;
        bool alike = true;
        for (std::size_t k = p; k < end; ++k) {
            if (parts[k].marked || parts[k].block) {
                ++others;
                continue;
            }
            alike = alike && (size == 0 || parts[k].size() == size);
            size = parts[k].size();
            ++bare;
        }
        const NumberPart* single = nullptr;
        for (std::size_t k = p; k < end && bare == 1; ++k) {
            if (!parts[k].marked && !parts[k].block) {
                single = &parts[k];
            }
        }
        const auto decimal = [&](int token) {
            return line.tokens.tokens[static_cast<std::size_t>(token)].decimals > 0;
        };
        // A decimal pair beside marked coordinates: their repeat ("…E / 51,981111 20,317222").
        const bool pairBesideMarks = single && others > 0 && single->size() == 2 &&
                                     decimal(single->first) && decimal(single->last);
        if (single && (others == 0 || pairBesideMarks)) {
            const NumberPart& part = *single;
            const int n = part.size();
            if (n == 2 && dmBeforeItsName(line, part)) {
                addCoordinate(line.tokens, part.first, 2, found);
            } else if (n == 1 || n == 2 || n == 4 || n == 6) {
                const int half = n == 1 ? 1 : n / 2;
                for (int k = 0; k < n; k += half) {
                    addCoordinate(line.tokens, part.first + k, half, found);
                }
            } else {
                addBad(found, part.first, part.last);
            }
        } else if (bare > 0) {
            if (!alike || size > 3) {
                addBad(found, parts[p].first, parts[end - 1].last);
            } else {
                for (std::size_t k = p; k < end; ++k) {
                    if (!parts[k].marked && !parts[k].block) {
                        addCoordinate(line.tokens, parts[k].first, size, found);
                    }
                }
            }
        }
        p = end;
    }
}

}  // namespace zelkora
