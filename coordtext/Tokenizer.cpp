#include "coordtext/Tokenizer.h"

#include <charconv>
#include <cmath>

#include "coordtext/Words.h"

namespace zelkora {

void TokenLine::claim(qsizetype begin, qsizetype end) {
    partsFound = false;
    for (Token& t : tokens) {
        if (t.begin >= begin && t.end <= end) {
            t.claimed = true;
        }
    }
}

namespace {

constexpr bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool isBlank(char16_t c) {
    switch (c) {
        case u' ':
        case u'\n':
        case u'\r':
        case u'\v':
        case u'\f':
        case u'\u0085':
        case u'\u00A0':
        case u'\u1680':
        case u'\u200B':
        case u'\u202F':
        case u'\u205F':
        case u'\u3000':
        case u'\u2028':
        case u'\u2029':
        case u'\uFEFF':
            return true;
        default:
            return c >= u'\u2000' && c <= u'\u200A';
    }
}

bool isDegreeMark(char16_t c) {
    return c == u'\u00B0' || c == u'\u00BA' || c == u'\u02DA' || c == u'\u2070' || c == u'度';
}

bool isMinuteMark(char16_t c) {
    switch (c) {
        case u'\'':
        case u'\u2032':  // ′
        case u'\u2019':  // ’
        case u'\u2018':  // ‘
        case u'\u00B4':  // ´
        case u'`':
        case u'\u02B9':  // ʹ
        case u'\u02BC':  // ʼ
        case u'分':
            return true;
        default:
            return false;
    }
}

bool isSecondMark(char16_t c) {
    switch (c) {
        case u'"':
        case u'\u2033':  // ″
        case u'\u201D':  // ”
        case u'\u201C':  // “
        case u'\u02BA':  // ʺ
        case u'\u3003':  // 〃
        case u'秒':
            return true;
        default:
            return false;
    }
}

bool isDashChar(char16_t c) {
    return c == u'-' || c == u'\u2010' || c == u'\u2011' || c == u'\u2012' || c == u'\u2013' ||
           c == u'\u2014' || c == u'\u2015' || c == u'\u2212';
}

bool isSeparatorChar(char16_t c) {
    return c == u',' || c == u';' || c == u'/' || c == u'|' || c == u'\t' || c == u'、' ||
           c == u'，' || c == u'；';
}

bool isWordChar(QChar c) {
    if (c.isLetter()) {
        return true;
    }
    const char16_t u = c.unicode();
    return u >= 0x300 && u < 0x370;  // combining marks inside a word
}

bool isOpeningQuote(char16_t c) {
    return c == u'"' || c == u'\'' || c == u'\u201C' || c == u'\u2018' || c == u'\u00AB';
}

bool closes(char16_t opening, char16_t c) {
    switch (opening) {
        case u'"':
            return c == u'"';
        case u'\'':
            return c == u'\'';
        case u'\u201C':
            return c == u'\u201D';
        case u'\u2018':
            return c == u'\u2019';
        case u'\u00AB':
            return c == u'\u00BB';
        default:
            return false;
    }
}

class Tokenizer {
  public:
    Tokenizer(QStringView text, TokenLine& line) : s_(text), line_(line) {}

    void run() {
        line_.text = s_;
        line_.tokens.clear();
        line_.tooLong = false;
        const qsizetype n = s_.size();
        qsizetype i = 0;
        while (i < n) {
            if (line_.tokens.size() >= kMaxTokens) {
                line_.tooLong = true;
                return;
            }
            const char16_t c = at(i);
            noteCharacter(c);
            if (isBlank(c)) {
                ++i;
            } else if (isDigit(c) || (c == u'.' && isDigit(at(i + 1)) && !isDigit(at(i - 1)) &&
                                      !QChar(at(i - 1)).isLetter())) {
                i = readNumber(i, i);
            } else if ((c == u'-' || c == u'\u2212' || c == u'+' || c == u'\u00B1') &&
                       startsNumber(i + 1) && signMayStandAfter(i)) {
                i = readNumber(i, i + 1);
            } else if (isWordChar(QChar(c))) {
                i = readWord(i);
            } else if (isDashChar(c)) {
                qsizetype j = i;
                while (j < n && isDashChar(at(j))) {
                    ++j;
                }
                // A rule of dashes draws a line; one or two join a range.
                push(i, j, j - i > 2 ? TokenKind::other : TokenKind::dash);
                i = j;
            } else if (isSeparatorChar(c)) {
                qsizetype j = i + 1;
                while (j < n && at(j) == c) {
                    ++j;
                }
                push(i, j, TokenKind::separator);
                i = j;
            } else if (c == u':' || c == u'=' || c == u'：') {
                push(i, i + 1, TokenKind::label);
                ++i;
            } else {
                // A run of one character is one token: a line of a hundred thousand quotes
                // costs one.
                qsizetype j = i + 1;
                if (QChar::isHighSurrogate(c) && j < n && QChar::isLowSurrogate(at(j))) {
                    ++j;
                } else {
                    while (j < n && at(j) == c && c != u'.' && c != u'(' && c != u')') {
                        ++j;
                    }
                }
                push(i, j, TokenKind::other);
                i = j;
            }
        }
        joinPhrases();
    }

