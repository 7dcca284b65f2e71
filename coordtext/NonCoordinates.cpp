#include "coordtext/NonCoordinates.h"

#include "coordtext/Words.h"

namespace zelkora {

namespace {

WordKind kindOf(const Token& t) {
    return static_cast<WordKind>(t.word);
}

bool isWordOf(const Token& t, WordKind kind) {
    return (t.kind == TokenKind::word || t.kind == TokenKind::rangeWord) && kindOf(t) == kind;
}

class Marker {
  public:
    explicit Marker(TokenLine& line) : line_(line), tokens_(line.tokens) {}

    void run() {
        const int n = static_cast<int>(tokens_.size());
        for (int i = 0; i < n; ++i) {
            Token& t = tokens_[static_cast<std::size_t>(i)];
            if (!t.isNumber() || t.ignored) {
                continue;
            }
            t.ignored = isQuantity(i) || isLabelled(i) || isDate(i) || isYear(i) ||
                        isDottedDate(t) || isTime(i) || isSlashedPair(i) || isInCode(i) ||
                        isListNumber(i) || isMagneticVariation(i);
        }
        // Ranges, dates joined by dashes and slashes, and the minutes of ignored degrees take
        // the mark from their neighbours until nothing changes.
        for (bool changed = true; changed;) {
            changed = false;
            for (int i = 0; i + 1 < n; ++i) {
                changed = spread(i) || changed;
            }
        }
        // A hemisphere letter right after a quantity belongs to it: "5 km N of …".
        for (int i = 1; i < n; ++i) {
            Token& t = tokens_[static_cast<std::size_t>(i)];
            const Token& before = tokens_[static_cast<std::size_t>(i - 1)];
            if (t.kind == TokenKind::hemisphere && before.isNumber() && before.ignored) {
                t.ignored = true;
            }
        }
    }

  private:
    const Token* tokenAt(int i) const {
        return i >= 0 && i < static_cast<int>(tokens_.size())
                   ? &tokens_[static_cast<std::size_t>(i)]
                   : nullptr;
    }

    QStringView between(const Token& a, const Token& b) const {
        return line_.text.sliced(a.end, b.begin - a.end);
    }

    // Nothing but blanks and the given characters between a and b.
    bool onlyBetween(const Token& a, const Token& b, QStringView allowed) const {
        for (const QChar c : between(a, b)) {
            if (!c.isSpace() && !allowed.contains(c)) {
                return false;
            }
        }
        return true;
    }

    // The next token that is not a point.
    int nextIndex(int i) const {
        int k = i + 1;
        while (tokenAt(k) && isPoint(*tokenAt(k))) {
            ++k;
        }
        return k;
    }

    int previousIndex(int i) const {
        int k = i - 1;
        while (tokenAt(k) && isPoint(*tokenAt(k))) {
            --k;
        }
        return k;
    }

    bool isPoint(const Token& t) const {
        return t.kind == TokenKind::other && t.end - t.begin == 1 && line_.text[t.begin] == u'.';
    }

    bool isQuantity(int i) const {
        const Token& t = tokens_[static_cast<std::size_t>(i)];
        if (t.temperature) {
            return true;
        }
        const Token* next = tokenAt(i + 1);
        if (!next) {
            return false;
        }
        if (next->kind == TokenKind::other) {
            const char16_t c = line_.text[next->begin].unicode();
            return c == u'\u2642' || c == u'\u2640' || c == u'%' || c == u'\u2030';
        }
        return isWordOf(*next, WordKind::unit) && t.unit != Unit::minutes &&
               t.unit != Unit::seconds;
    }

    bool isLabelled(int i) const {
        const Token* before = tokenAt(i - 1);
        if (!before) {
            return false;
        }
        const Token& t = tokens_[static_cast<std::size_t>(i)];
        if (before->kind == TokenKind::other) {
            const char16_t c = line_.text[before->begin].unicode();
            if ((c == u'\u2116' || c == u'#') && before->end == t.begin) {  // № #
                return true;
            }
        }
        const int k = previousIndex(i);
        const Token* word = tokenAt(k);
        if (word && isWordOf(*word, WordKind::quantityPrefix) &&
            onlyBetween(*word, t, u".:=\u2116#")) {
            return true;
        }
        // "alt.: 352" reads through a label too.
        return before->kind == TokenKind::label && tokenAt(i - 2) &&
               isWordOf(*tokenAt(i - 2), WordKind::quantityPrefix);
    }

    bool isDateWord(const Token* t) const {
        return t && (isWordOf(*t, WordKind::month) || isWordOf(*t, WordKind::roman));
    }

    bool isDate(int i) const {
        const Token& t = tokens_[static_cast<std::size_t>(i)];
        if (t.unit != Unit::none) {
            return false;
        }
        const Token* next = tokenAt(nextIndex(i));
        const Token* before = tokenAt(previousIndex(i));
        return (isDateWord(next) && onlyBetween(t, *next, u".-")) ||
               (isDateWord(before) && onlyBetween(*before, t, u".,-"));
    }

    bool isYear(int i) const {
        const Token& t = tokens_[static_cast<std::size_t>(i)];
        if (t.kind != TokenKind::number || t.intDigits != 4 || t.decimals != 0 || t.negative ||
            t.unit != Unit::none || t.value < 1700 || t.value > 2100) {
            return false;
        }
        const Token* next = tokenAt(i + 1);
        return !(next && next->kind == TokenKind::hemisphere && next->begin == t.end);
    }

