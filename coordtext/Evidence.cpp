#include "coordtext/Evidence.h"

#include "coordtext/Words.h"

namespace zelkora {

bool pairHasEvidence(Support a, Support b, bool lineHoldsOnlyPoints) {
    const auto marked = [](Support s) { return s == Support::marks || s == Support::named; };
    return (marked(a) && marked(b)) || lineHoldsOnlyPoints;
}

QString notCoordinateText(NotCoordinate verdict) {
    switch (verdict) {
        case NotCoordinate::no:
            return {};
        case NotCoordinate::quantity:
            return QStringLiteral("величина с единицей");
        case NotCoordinate::label:
            return QStringLiteral("номер или подпись");
        case NotCoordinate::reference:
            return QStringLiteral("ссылка");
        case NotCoordinate::date:
            return QStringLiteral("дата");
        case NotCoordinate::year:
            return QStringLiteral("год");
        case NotCoordinate::time:
            return QStringLiteral("время");
        case NotCoordinate::code:
            return QStringLiteral("код");
        case NotCoordinate::listNumber:
            return QStringLiteral("номер в списке");
        case NotCoordinate::uncertainty:
            return QStringLiteral("погрешность");
        case NotCoordinate::magneticVariation:
            return QStringLiteral("магнитное склонение");
        case NotCoordinate::fraction:
            return QStringLiteral("дробь или номер через косую черту");
    }
    return {};
}

namespace {

bool isWordOf(const Token& t, WordKind kind) {
    return (t.kind == TokenKind::word || t.kind == TokenKind::rangeWord) && t.word == kind;
}

class Weigher {
  public:
    Weigher(const TokenLine& line, std::vector<NotCoordinate>& against)
        : line_(line), tokens_(line.tokens), against_(against) {}

    void run() {
        const int n = static_cast<int>(tokens_.size());
        markChunks();
        for (int i = 0; i < n; ++i) {
            const Token& t = tokens_[static_cast<std::size_t>(i)];
            if (!t.isNumber() || against(i) != NotCoordinate::no) {
                continue;
            }
            against_[static_cast<std::size_t>(i)] = verdict(i);
        }
        // Ranges, dates joined by dashes and slashes, lists of one quantity and the minutes of
        // set-aside degrees take the verdict from their neighbours until nothing changes.
        for (bool changed = true; changed;) {
            changed = false;
            for (int i = 0; i + 1 < n; ++i) {
                changed = spread(i) || changed;
            }
        }
        // A hemisphere letter right after a quantity belongs to it: "5 km N of …"; and V is
        // the month of a date: 11.V.2024.
        for (int i = 1; i < n; ++i) {
            const Token& t = tokens_[static_cast<std::size_t>(i)];
            const int before = previousIndex(i);
            if (t.kind == TokenKind::hemisphere && t.letter == u'V' && before >= 0 &&
                tokens_[static_cast<std::size_t>(before)].isNumber() &&
                against(before) == NotCoordinate::date) {
                against_[static_cast<std::size_t>(i)] = NotCoordinate::date;
                continue;
            }
            if (t.kind == TokenKind::hemisphere &&
                tokens_[static_cast<std::size_t>(i - 1)].isNumber() &&
                against(i - 1) != NotCoordinate::no) {
                against_[static_cast<std::size_t>(i)] = against(i - 1);
            }
        }
    }

  private:
    NotCoordinate against(int i) const { return against_[static_cast<std::size_t>(i)]; }

    NotCoordinate verdict(int i) const {
        const Token& t = tokens_[static_cast<std::size_t>(i)];
        if (t.plusMinus) {
            return NotCoordinate::uncertainty;
        }
        if (isQuantity(i)) {
            return NotCoordinate::quantity;
        }
        if (const NotCoordinate l = labelled(i); l != NotCoordinate::no) {
            return l;
        }
        if (isDate(i) || isDottedDate(t)) {
            return NotCoordinate::date;
        }
        if (isYear(i)) {
            return NotCoordinate::year;
        }
        if (isTime(i)) {
            return NotCoordinate::time;
        }
        if (isSlashedPair(i)) {
            return NotCoordinate::fraction;
        }
        if (isInCode(i)) {
            return NotCoordinate::code;
        }
        if (isListNumber(i)) {
            return NotCoordinate::listNumber;
        }
        if (isMagneticVariation(i)) {
            return NotCoordinate::magneticVariation;
        }
        return NotCoordinate::no;
    }