  private:
    char16_t at(qsizetype i) const { return i >= 0 && i < s_.size() ? s_[i].unicode() : u'\0'; }

    void noteCharacter(char16_t c) {
        switch (c) {
            case u'<':
                line_.hasLess = true;
                break;
            case u'"':
                line_.hasQuote = true;
                break;
            case u'$':
                line_.hasDollar = true;
                break;
            case u'@':
                line_.hasAt = true;
                break;
            case u'#':
                line_.hasHash = true;
                break;
            case u'=':
                line_.hasEquals = true;
                break;
            case u'/':
                line_.hasSlash = true;
                break;
            case u':':
                line_.hasColon = true;
                break;
            case u'(':
                line_.hasParen = true;
                break;
            case u'+':
                line_.hasPlus = true;
                break;
            default:
                break;
        }
    }

    Token& push(qsizetype begin, qsizetype end, TokenKind kind) {
        Token t;
        t.begin = begin;
        t.end = end;
        t.kind = kind;
        line_.tokens.push_back(t);
        return line_.tokens.back();
    }

    bool startsNumber(qsizetype i) const {
        return isDigit(at(i)) || (at(i) == u'.' && isDigit(at(i + 1)));
    }

    // A sign belongs to a number at the start, after a blank, a separator, a bracket or a
    // label; after a digit, a mark or a letter the character is a dash: "55.670-680", "37"-36°".
    bool signMayStandAfter(qsizetype i) const {
        if (i == 0) {
            return true;
        }
        const char16_t before = at(i - 1);
        // A quote before the sign opens a quoted number ("-33.5"), unless it closes seconds.
        const bool openingQuote = (before == u'"' || before == u'\'') && !isDigit(at(i - 2));
        return isBlank(before) || isSeparatorChar(before) || before == u'(' || before == u'[' ||
               before == u'{' || before == u':' || before == u'=' || openingQuote ||
               before == u'>' || (at(i) == u'+' && isDigit(before));
    }

    // Digits from i on: their count and the index after them.
    qsizetype digitsFrom(qsizetype i) const {
        while (isDigit(at(i))) {
            ++i;
        }
        return i;
    }

    static double valueOf(QStringView digits, QStringView decimals) {
        // At most 15 integer and 20 decimal digits reach the conversion: beyond them no number
        // is a coordinate, and a line of millions of digits costs no copy.
        char buffer[40];
        std::size_t n = 0;
        if (digits.size() > 15) {
            return HUGE_VAL;
        }
        for (const QChar c : digits) {
            buffer[n++] = static_cast<char>(c.unicode());
        }
        if (n == 0) {
            buffer[n++] = '0';
        }
        buffer[n++] = '.';
        for (qsizetype k = 0; k < decimals.size() && k < 20; ++k) {
            buffer[n++] = static_cast<char>(decimals[k].unicode());
        }
        double value = 0;
        std::from_chars(buffer, buffer + n, value);
        return value;
    }