    // 07/25, 12/04: whole numbers joined by a slash are a runway, a fraction or a date.
    bool isSlashedPair(int i) const {
        const auto whole = [](const Token* t) {
            return t && t->kind == TokenKind::number && t->decimals == 0 && t->unit == Unit::none &&
                   !t->negative && !t->plus;
        };
        const auto slash = [this](const Token* t, qsizetype before, qsizetype after) {
            return t && t->kind == TokenKind::separator && t->begin == before && t->end == after &&
                   t->end - t->begin == 1 && line_.text[t->begin] == u'/';
        };
        const Token& t = tokens_[static_cast<std::size_t>(i)];
        if (!whole(&t)) {
            return false;
        }
        const Token* next = tokenAt(i + 1);
        const Token* after = tokenAt(i + 2);
        const Token* before = tokenAt(i - 1);
        const Token* first = tokenAt(i - 2);
        return (whole(after) && slash(next, t.end, after->begin)) ||
               (whole(first) && slash(before, first->end, t.begin));
    }

    // 12.06.2015: a dotted form ending in a four-digit year.
    bool isDottedDate(const Token& t) const {
        if (t.kind != TokenKind::dotted) {
            return false;
        }
        const qsizetype point = line_.text.sliced(t.begin, t.end - t.begin).lastIndexOf(u'.');
        return t.end - t.begin - point - 1 == 4;
    }

    // 12:30, 10:00–14:00: a colon form beside no hemisphere letter.
    bool isTime(int i) const {
        if (tokens_[static_cast<std::size_t>(i)].kind != TokenKind::colon) {
            return false;
        }
        const Token* before = tokenAt(i - 1);
        const Token* next = tokenAt(i + 1);
        return !(before && before->kind == TokenKind::hemisphere) &&
               !(next && next->kind == TokenKind::hemisphere);
    }

    // Digits run into a word that says nothing of coordinates: a code, a catalogue number.
    bool isInCode(int i) const {
        const Token& t = tokens_[static_cast<std::size_t>(i)];
        const auto plainWord = [](const Token* w) {
            return w && w->kind == TokenKind::word && kindOf(*w) != WordKind::unit;
        };
        const Token* before = tokenAt(i - 1);
        const Token* next = tokenAt(i + 1);
        return (plainWord(before) && before->end == t.begin && !t.negative && !t.plus) ||
               (plainWord(next) && next->begin == t.end);
    }

    bool isListNumber(int i) const {
        const Token& t = tokens_[static_cast<std::size_t>(i)];
        for (int k = 0; k < i; ++k) {
            if (tokens_[static_cast<std::size_t>(k)].kind != TokenKind::other) {
                return false;
            }
        }
        if (t.kind != TokenKind::number || t.decimals != 0 || t.unit != Unit::none ||
            t.intDigits > 3) {
            return false;
        }
        const qsizetype after = t.end;
        return after + 1 < line_.text.size() &&
               (line_.text[after] == u'.' || line_.text[after] == u')') &&
               line_.text[after + 1].isSpace();
    }

    // "5°E (2010)": degrees with a letter and a year in brackets.
    bool isMagneticVariation(int i) const {
        const Token& t = tokens_[static_cast<std::size_t>(i)];
        if (t.unit != Unit::degrees) {
            return false;
        }
        int k = i + 1;
        while (tokenAt(k) && tokenAt(k)->kind == TokenKind::number &&
               tokenAt(k)->unit > Unit::degrees) {
            ++k;
        }
        const Token* letter = tokenAt(k);
        const Token* open = tokenAt(k + 1);
        const Token* year = tokenAt(k + 2);
        return letter && letter->kind == TokenKind::hemisphere && letter->axis == Axis::longitude &&
               open && open->kind == TokenKind::other && line_.text[open->begin] == u'(' && year &&
               year->kind == TokenKind::number && year->intDigits == 4 && year->decimals == 0;
    }

    // Spreads the mark between tokens i and the number after it across a dash, a range word, a
    // slash between digits, or from degrees to the minutes and seconds written after them.
    bool spread(int i) {
        Token& a = tokens_[static_cast<std::size_t>(i)];
        if (!a.isNumber()) {
            return false;
        }
        Token* b = nullptr;
        const Token* middle = tokenAt(i + 1);
        if (middle && middle->isNumber()) {
            if (a.unit == Unit::none || middle->unit <= a.unit) {
                return false;
            }
            b = &tokens_[static_cast<std::size_t>(i + 1)];
        } else if (middle &&
                   (middle->kind == TokenKind::dash || middle->kind == TokenKind::rangeWord ||
                    (middle->kind == TokenKind::separator && middle->begin == a.end &&
                     line_.text[middle->begin] == u'/'))) {
            const Token* c = tokenAt(i + 2);
            if (!c || !c->isNumber()) {
                return false;
            }
            if (middle->kind == TokenKind::separator && c->begin != middle->end) {
                return false;
            }
            b = &tokens_[static_cast<std::size_t>(i + 2)];
        } else {
            return false;
        }
        if (a.ignored == b->ignored) {
            return false;
        }
        // Minutes after ignored degrees follow them, never the other way round.
        if (middle->isNumber() && !a.ignored) {
            return false;
        }
        a.ignored = b->ignored = true;
        return true;
    }

    TokenLine& line_;
    std::vector<Token>& tokens_;
};

}  // namespace

void markNonCoordinates(TokenLine& line) {
    Marker(line).run();
}

}  // namespace zelkora