    // Runs of characters without blanks that cite or link rather than place: a DOI, an address.
    // Every number inside is a reference (a map link has been read, and claimed, before).
    void markChunks() {
        const QStringView text = line_.text;
        if (!line_.holds(u'/')) {
            return;
        }
        const int n = static_cast<int>(tokens_.size());
        for (int i = 0; i < n;) {
            // The chunk of token i: the tokens joined to it without blanks.
            int last = i;
            while (last + 1 < n && tokens_[static_cast<std::size_t>(last + 1)].begin ==
                                       tokens_[static_cast<std::size_t>(last)].end) {
                ++last;
            }
            const qsizetype begin = tokens_[static_cast<std::size_t>(i)].begin;
            const QStringView chunk =
                text.sliced(begin, tokens_[static_cast<std::size_t>(last)].end - begin);
            if (isCitation(chunk)) {
                for (int k = i; k <= last; ++k) {
                    if (tokens_[static_cast<std::size_t>(k)].isNumber()) {
                        against_[static_cast<std::size_t>(k)] = NotCoordinate::reference;
                    }
                }
            }
            i = last + 1;
        }
    }

    static bool isCitation(QStringView chunk) {
        if (chunk.contains(u"://") || chunk.startsWith(u"www.", Qt::CaseInsensitive) ||
            chunk.startsWith(u"doi", Qt::CaseInsensitive)) {
            return true;
        }
        // 10.1234/…: a DOI's prefix.
        if (!chunk.startsWith(u"10.")) {
            return false;
        }
        qsizetype k = 3;
        while (k < chunk.size() && chunk[k].isDigit()) {
            ++k;
        }
        return k >= 7 && k < chunk.size() && chunk[k] == u'/';
    }

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