    // One number starting at first (its sign, if any) with its digits from digit on.
    qsizetype readNumber(qsizetype first, qsizetype digit) {
        const qsizetype n = s_.size();
        qsizetype i = digitsFrom(digit);
        const QStringView digits = s_.sliced(digit, i - digit);
        QStringView decimals;
        TokenKind kind = TokenKind::number;
        if (at(i) == u'.' && isDigit(at(i + 1))) {
            const qsizetype end = digitsFrom(i + 1);
            decimals = s_.sliced(i + 1, end - i - 1);
            i = end;
            if (at(i) == u'.' && isDigit(at(i + 1)) && !digits.isEmpty()) {
                // Three or more groups: a date or degrees, minutes and seconds.
                kind = TokenKind::dotted;
                while (at(i) == u'.' && isDigit(at(i + 1))) {
                    i = digitsFrom(i + 1);
                }
            }
        } else if (at(i) == u',' && isDigit(at(i + 1)) && !digits.isEmpty()) {
            // A comma between digits is a decimal comma, unless the digits before it already
            // follow a point: "48,5,135,25" is 48.5 and 135.25, "48.48,135.07" two numbers.
            const qsizetype end = digitsFrom(i + 1);
            decimals = s_.sliced(i + 1, end - i - 1);
            i = end;
        } else if (at(i) == u':' && isDigit(at(i + 1)) && !digits.isEmpty()) {
            kind = TokenKind::colon;
            while ((at(i) == u':' && isDigit(at(i + 1))) || (at(i) == u'.' && isDigit(at(i + 1)))) {
                i = digitsFrom(i + 1);
            }
        }
        Token& t = push(first, i, kind);
        t.value = valueOf(digits, decimals);
        t.intDigits = static_cast<std::int32_t>(std::min<qsizetype>(digits.size(), 1000000));
        t.decimals = static_cast<std::int32_t>(std::min<qsizetype>(decimals.size(), 1000000));
        t.leadingZero = digits.size() > 1 && digits[0] == u'0';
        const char16_t sign = first == digit ? u'\0' : at(first);
        t.negative = sign == u'-' || sign == u'\u2212';
        t.plus = sign == u'+';
        line_.hasSignedNumber = line_.hasSignedNumber || t.negative || t.plus;
        t.ignored = sign == u'\u00B1';  // an uncertainty
        if (kind != TokenKind::number) {
            return i;
        }
        // A number in quotes ends at its closing quote, which is no mark: lat="43.1155".
        if (first > 0 && isOpeningQuote(at(first - 1)) && closes(at(first - 1), at(i))) {
            return i;
        }
        return readMark(line_.tokens.size() - 1, i, n);
    }

    // The unit of the number before, when it stands right before this one.
    Unit unitBefore(std::size_t index) const {
        if (index == 0) {
            return Unit::none;
        }
        const Token& before = line_.tokens[index - 1];
        return before.kind == TokenKind::number ? before.unit : Unit::none;
    }

    // The mark after the number at index, which ends at i: the token grows over it.
    qsizetype readMark(std::size_t index, qsizetype i, qsizetype n) {
        qsizetype j = i;
        while (j < n && isBlank(at(j))) {
            ++j;
        }
        const char16_t c = at(j);
        Unit unit = Unit::none;
        qsizetype end = j;
        if (c == u'\u2103' || c == u'\u2109') {  // ℃ ℉
            line_.tokens[index].temperature = true;
            line_.tokens[index].end = j + 1;
            return j + 1;
        }
        if (isDegreeMark(c)) {
            unit = Unit::degrees;
            end = j + 1;
            const char16_t scale = at(end);
            if ((scale == u'C' || scale == u'F' || scale == u'\u0421') &&
                !isWordChar(QChar(at(end + 1)))) {
                line_.tokens[index].temperature = true;
                line_.tokens[index].end = end + 1;
                return end + 1;
            }
        } else if (isMinuteMark(c) && (j == i || !isWordChar(QChar(at(j + 1))))) {
            // Two primes are a second mark.
            if (isMinuteMark(at(j + 1)) && at(j + 1) != u'分') {
                unit = Unit::seconds;
                end = j + 2;
            } else {
                unit = Unit::minutes;
                end = j + 1;
            }
        } else if (isSecondMark(c) && (j == i || !isWordChar(QChar(at(j + 1))))) {
            unit = Unit::seconds;
            end = j + 1;
        } else if (isWordChar(QChar(c))) {
            return readLetterMark(index, i, j, n);
        }
        // A blank before a prime is allowed where the prime opens nothing: "38 ' 409 ''".
        if (unit != Unit::none) {
            line_.tokens[index].unit = unit;
            line_.tokens[index].end = end;
            return end;
        }
        return i;
    }

