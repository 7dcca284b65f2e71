#include "coordtext/Tokenizer.h"

#include <charconv>
#include <cmath>

#include "coordtext/Words.h"

namespace zelkora {

namespace {

// ASCII digits, and the full-width digits of Chinese, Japanese and Korean text.
constexpr bool isDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'\uFF10' && c <= u'\uFF19');
}

constexpr int digitValue(char16_t c) {
    return c >= u'\uFF10' ? c - u'\uFF10' : c - u'0';
}

// A decimal point: the full stop, or its full-width form.
constexpr bool isPointChar(char16_t c) {
    return c == u'.' || c == u'\uFF0E';
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
        case u'\u02C8':  // ˈ
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
            } else if (isDigit(c) || (isPointChar(c) && isDigit(at(i + 1)) && !isDigit(at(i - 1)) &&
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
        if (c < 128) {
            line_.ascii.set(c);
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
        return isDigit(at(i)) || (isPointChar(at(i)) && isDigit(at(i + 1)));
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
            buffer[n++] = static_cast<char>('0' + digitValue(c.unicode()));
        }
        if (n == 0) {
            buffer[n++] = '0';
        }
        buffer[n++] = '.';
        for (qsizetype k = 0; k < decimals.size() && k < 20; ++k) {
            buffer[n++] = static_cast<char>('0' + digitValue(decimals[k].unicode()));
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
        if (isPointChar(at(i)) && isDigit(at(i + 1))) {
            const qsizetype end = digitsFrom(i + 1);
            decimals = s_.sliced(i + 1, end - i - 1);
            i = end;
            if (isPointChar(at(i)) && isDigit(at(i + 1)) && !digits.isEmpty()) {
                // Three or more groups: a date or degrees, minutes and seconds.
                kind = TokenKind::dotted;
                while (isPointChar(at(i)) && isDigit(at(i + 1))) {
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
        t.plusMinus = sign == u'\u00B1';
        if (kind != TokenKind::number) {
            return i;
        }
        // A number in quotes ends at its closing quote, which is no mark: lat="43.1155".
        if (first > 0 && isOpeningQuote(at(first - 1)) && !isDigit(at(first - 2)) &&
            closes(at(first - 1), at(i))) {
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
        } else if ((c == u'o' || c == u'O') && j == i && startsDigitsAfterBlanks(j + 1)) {
            // The letter o written for the degree sign, between digits: 105o20’, N43o11,401’.
            line_.tokens[index].letterMark = true;
            unit = Unit::degrees;
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

    bool startsDigitsAfterBlanks(qsizetype i) const {
        while (isBlank(at(i))) {
            ++i;
        }
        return isDigit(at(i));
    }

    // d, m and s written right after the digits ("48d 28m 49s"), the Korean 도 분 초, and the
    // words deg, min, sec, град, минута, độ, perhaps with their abbreviation's point: minutes
    // only right after degrees and seconds right after minutes, so that "352 m" stays metres. A
    // hemisphere letter may follow the mark at once: "22.8sN".
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
            if (m == u'd' || m == u'\uB3C4') {  // d, 도
                return Unit::degrees;
            }
            if ((m == u'm' || m == u'\uBD84') && before == Unit::degrees) {  // m, 분
                return Unit::minutes;
            }
            if ((m == u's' || m == u'\uCD08') && before == Unit::minutes) {  // s, 초
                return Unit::seconds;
            }
            return Unit::none;
        };
        if (j == i &&
            (run.size() == 1 || (run.size() == 2 && QStringView(u"NSEW").contains(run[1])) ||
             isKoreanMark(run[0].unicode()))) {
            unit = letterMark(run[0].unicode());
            markLength = 1;
        }
        if (unit == Unit::none && run.size() > 1) {
            const WordInfo info = classifyWord(run);
            if (info.kind == WordKind::degreeWord || info.kind == WordKind::vietDo) {
                unit = Unit::degrees;
            } else if (info.kind == WordKind::minuteWord && before == Unit::degrees) {
                unit = Unit::minutes;
            } else if (info.kind == WordKind::secondWord && before == Unit::minutes) {
                unit = Unit::seconds;
            }
            markLength = run.size();
            // The abbreviation's point belongs to the mark: "43 град. 18 мин.".
            if (unit != Unit::none && at(j + markLength) == u'.') {
                ++markLength;
            }
        }
        if (unit == Unit::none) {
            return i;
        }
        line_.tokens[index].unit = unit;
        line_.tokens[index].letterMark = true;
        line_.tokens[index].end = j + markLength;
        return j + markLength;
    }

    static bool isKoreanMark(char16_t c) {
        return c == u'\uB3C4' || c == u'\uBD84' || c == u'\uCD08';
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
        // A Russian letter written against the digits names their hemisphere: 440607с 0395631в.
        if (info.kind == WordKind::adjective && end - begin == 1 && isDigit(at(begin - 1))) {
            kind = TokenKind::hemisphere;
        }
        Token& t = push(begin, end, kind);
        t.word = kind == TokenKind::hemisphere && info.kind == WordKind::adjective
                     ? WordKind::hemisphere
                     : info.kind;
        t.axis = info.axis;
        t.sign = info.sign;
        t.strict = info.strict || info.letterToo;
        t.letter = info.letter;
        t.languages = info.languages;
        // After a mark, s and w can only be south and west: 18°25'04.3594"s.
        const char16_t before = at(begin - 1);
        if ((t.letter == u's' || t.letter == u'w') && end - begin == 1 &&
            (isMinuteMark(before) || isSecondMark(before) || isDegreeMark(before))) {
            t.letter = t.letter == u's' ? u'S' : u'W';
        }
    }

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

    bool pointBetween(const Token& a, const Token& b) const {
        for (qsizetype k = a.end; k < b.begin; ++k) {
            if (at(k) == u'.') {
                return true;
            }
        }
        return false;
    }

    static bool isWordLike(const Token& t) {
        return t.kind == TokenKind::word || t.kind == TokenKind::hemisphere;
    }

    // Joins the words of one phrase into one hemisphere token: an adjective and its noun
    // ("с. ш.", "южной широты", "западне географске дужине"), two letters of an abbreviation
    // ("s. š.", "n. Br."), vĩ/kinh with độ and a hemisphere word, and a hemisphere with the word
    // for its axis ("South latitude", "N szer.", "latitud norte"). Words left alone that
    // complete nothing become what they are alone.
    void joinPhrases() {
        auto& tokens = line_.tokens;
        std::size_t out = 0;
        for (std::size_t k = 0; k < tokens.size(); ++k) {
            Token t = tokens[k];
            for (;;) {
                // The next word, past the points of an abbreviation ("с. ш.") and the fillers
                // of a phrase ("географске").
                std::size_t next = k + 1;
                while (next < tokens.size() && isPoint(tokens[next])) {
                    ++next;
                }
                if (next >= tokens.size() || !isWordLike(t) || !isWordLike(tokens[next]) ||
                    !adjacent(t, tokens[next])) {
                    break;
                }
                // s. g. š., i. g. d.: the middle letter says "geographic".
                if (pointBetween(t, tokens[next]) && t.end - t.begin == 1 &&
                    tokens[next].end - tokens[next].begin == 1 &&
                    (at(tokens[next].begin) == u'g' || at(tokens[next].begin) == u'\u0433')) {
                    std::size_t third = next + 1;
                    while (third < tokens.size() && isPoint(tokens[third])) {
                        ++third;
                    }
                    WordInfo triple;
                    if (third < tokens.size() && isWordLike(tokens[third]) &&
                        adjacent(tokens[next], tokens[third]) &&
                        abbreviation(
                            s_.sliced(t.begin, 1),
                            s_.sliced(tokens[third].begin, tokens[third].end - tokens[third].begin),
                            triple)) {
                        t.end = tokens[third].end;
                        t.kind = TokenKind::hemisphere;
                        t.word = WordKind::hemisphere;
                        t.phrase = true;
                        t.axis = triple.axis;
                        t.sign = triple.sign;
                        t.strict = false;
                        t.letter = 0;
                        t.languages = triple.languages;
                        k = third;
                        continue;
                    }
                }
                WordInfo pair;
                const auto upper = [&](const Token& w) {
                    for (qsizetype k = w.begin; k < w.end; ++k) {
                        if (!QChar(at(k)).isUpper()) {
                            return false;
                        }
                    }
                    return true;
                };
                if ((pointBetween(t, tokens[next]) || (upper(t) && upper(tokens[next]))) &&
                    t.end - t.begin <= 5 && tokens[next].end - tokens[next].begin <= 5 &&
                    abbreviation(
                        s_.sliced(t.begin, t.end - t.begin),
                        s_.sliced(tokens[next].begin, tokens[next].end - tokens[next].begin),
                        pair)) {
                    t.end = tokens[next].end;
                    t.kind = TokenKind::hemisphere;
                    t.word = WordKind::hemisphere;
                    t.phrase = true;
                    t.axis = pair.axis;
                    t.sign = pair.sign;
                    t.strict = false;
                    t.letter = 0;
                    t.languages = pair.languages;
                    k = next;
                    continue;
                }
                // Fillers stand inside an adjective's phrase.
                std::size_t noun = next;
                if (t.word == WordKind::adjective) {
                    while (noun < tokens.size() && tokens[noun].word == WordKind::filler &&
                           noun + 1 < tokens.size() && adjacent(tokens[noun], tokens[noun + 1])) {
                        ++noun;
                    }
                    while (noun < tokens.size() && isPoint(tokens[noun])) {
                        ++noun;
                    }
                    if (noun >= tokens.size()) {
                        break;
                    }
                }
                if (!joins(t, tokens[noun])) {
                    break;
                }
                merge(t, tokens[noun]);
                k = noun;
            }
            settle(t);
            tokens[out++] = t;
        }
        tokens.resize(out);
    }

    bool joins(const Token& a, const Token& b) const {
        if (!isWordLike(a) || !isWordLike(b)) {
            return false;
        }
        const WordKind ka = a.word;
        const WordKind kb = b.word;
        const bool sameAxis = a.axis == b.axis && a.axis != Axis::unknown;
        if (ka == WordKind::adjective) {
            return sameAxis && (kb == WordKind::noun || kb == WordKind::axisWord);
        }
        if (ka == WordKind::vietAxis) {
            return kb == WordKind::vietDo || (sameAxis && kb == WordKind::hemisphere);
        }
        if (ka == WordKind::hemisphere && a.letter != 0) {
            // "N szer.", "E dł.": the letter keeps its own meaning, the word confirms it.
            return kb == WordKind::axisWord && b.end - b.begin > 1;
        }
        if (ka == WordKind::hemisphere && a.sign != 0) {
            return sameAxis && kb == WordKind::axisWord;
        }
        if (ka == WordKind::axisWord) {
            return sameAxis && kb == WordKind::hemisphere && b.sign != 0 && b.letter == 0;
        }
        return false;
    }

    static void merge(Token& a, const Token& b) {
        const WordKind ka = a.word;
        const WordKind kb = b.word;
        a.end = b.end;
        a.kind = TokenKind::hemisphere;
        a.strict = false;
        a.languages |= b.languages;
        if (a.letter != 0) {
            a.word = WordKind::hemisphere;
            return;
        }
        if (ka == WordKind::vietAxis && kb == WordKind::vietDo) {
            a.word = WordKind::axisWord;
            a.sign = 0;
            return;
        }
        a.sign = a.sign != 0 ? a.sign : b.sign;
        a.word = a.sign != 0 ? WordKind::hemisphere : WordKind::axisWord;
        a.phrase = a.phrase || (ka == WordKind::adjective && a.sign != 0);
    }

    static void settle(Token& t) {
        const WordKind k = t.word;
        if (t.kind != TokenKind::word) {
            return;
        }
        if (k == WordKind::adjective && t.strict) {  // С, Ю, В, З standing alone
            t.kind = TokenKind::hemisphere;
            t.word = WordKind::hemisphere;
        } else if (k == WordKind::adjective || k == WordKind::noun || k == WordKind::vietAxis ||
                   k == WordKind::vietDo) {
            t.word = WordKind::plain;
        }
    }

    QStringView s_;
    TokenLine& line_;
};

}  // namespace

void tokenize(QStringView text, TokenLine& line) {
    // The token list keeps its room from line to line.
    std::vector<Token> tokens = std::move(line.tokens);
    line = TokenLine{};
    line.tokens = std::move(tokens);
    Tokenizer(text, line).run();
}

}  // namespace zelkora