    // A run of quotes or brackets, which may stand against a number ("''", "((").
    bool isThinRun(const Token& t) const {
        return QStringView(u"'\"()[]\u2019\u201D").contains(line_.text[t.begin]);
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

    NotCoordinate labelled(int i) const {
        const Token& t = tokens_[static_cast<std::size_t>(i)];
        // A point's or a list's number before its colon: "N 1: 43.1 131.9", "Point 3: …".
        const Token* after = tokenAt(i + 1);
        if (after && after->kind == TokenKind::label && line_.text[after->begin] != u'=' &&
            t.kind == TokenKind::number && t.decimals == 0 && t.unit == Unit::none &&
            t.intDigits <= 3 && !t.negative && !t.plus) {
            return NotCoordinate::label;
        }
        const Token* before = tokenAt(i - 1);
        if (!before) {
            return NotCoordinate::no;
        }
        if (before->kind == TokenKind::other) {
            const char16_t c = line_.text[before->begin].unicode();
            if ((c == u'\u2116' || c == u'#') && before->end == t.begin) {  // № #
                return NotCoordinate::label;
            }
        }
        const int k = previousIndex(i);
        const Token* word = tokenAt(k);
        const auto labelWord = [](const Token* w) {
            return w &&
                   (isWordOf(*w, WordKind::quantityPrefix) || isWordOf(*w, WordKind::reference));
        };
        const auto kindOfLabel = [](const Token* w) {
            return isWordOf(*w, WordKind::reference) ? NotCoordinate::reference
                                                     : NotCoordinate::label;
        };
        // A mark makes it a coordinate whatever the word before: "ibid. 22°20′45″N".
        if (labelWord(word) && onlyBetween(*word, t, u".:=\u2116#") && t.unit == Unit::none) {
            return kindOfLabel(word);
        }
        // "alt.: 352" reads through a label too; "n = 12" is a count.
        if (before->kind == TokenKind::label && tokenAt(i - 2)) {
            const Token* name = tokenAt(i - 2);
            if (labelWord(name)) {
                return kindOfLabel(name);
            }
            if (name->end - name->begin == 1 && line_.text[name->begin] == u'n') {
                return NotCoordinate::quantity;
            }
        }
        return NotCoordinate::no;
    }

    bool isDateWord(const Token* t) const {
        return t && (isWordOf(*t, WordKind::month) || isWordOf(*t, WordKind::roman) ||
                     (t->kind == TokenKind::hemisphere && t->letter == u'V'));  // 11.V.2024
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

    // 12:30, 10:00–14:00, 10:35:00: hours to 24 and groups of two digits, beside no
    // hemisphere letter and without a sign. 40:7:23 and -74:07:23 are no times.
    bool isTime(int i) const {
        const Token& t = tokens_[static_cast<std::size_t>(i)];
        if (t.kind != TokenKind::colon || t.negative || t.plus || t.value > 24) {
            return false;
        }
        const QStringView text = line_.text.sliced(t.begin, t.end - t.begin);
        for (qsizetype colon = text.indexOf(u':'); colon >= 0;
             colon = text.indexOf(u':', colon + 1)) {
            qsizetype digits = 0;
            while (colon + 1 + digits < text.size() && text[colon + 1 + digits].isDigit()) {
                ++digits;
            }
            if (digits != 2) {
                return false;
            }
        }
        const Token* before = tokenAt(i - 1);
        const Token* next = tokenAt(i + 1);
        return !(before && before->kind == TokenKind::hemisphere) &&
               !(next && next->kind == TokenKind::hemisphere);
    }

    // Digits run into a word that says nothing of coordinates: a code, a catalogue number
    // (F3JC, WGS84, 20.XXX); or short numbers on both sides of one letter (35n42, the
    // astrologers' notation, or a code).
    bool isInCode(int i) const {
        const Token& t = tokens_[static_cast<std::size_t>(i)];
        const auto plainWord = [](const Token* w) {
            return w && (w->kind == TokenKind::word || w->kind == TokenKind::rangeWord) &&
                   w->word != WordKind::unit && w->word != WordKind::degreeWord;
        };
        const Token* before = tokenAt(i - 1);
        const Token* next = tokenAt(i + 1);
        // A mark makes the number a coordinate's, and Chinese and Japanese write their words
        // against the digits: Koordinate42°41′N, 46分のことです, 纬度为39.92.
        if (t.unit != Unit::none) {
            return false;
        }
        const auto cjk = [&](const Token* w) { return w && isCjk(line_.text[w->begin].unicode()); };
        if (plainWord(before) && before->end == t.begin && !t.negative && !t.plus && !cjk(before)) {
            return true;
        }
        // km2, m²: a unit's power; &&&&02.015: digits behind a rule of symbols.
        if (before && before->end == t.begin &&
            ((isWordOf(*before, WordKind::unit) && t.intDigits == 1 && t.decimals == 0) ||
             (before->kind == TokenKind::other && before->end - before->begin >= 2 &&
              !isThinRun(*before)))) {
            return true;
        }
        if (plainWord(next) && next->begin == t.end && !cjk(next)) {
            return true;
        }
        // 20.XXX: digits hidden behind letters.
        const Token* after = tokenAt(i + 2);
        if (next && isPoint(*next) && next->begin == t.end && plainWord(after) &&
            after->begin == next->end) {
            return true;
        }
        const auto shortNumber = [](const Token* n) {
            return n && n->kind == TokenKind::number && n->intDigits <= 3 && n->unit == Unit::none;
        };
        const auto letterBetween = [](const Token* a, const Token* l, const Token* b) {
            return l && l->kind == TokenKind::hemisphere && l->end - l->begin == 1 &&
                   l->begin == a->end && b->begin == l->end;
        };
        // 19N105E names its second letter: a confluence, not a code.
        const auto lettered = [&](int k) {
            const Token* n = tokenAt(k);
            const Token* l = tokenAt(k + 1);
            return n && l && l->kind == TokenKind::hemisphere && l->begin == n->end;
        };
        return (shortNumber(&t) && shortNumber(after) && letterBetween(&t, next, after) &&
                !lettered(i + 2)) ||
               (shortNumber(&t) && shortNumber(tokenAt(i - 2)) &&
                letterBetween(tokenAt(i - 2), before, &t) && !lettered(i));
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
        const bool longitude = letter && (letter->axis == Axis::longitude ||
                                          letter->letter == u'E' || letter->letter == u'W');
        return letter && letter->kind == TokenKind::hemisphere && longitude && open &&
               open->kind == TokenKind::other && line_.text[open->begin] == u'(' && year &&
               year->kind == TokenKind::number && year->intDigits == 4 && year->decimals == 0;
    }

    // Spreads a verdict between token i and the number after it across a dash, a range word,
    // a slash between digits, or from degrees to the minutes and seconds written after them;
    // and a quantity's unit back over a list of numbers written alike ("12, 15, 17 mm").
    bool spread(int i) {
        const Token& a = tokens_[static_cast<std::size_t>(i)];
        if (!a.isNumber()) {
            return false;
        }
        int b = -1;
        const Token* middle = tokenAt(i + 1);
        bool list = false;
        if (middle && middle->isNumber()) {
            if (a.unit == Unit::none || middle->unit <= a.unit) {
                return false;
            }
            b = i + 1;
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
            b = i + 2;
        } else if (middle && middle->kind == TokenKind::separator && middle->begin == a.end &&
                   line_.text[middle->begin] == u',' && tokenAt(i + 2) &&
                   tokenAt(i + 2)->isNumber() && tokenAt(i + 2)->begin == middle->end &&
                   (against(i) == NotCoordinate::label) !=
                       (against(i + 2) == NotCoordinate::label)) {
            // spn=0.005245,0.010620: a label's value of two numbers.
            b = i + 2;
        } else if (middle &&
                   ((middle->kind == TokenKind::separator && line_.text[middle->begin] == u',') ||
                    isWordOf(*middle, WordKind::connector))) {
            const Token* c = tokenAt(i + 2);
            if (!c || !c->isNumber() || against(i + 2) != NotCoordinate::quantity ||
                against(i) != NotCoordinate::no || c->decimals != a.decimals || c->unit != a.unit) {
                return false;
            }
            b = i + 2;
            list = true;
        } else {
            return false;
        }
        if ((against(i) == NotCoordinate::no) == (against(b) == NotCoordinate::no)) {
            return false;
        }
        // Minutes after set-aside degrees follow them, never the other way round.
        if (middle->isNumber() && against(i) == NotCoordinate::no) {
            return false;
        }
        const NotCoordinate verdict = against(i) != NotCoordinate::no ? against(i) : against(b);
        against_[static_cast<std::size_t>(i)] = verdict;
        against_[static_cast<std::size_t>(b)] = list ? NotCoordinate::quantity : verdict;
        return true;
    }

    const TokenLine& line_;
    const std::vector<Token>& tokens_;
    std::vector<NotCoordinate>& against_;
};

}  // namespace

void Evidence::reset(const TokenLine& line) {
    against_.assign(line.tokens.size(), NotCoordinate::no);
    claimed_.assign(line.tokens.size(), 0);
}

void Evidence::weigh(const TokenLine& line) {
    Weigher(line, against_).run();
}

void Evidence::claim(const TokenLine& line, qsizetype begin, qsizetype end) {
    for (std::size_t k = 0; k < line.tokens.size(); ++k) {
        const Token& t = line.tokens[k];
        if (t.begin >= begin && t.end <= end) {
            claimed_[k] = 1;
        }
    }
}

bool Evidence::usable(const TokenLine& line, int token) const {
    return line.tokens[static_cast<std::size_t>(token)].isNumber() &&
           against(token) == NotCoordinate::no && !claimed(token);
}

}  // namespace zelkora