    // d, m and s written right after the digits ("48d 28m 49s"), and the words deg, min, sec:
    // minutes only right after degrees and seconds right after minutes, so that "352 m" stays
    // metres. A hemisphere letter may follow the mark at once: "22.8sN".
    qsizetype readLetterMark(std::size_t index, qsizetype i, qsizetype j, qsizetype n) {
        qsizetype end = j;
        while (end < n && isWordChar(s_[end])) {
            ++end;
        }
        const QStringView run = s_.sliced(j, end - j);
        const Unit before = unitBefore(index);
        Unit unit = Unit::none;
        qsizetype markLength = 0;
        const auto letterMark = [&](char16_t m) {
            if (m == u'd') {
                return Unit::degrees;
            }
            if (m == u'm' && before == Unit::degrees) {
                return Unit::minutes;
            }
            if (m == u's' && before == Unit::minutes) {
                return Unit::seconds;
            }
            return Unit::none;
        };
        if (j == i &&
            (run.size() == 1 || (run.size() == 2 && QStringView(u"NSEW").contains(run[1])))) {
            unit = letterMark(run[0].unicode());
            markLength = 1;
        }
        if (unit == Unit::none && run.size() > 1) {
            const WordInfo info = classifyWord(run);
            if (info.kind == WordKind::degreeWord) {
                unit = Unit::degrees;
            } else if (info.kind == WordKind::minuteWord && before == Unit::degrees) {
                unit = Unit::minutes;
            } else if (info.kind == WordKind::secondWord && before == Unit::minutes) {
                unit = Unit::seconds;
            }
            markLength = run.size();
        }
        if (unit == Unit::none) {
            return i;
        }
        line_.tokens[index].unit = unit;
        line_.tokens[index].end = j + markLength;
        return j + markLength;
    }

    qsizetype readWord(qsizetype i) {
        const qsizetype n = s_.size();
        qsizetype end = i;
        bool cjk = false;
        while (end < n && isWordChar(s_[end])) {
            cjk = cjk || isCjk(at(end));
            ++end;
        }
        if (!cjk) {
            pushWord(i, end, classifyWord(s_.sliced(i, end - i)));
            return end;
        }
        // Characters without blanks between: the hemisphere words are found inside.
        const QStringView run = s_.sliced(i, end - i);
        qsizetype plainStart = 0;
        for (qsizetype k = 0; k < run.size();) {
            WordInfo info;
            const int length = cjkHemisphereAt(run, k, info);
            if (length == 0) {
                ++k;
                continue;
            }
            if (k > plainStart) {
                pushWord(i + plainStart, i + k, WordInfo{});
            }
            pushWord(i + k, i + k + length, info);
            k += length;
            plainStart = k;
        }
        if (plainStart < run.size()) {
            pushWord(i + plainStart, end, WordInfo{});
        }
        return end;
    }

    void pushWord(qsizetype begin, qsizetype end, const WordInfo& info) {
        TokenKind kind = TokenKind::word;
        if (info.kind == WordKind::hemisphere || info.kind == WordKind::axisWord) {
            kind = TokenKind::hemisphere;
        } else if (info.kind == WordKind::rangeWord) {
            kind = TokenKind::rangeWord;
        }
        Token& t = push(begin, end, kind);
        setWord(t, info);
        switch (info.format) {
            case FormatWord::coordinates:
                line_.hasCoordinatesWord = true;
                break;
            case FormatWord::point:
                line_.hasPointWord = true;
                break;
            case FormatWord::geo:
                line_.hasGeoWord = true;
                break;
            case FormatWord::link:
                line_.hasLinkWord = true;
                break;
            case FormatWord::none:
                break;
        }
    }

    static void setWord(Token& t, const WordInfo& info) {
        t.word = static_cast<std::uint8_t>(info.kind);
        t.axis = info.axis;
        t.sign = info.sign;
        t.unreadable = info.unreadable;
        t.strict = info.strict;
        t.vietnameseN = info.vietnameseN;
        t.vietnameseD = info.vietnameseD;
        if (info.letterToo) {
            t.strict = true;
        }
    }

    static WordKind kindOf(const Token& t) { return static_cast<WordKind>(t.word); }

    bool isPoint(const Token& t) const {
        return t.kind == TokenKind::other && t.end - t.begin == 1 && at(t.begin) == u'.';
    }

    // Only blanks and points between two tokens: "с. ш.", "vĩ độ".
    bool adjacent(const Token& a, const Token& b) const {
        for (qsizetype k = a.end; k < b.begin; ++k) {
            if (!isBlank(at(k)) && at(k) != u'.') {
                return false;
            }
        }
        return true;
    }

    // Joins the words of one phrase into one hemisphere token: an adjective and its noun
    // ("с. ш.", "южной широты", "severní šířky"), vĩ/kinh with độ and a hemisphere word, and a
    // hemisphere with the word for its axis ("South latitude", "N szer."). Words left alone
    // that complete nothing become what they are alone.
    void joinPhrases() {
        auto& tokens = line_.tokens;
        std::size_t out = 0;
        for (std::size_t k = 0; k < tokens.size(); ++k) {
            Token t = tokens[k];
            for (;;) {
                // The next word, past the points of an abbreviation ("с. ш.").
                std::size_t next = k + 1;
                while (next < tokens.size() && isPoint(tokens[next])) {
                    ++next;
                }
                if (next >= tokens.size() || !joins(t, tokens[next])) {
                    break;
                }
                merge(t, tokens[next]);
                k = next;
            }
            settle(t);
            tokens[out++] = t;
        }
        tokens.resize(out);
    }

    bool joins(const Token& a, const Token& b) const {
        if (!(a.kind == TokenKind::word || a.kind == TokenKind::hemisphere) ||
            !(b.kind == TokenKind::word || b.kind == TokenKind::hemisphere) || !adjacent(a, b)) {
            return false;
        }
        const WordKind ka = kindOf(a);
        const WordKind kb = kindOf(b);
        const bool sameAxis = a.axis == b.axis && a.axis != Axis::unknown;
        if (ka == WordKind::adjective) {
            return sameAxis && (kb == WordKind::noun || kb == WordKind::axisWord);
        }
        if (ka == WordKind::vietAxis) {
            return kb == WordKind::vietDo || (sameAxis && kb == WordKind::hemisphere);
        }
        if (ka == WordKind::hemisphere && a.sign != 0) {
            return sameAxis && kb == WordKind::axisWord;
        }
        if (ka == WordKind::axisWord) {
            return sameAxis && kb == WordKind::hemisphere && b.sign != 0;
        }
        return false;
    }

    static void merge(Token& a, const Token& b) {
        const WordKind ka = kindOf(a);
        const WordKind kb = kindOf(b);
        a.end = b.end;
        a.kind = TokenKind::hemisphere;
        a.strict = false;
        if (ka == WordKind::vietAxis && kb == WordKind::vietDo) {
            a.word = static_cast<std::uint8_t>(WordKind::axisWord);
            a.sign = 0;
            return;
        }
        a.sign = a.sign != 0 ? a.sign : b.sign;
        a.unreadable = a.unreadable || b.unreadable;
        a.vietnameseN = false;
        a.vietnameseD = false;
        a.word = static_cast<std::uint8_t>(a.sign != 0 ? WordKind::hemisphere : WordKind::axisWord);
    }

    static void settle(Token& t) {
        const WordKind k = kindOf(t);
        if (t.kind != TokenKind::word) {
            return;
        }
        if (k == WordKind::adjective && t.strict) {  // С, Ю, В, З standing alone
            t.kind = TokenKind::hemisphere;
            t.word = static_cast<std::uint8_t>(WordKind::hemisphere);
        } else if (k == WordKind::adjective || k == WordKind::noun || k == WordKind::vietAxis ||
                   k == WordKind::vietDo) {
            t.word = static_cast<std::uint8_t>(WordKind::plain);
        }
    }

    QStringView s_;
    TokenLine& line_;
};

}  // namespace

void tokenize(QStringView text, TokenLine& line) {
    // The token list keeps its room from line to line.
    std::vector<Token> tokens = std::move(line.tokens);
    std::vector<NumberPart> parts = std::move(line.parts);
    line = TokenLine{};
    line.tokens = std::move(tokens);
    line.parts = std::move(parts);
    Tokenizer(text, line).run();
}

}  // namespace zelkora
