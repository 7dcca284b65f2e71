#include "coordtext/PointSolver.h"

#include <QStringView>
#include <algorithm>
#include <array>
#include <cmath>

#include "coordtext/LetterSystems.h"
#include "coordtext/Words.h"

namespace zelkora {

namespace {

// Most letters of one chain that may belong to either of two coordinates: each doubles the
// readings tried.
constexpr int kMaxAmbiguous = 6;

bool isThinChar(QChar c) {
    return QStringView(u".()[]{}\"'\u201C\u201D\u2018\u2019\u00AB\u00BB&~*").contains(c);
}

// A degree, minute or second sign that stands apart from any number.
bool isStrayMark(QChar c) {
    return QStringView(u"\u00B0\u00BA\u02DA\u2032\u2033").contains(c);
}

// A point in the making, with the tolerances of its coordinates and the characters it spans.
struct Candidate {
    double lat = 0;
    double lon = 0;
    double latTolerance = 0;
    double lonTolerance = 0;
    qsizetype begin = 0;
    qsizetype end = 0;
    Notation notation = Notation::decimalDegrees;
    bool byMap = false;
};

// The same point within the coarser of the two roundings: a repeat, not a second point.
bool agree(const Candidate& a, const Candidate& b) {
    const auto near = [](double x, double y, double tolerance) {
        return std::fabs(x - y) <= tolerance * (1 + 1e-9) + 1e-12;
    };
    return near(a.lat, b.lat, std::max(a.latTolerance, b.latTolerance)) &&
           near(a.lon, b.lon, std::max(a.lonTolerance, b.lonTolerance));
}

bool morePrecise(const Candidate& a, const Candidate& b) {
    return std::max(a.latTolerance, a.lonTolerance) < std::max(b.latTolerance, b.lonTolerance);
}

// What one pair, or one part that pairs into nothing, gives.
struct Outcome {
    std::optional<Candidate> point;
    NoPointReason reason = NoPointReason::noCoordinates;
    qsizetype begin = 0;
    qsizetype end = 0;
};

// What the letters give one coordinate in one reading.
struct Named {
    Axis axis = Axis::unknown;
    int sign = 0;
    bool named = false;
    bool conflict = false;
    int firstToken = -1;  // the tokens of its letters, for its span
    int lastToken = -1;
};

// A hemisphere token and the coordinates it may belong to.
struct Letter {
    int token = 0;
    int suffixOf = -1;
    int prefixOf = -1;
};

// One way of reading the letters of the line's language.
struct LanguageReading {
    std::array<char16_t, 8> letters{};
    std::array<LetterMeaning, 8> meanings{};
    int count = 0;

    std::optional<LetterMeaning> meaning(char16_t c) const {
        for (int k = 0; k < count; ++k) {
            if (letters[static_cast<std::size_t>(k)] == c) {
                return meanings[static_cast<std::size_t>(k)];
            }
        }
        return std::nullopt;
    }
};

struct ChainReading {
    bool valid = true;
    NoPointReason reason = NoPointReason::noCoordinates;
    std::vector<Outcome> outcomes;
};

class Solver {
  public:
    Solver(const ReadingLine& line, Findings& found, const MapCheck& onMap, LinePoints& result)
        : line_(line),
          coordinates_(found.coordinates),
          points_(found.points),
          onMap_(onMap),
          result_(result) {}

    void run() {
        std::sort(coordinates_.begin(), coordinates_.end(),
                  [](const Coordinate& a, const Coordinate& b) { return a.first < b.first; });
        joinRanges();
        indexCoordinates();
        collectLetters();
        findChains();
        findWhetherOnlyPoints();
        outcomes_.clear();
        for (std::size_t k = 0; k + 1 < chainStarts_.size(); ++k) {
            solveChain(chainStarts_[k], chainStarts_[k + 1]);
        }
        for (const FoundPoint& p : points_) {
            Outcome o{std::nullopt, p.bad.value_or(NoPointReason::noCoordinates), p.begin, p.end};
            if (!p.bad) {
                o.point = Candidate{p.lat,   p.lon, p.tolerance, p.tolerance,
                                    p.begin, p.end, p.notation,  false};
            }
            outcomes_.push_back(o);
        }
        finish();
    }

  private:
    const Token& token(int i) const { return line_.token(i); }
    int tokenCount() const { return line_.tokenCount(); }
    QChar firstChar(const Token& t) const { return line_.tokens.text[t.begin]; }

    bool isFiller(const Token& t) const {
        return t.kind == TokenKind::word && t.word == WordKind::filler;
    }

    // A one-character word of Chinese or Japanese between an axis and its number: 纬度为39.92.
    bool isParticle(const Token& t) const {
        return t.kind == TokenKind::word && t.end - t.begin == 1 && isCjk(firstChar(t).unicode());
    }

    bool isThin(const Token& t) const {
        return t.kind == TokenKind::other && t.end - t.begin == 1 && isThinChar(firstChar(t));
    }

    // A dash or a range word between two coordinates, or "between … and", joins them into a
    // range.
    void joinRanges() {
        for (std::size_t k = 0; k + 1 < coordinates_.size();) {
            Coordinate& a = coordinates_[k];
            const Coordinate& b = coordinates_[k + 1];
            if (!rangeBetween(a, b)) {
                ++k;
                continue;
            }
            a.last = b.last;
            a.range = true;
            a.bad.reset();
            coordinates_.erase(coordinates_.begin() + static_cast<std::ptrdiff_t>(k + 1));
        }
    }

    bool rangeBetween(const Coordinate& a, const Coordinate& b) const {
        int joints = 0;
        bool connector = false;
        for (int i = a.last + 1; i < b.first; ++i) {
            const Token& t = token(i);
            if (t.kind == TokenKind::other) {
                continue;
            }
            if (t.kind == TokenKind::dash || t.kind == TokenKind::rangeWord) {
                ++joints;
            } else if (t.kind == TokenKind::word && t.word == WordKind::connector) {
                connector = true;
            } else if (t.kind != TokenKind::hemisphere) {
                return false;
            } else {
                joints += 2;  // a letter between: "43°07'N - 131°28'E" is a pair
            }
        }
        if (joints == 1 && !connector) {
            return true;
        }
        if (joints == 0 && connector) {
            // "between 44°10′ and 48°30′", "между … и …".
            int before = a.first - 1;
            while (before >= 0 && (token(before).kind == TokenKind::other ||
                                   token(before).kind == TokenKind::label)) {
                --before;
            }
            return before >= 0 && token(before).word == WordKind::rangeOpening;
        }
        return false;
    }

    void indexCoordinates() {
        atFirst_.assign(static_cast<std::size_t>(tokenCount()), -1);
        atLast_.assign(static_cast<std::size_t>(tokenCount()), -1);
        for (std::size_t c = 0; c < coordinates_.size(); ++c) {
            atFirst_[static_cast<std::size_t>(coordinates_[c].first)] = static_cast<int>(c);
            atLast_[static_cast<std::size_t>(coordinates_[c].last)] = static_cast<int>(c);
        }
    }

    bool standsFree(int i) const {
        int before = i - 1;
        while (before >= 0 && token(before).kind == TokenKind::other) {
            --before;
        }
        return before < 0 || token(before).kind != TokenKind::word;
    }

    void collectLetters() {
        letters_.clear();
        for (int i = 0; i < tokenCount(); ++i) {
            const Token& h = token(i);
            if (h.kind != TokenKind::hemisphere || line_.evidence.against(i) != NotCoordinate::no ||
                line_.evidence.claimed(i)) {
                continue;
            }
            Letter letter;
            letter.token = i;
            // A suffix: right after a coordinate's last number, or after its comma in NMEA
            // fields ("4807.038,N").
            // Past thin marks and the small words between a number and its name ("2,16 grados
            // de latitud sur").
            int before = i - 1;
            while (before >= 0 && (isThin(token(before)) || isFiller(token(before)))) {
                --before;
            }
            if (before >= 0 && token(before).kind == TokenKind::separator &&
                token(before).begin == (before > 0 ? token(before - 1).end : -1) &&
                token(before).end == h.begin && firstChar(token(before)) == u',') {
                --before;
            }
            if (before >= 0) {
                letter.suffixOf = atLast_[static_cast<std::size_t>(before)];
            }
            // A prefix: right before a coordinate's first number, at the line's start or after
            // a separator, a label or another coordinate when the letter could be a word.
            int after = i + 1;
            while (after < tokenCount() &&
                   (isThin(token(after)) || token(after).kind == TokenKind::label ||
                    isParticle(token(after)))) {
                ++after;
            }
            // Written against the digits (N56, E044), or before marked degrees or a decimal of
            // three places or more ("bei N 50°40.740", "är N 55,988600") it names them wherever
            // it stands; before a whole number after a word it may be a road's or a vitamin's
            // letter (E 45).
            const bool glued = after == i + 1 && after < tokenCount() &&
                               token(after).begin == h.end &&
                               atFirst_[static_cast<std::size_t>(after)] >= 0;
            const bool marked =
                after < tokenCount() && h.end - h.begin == 1 &&
                (token(after).unit == Unit::degrees ||
                 (token(after).kind == TokenKind::number && token(after).decimals >= 3));
            if (after < tokenCount() && (!h.strict || glued || marked || standsFree(i))) {
                letter.prefixOf = atFirst_[static_cast<std::size_t>(after)];
            }
            // A letter written against one number and apart from the other belongs to the one
            // it touches: 481516с 0464817в, N35 47 42.7 E127.
            const bool gluedBefore = i > 0 && token(i - 1).end == h.begin &&
                                     atLast_[static_cast<std::size_t>(i - 1)] >= 0;
            if (letter.suffixOf >= 0 && letter.prefixOf >= 0 && gluedBefore != glued) {
                (gluedBefore ? letter.prefixOf : letter.suffixOf) = -1;
            }
            if (letter.suffixOf >= 0 || letter.prefixOf >= 0) {
                letters_.push_back(letter);
            }
        }
        // A phrase such as "с. ш." or "s. sh." follows its number, unless the line writes its
        // phrases before their numbers ("з. д. 70°40′ ю. ш. 33°27′").
        bool before = false;
        for (const Letter& l : letters_) {
            before = before || (token(l.token).phrase && l.suffixOf < 0 && l.prefixOf >= 0);
        }
        for (Letter& l : letters_) {
            if (!before && token(l.token).phrase && l.suffixOf >= 0) {
                l.prefixOf = -1;
            }
        }
    }

    // The readings of a chain's letters: the letter systems that write every letter the
    // chain gives a coordinate, narrowed by the words of a language where they tell, grouped by
    // what they make of the letters.
    void findLanguage() {
        languages_.clear();
        LanguageReading letters;
        for (const Letter& l : chainLetters_) {
            const char16_t c = token(l.token).letter;
            if (c != 0 && !letters.meaning(c) && letters.count < 8) {
                letters.letters[static_cast<std::size_t>(letters.count++)] = c;
                letters.meanings[static_cast<std::size_t>(letters.count - 1)] = {};
            }
        }
        if (letters.count == 0) {
            languages_.push_back(letters);
            return;
        }
        LetterSystems consistent;
        consistent.set();
        for (int k = 0; k < letters.count; ++k) {
            consistent &= systemsWriting(letters.letters[static_cast<std::size_t>(k)]);
        }
        if (!votesFound_) {
            votesFound_ = true;
            votes_.reset();
            for (const Token& t : line_.tokens.tokens) {
                votes_ |= t.languages;
            }
        }
        const LetterSystems& votes = votes_;
        if ((consistent & votes).any()) {
            consistent &= votes;
        }
        // N, S, E and W mean what they mean in English unless a letter or a word of the line
        // shows another language.
        const auto international = static_cast<std::size_t>(LetterSystem::international);
        if (consistent.test(international)) {
            consistent.reset();
            consistent.set(international);
        }
        for (std::size_t s = 0; s < consistent.size(); ++s) {
            if (!consistent.test(s)) {
                continue;
            }
            LanguageReading reading = letters;
            for (int k = 0; k < reading.count; ++k) {
                reading.meanings[static_cast<std::size_t>(k)] = *letterMeaning(
                    reading.letters[static_cast<std::size_t>(k)], static_cast<LetterSystem>(s));
            }
            const bool known = std::any_of(
                languages_.begin(), languages_.end(), [&](const LanguageReading& other) {
                    for (int k = 0; k < reading.count; ++k) {
                        const auto& a = reading.meanings[static_cast<std::size_t>(k)];
                        const auto& b = other.meanings[static_cast<std::size_t>(k)];
                        if (a.axis != b.axis || a.sign != b.sign) {
                            return false;
                        }
                    }
                    return true;
                });
            if (!known) {
                languages_.push_back(reading);
            }
        }
    }

    // A token that may stand between two coordinates of one chain.
    bool joins(int i) const {
        const Token& t = token(i);
        if (line_.evidence.claimed(i)) {
            return false;
        }
        switch (t.kind) {
            case TokenKind::separator:
            case TokenKind::label:
            case TokenKind::dash:
            case TokenKind::rangeWord:
            case TokenKind::hemisphere:
                return true;
            case TokenKind::word:
                // "and", "de", and the one-character particles of Chinese and Japanese (は, 为).
                return t.word == WordKind::connector || t.word == WordKind::filler ||
                       (t.end - t.begin == 1 && isCjk(firstChar(t).unicode()));
            case TokenKind::other:
                // Arithmetic parts numbers: "116 + 20.12 / 60".
                return !isStrayMark(firstChar(t)) &&
                       !QStringView(u"+*\u00D7\u00F7").contains(firstChar(t));
            default:
                return false;
        }
    }

    // A bare number that no letter touches at a chain's end: a footnote, a count, an easting
    // in the next cell of a table ("…65°20'44.4193"w | 252216.695").
    bool isStray(std::size_t c) const {
        const Coordinate& coordinate = coordinates_[c];
        if (coordinate.first != coordinate.last || coordinate.support != Support::none ||
            coordinate.bad || coordinate.range || coordinate.axis != Axis::unknown) {
            return false;
        }
        const auto letter = [&](int i) {
            while (i >= 0 && i < tokenCount() && isThin(token(i))) {
                i += i < coordinate.first ? -1 : 1;
            }
            return i >= 0 && i < tokenCount() && token(i).kind == TokenKind::hemisphere;
        };
        const Token& t = token(coordinate.first);
        const bool footnote = t.kind == TokenKind::number && t.decimals == 0 && t.intDigits <= 2 &&
                              t.unit == Unit::none && !t.negative;
        return footnote || (!letter(coordinate.first - 1) && !letter(coordinate.last + 1));
    }

    void findChains() {
        chainStarts_.clear();
        for (std::size_t c = 0; c < coordinates_.size(); ++c) {
            // A part that reads as none stands alone: the pairs beside it still pair.
            bool joined = c > 0 && !coordinates_[c].bad && !coordinates_[c - 1].bad;
            if (joined) {
                for (int i = coordinates_[c - 1].last + 1; i < coordinates_[c].first; ++i) {
                    if (!joins(i)) {
                        joined = false;
                        break;
                    }
                }
            }
            if (!joined) {
                chainStarts_.push_back(c);
            }
        }
        chainStarts_.push_back(coordinates_.size());
        // An odd chain whose end is a stray number ("48°43' N, 21°15' E 5") pairs without it.
        for (std::size_t k = 0; k + 1 < chainStarts_.size(); ++k) {
            const std::size_t b = chainStarts_[k];
            const std::size_t e = chainStarts_[k + 1];
            if (e - b < 3 || (e - b) % 2 == 0) {
                continue;
            }
            if (isStray(e - 1)) {
                chainStarts_.insert(chainStarts_.begin() + static_cast<std::ptrdiff_t>(k + 1),
                                    e - 1);
                ++k;
            } else if (isStray(b)) {
                chainStarts_.insert(chainStarts_.begin() + static_cast<std::ptrdiff_t>(k + 1),
                                    b + 1);
                ++k;
            }
        }
    }

    // Whether the line holds nothing but points: no number is left unexplained (outside every
    // coordinate, or in a chain that pairs into nothing) and no mark stands apart.
    void findWhetherOnlyPoints() {
        onlyPoints_ = true;
        std::vector<char>& covered = covered_;
        covered.assign(static_cast<std::size_t>(tokenCount()), 0);
        for (std::size_t k = 0; k + 1 < chainStarts_.size(); ++k) {
            const std::size_t b = chainStarts_[k];
            const std::size_t e = chainStarts_[k + 1];
            bool pairs = (e - b) % 2 == 0;
            for (std::size_t c = b; c < e; ++c) {
                pairs = pairs && !coordinates_[c].bad;
            }
            if (!pairs) {
                continue;
            }
            for (std::size_t c = b; c < e; ++c) {
                for (int i = coordinates_[c].first; i <= coordinates_[c].last; ++i) {
                    covered[static_cast<std::size_t>(i)] = 1;
                }
            }
        }
        hasWords_ = false;
        for (int i = 0; i < tokenCount(); ++i) {
            const Token& t = token(i);
            hasWords_ = hasWords_ || (t.kind == TokenKind::word &&
                                      (t.word == WordKind::plain || t.word == WordKind::common) &&
                                      !line_.evidence.claimed(i));
        }
        for (int i = 0; i < tokenCount(); ++i) {
            const Token& t = token(i);
            if ((t.isNumber() && line_.evidence.usable(line_.tokens, i) &&
                 !covered[static_cast<std::size_t>(i)]) ||
                (t.kind == TokenKind::other && isStrayMark(firstChar(t)))) {
                onlyPoints_ = false;
                return;
            }
        }
    }

    // Only blanks, separators, letters and symbols between two coordinates: no word, no "and",
    // no bar between a table's cells.
    bool separatedOnly(const Coordinate& a, const Coordinate& b) const {
        for (int i = a.last + 1; i < b.first; ++i) {
            const Token& t = token(i);
            if ((t.kind != TokenKind::separator && t.kind != TokenKind::hemisphere &&
                 t.kind != TokenKind::other) ||
                (t.kind == TokenKind::separator && firstChar(t) == u'|' && hasWords_)) {
                return false;
            }
        }
        return true;
    }

    // Whether the numbers of a pair read by the line's own evidence look like one pair: whole
    // numbers only where the line holds no words ("26 022 (2011)" is a count), and one decimal
    // separator for both ("1.27 | 144,3" are two columns).
    bool writtenAlike(const Coordinate& a, const Coordinate& b) const {
        const auto decimalChar = [&](const Coordinate& c) -> QChar {
            for (int i = c.first; i <= c.last; ++i) {
                const Token& t = token(i);
                if (t.decimals > 0) {
                    return line_.tokens
                        .text[t.begin + (t.negative || t.plus ? 1 : 0) + t.intDigits];
                }
            }
            return QChar();
        };
        const QChar da = decimalChar(a);
        const QChar db = decimalChar(b);
        if (!da.isNull() && !db.isNull() && da != db) {
            return false;
        }
        // Among words both are written with decimals: "1,11 км2 (0,43 кв. Мили)" and
        // "POWER(0.3048,2)" are no pair.
        return !(hasWords_ && (da.isNull() || db.isNull()));
    }

    // A lower-case word no table knows, right after a coordinate that no letter names: it may
    // name the hemisphere in a language the rules lack ("западне").
    bool unknownWordAfter(int last) const {
        int i = last + 1;
        while (i < tokenCount() && isThin(token(i))) {
            ++i;
        }
        if (i >= tokenCount()) {
            return false;
        }
        const Token& t = token(i);
        return t.kind == TokenKind::word && t.word == WordKind::plain && t.languages.none() &&
               t.end - t.begin >= 2 && firstChar(t).isLower();
    }

    void solveChain(std::size_t b, std::size_t e) {
        // The letters of the chain, and those that may belong to either of two coordinates.
        const auto inChain = [&](int c) {
            return c >= static_cast<int>(b) && c < static_cast<int>(e);
        };
        chainLetters_.clear();
        std::vector<int> ambiguous;
        for (const Letter& l : letters_) {
            const Letter inner{l.token, inChain(l.suffixOf) ? l.suffixOf : -1,
                               inChain(l.prefixOf) ? l.prefixOf : -1};
            if (inner.suffixOf < 0 && inner.prefixOf < 0) {
                continue;
            }
            if (inner.suffixOf >= 0 && inner.prefixOf >= 0) {
                ambiguous.push_back(static_cast<int>(chainLetters_.size()));
            }
            chainLetters_.push_back(inner);
        }
        const qsizetype chainBegin = token(coordinates_[b].first).begin;
        const qsizetype chainEnd = token(coordinates_[e - 1].last).end;
        if (static_cast<int>(ambiguous.size()) > kMaxAmbiguous) {
            outcomes_.push_back(
                {std::nullopt, NoPointReason::ambiguousLetter, chainBegin, chainEnd});
            return;
        }
        bool usesLetters = false;
        for (const Letter& l : chainLetters_) {
            usesLetters = usesLetters || token(l.token).letter != 0;
        }
        if (usesLetters) {
            findLanguage();
        }
        std::vector<ChainReading> readings;
        std::vector<int> readingLanguage;
        std::optional<NoPointReason> firstReason;
        const std::size_t languageCount = usesLetters ? languages_.size() : 1;
        if (languageCount == 0) {
            outcomes_.push_back(
                {std::nullopt, NoPointReason::unreadableLetter, chainBegin, chainEnd});
            return;
        }
        for (std::size_t language = 0; language < languageCount; ++language) {
            for (unsigned mask = 0; mask < (1u << ambiguous.size()); ++mask) {
                static const LanguageReading kNoLetters;
                const LanguageReading& letters = usesLetters ? languages_[language] : kNoLetters;
                ChainReading reading = readChain(b, e, letters, ambiguous, mask);
                if (!reading.valid) {
                    firstReason = firstReason ? firstReason : reading.reason;
                    continue;
                }
                readings.push_back(std::move(reading));
                readingLanguage.push_back(static_cast<int>(language));
            }
        }
        if (readings.empty()) {
            outcomes_.push_back({std::nullopt, firstReason.value_or(NoPointReason::noCoordinates),
                                 chainBegin, chainEnd});
            return;
        }
        // The distinct readings.
        std::vector<std::size_t> distinct;
        for (std::size_t r = 0; r < readings.size(); ++r) {
            const bool same = std::any_of(distinct.begin(), distinct.end(), [&](std::size_t d) {
                return sameOutcomes(readings[d], readings[r]);
            });
            if (!same) {
                distinct.push_back(r);
            }
        }
        if (distinct.size() == 1) {
            append(readings[distinct[0]].outcomes, false);
            return;
        }
        // Readings that differ only by the language of their letters (each language reads the
        // chain one way): the one on the map.
        bool languagesOnly = true;
        for (std::size_t r = 0; r < readings.size() && languagesOnly; ++r) {
            for (std::size_t q = r + 1; q < readings.size(); ++q) {
                if (readingLanguage[q] == readingLanguage[r] &&
                    !sameOutcomes(readings[q], readings[r])) {
                    languagesOnly = false;
                    break;
                }
            }
        }
        if (languagesOnly && onMap_) {
            std::vector<std::size_t> onMap;
            for (const std::size_t d : distinct) {
                const auto& outcomes = readings[d].outcomes;
                const bool all =
                    std::all_of(outcomes.begin(), outcomes.end(), [&](const Outcome& o) {
                        return o.point && onMap_(o.point->lat, o.point->lon);
                    });
                if (all) {
                    onMap.push_back(d);
                }
            }
            if (onMap.size() == 1) {
                append(readings[onMap[0]].outcomes, true);
                return;
            }
        }
        outcomes_.push_back(
            {std::nullopt,
             languagesOnly ? NoPointReason::unreadableLetter : NoPointReason::ambiguousLetter,
             chainBegin, chainEnd});
    }

    static bool sameOutcomes(const ChainReading& a, const ChainReading& b) {
        if (a.outcomes.size() != b.outcomes.size()) {
            return false;
        }
        for (std::size_t k = 0; k < a.outcomes.size(); ++k) {
            const Outcome& x = a.outcomes[k];
            const Outcome& y = b.outcomes[k];
            if (x.point.has_value() != y.point.has_value()) {
                return false;
            }
            if (x.point && !agree(*x.point, *y.point)) {
                return false;
            }
            if (!x.point && x.reason != y.reason) {
                return false;
            }
        }
        return true;
    }

    void append(const std::vector<Outcome>& outcomes, bool byMap) {
        for (Outcome o : outcomes) {
            if (o.point) {
                o.point->byMap = byMap;
            }
            outcomes_.push_back(o);
        }
    }

    ChainReading readChain(std::size_t b, std::size_t e, const LanguageReading& language,
                           const std::vector<int>& ambiguous, unsigned mask) const {
        ChainReading reading;
        std::vector<Named>& named = named_;
        named.assign(e - b, Named{});
        for (std::size_t k = 0; k < chainLetters_.size(); ++k) {
            const Letter& l = chainLetters_[k];
            int target = l.suffixOf >= 0 ? l.suffixOf : l.prefixOf;
            if (l.suffixOf >= 0 && l.prefixOf >= 0) {
                const std::size_t which = static_cast<std::size_t>(
                    std::find(ambiguous.begin(), ambiguous.end(), static_cast<int>(k)) -
                    ambiguous.begin());
                target = (mask >> which) & 1u ? l.prefixOf : l.suffixOf;
            }
            const Token& h = token(l.token);
            Axis axis = h.axis;
            int sign = h.sign;
            if (h.letter != 0) {
                const auto meaning = language.meaning(h.letter);
                if (!meaning) {
                    reading.valid = false;
                    reading.reason = NoPointReason::unreadableLetter;
                    return reading;
                }
                axis = meaning->axis;
                sign = meaning->sign;
            }
            Named& n = named[static_cast<std::size_t>(target) - b];
            n.named = true;
            n.firstToken = n.firstToken < 0 ? l.token : std::min(n.firstToken, l.token);
            n.lastToken = std::max(n.lastToken, l.token);
            if (axis != Axis::unknown) {
                n.conflict = n.conflict || (n.axis != Axis::unknown && n.axis != axis);
                n.axis = axis;
            }
            if (sign != 0) {
                n.conflict = n.conflict || n.sign != 0;
                n.sign = sign;
            }
        }
        for (std::size_t c = b; c < e; ++c) {
            const Coordinate& coordinate = coordinates_[c];
            Named& n = named[c - b];
            if (coordinate.axis != Axis::unknown) {
                n.conflict = n.conflict || (n.axis != Axis::unknown && n.axis != coordinate.axis) ||
                             (n.sign != 0 && coordinate.sign != 0);
                n.axis = coordinate.axis;
                n.sign = n.sign != 0 ? n.sign : coordinate.sign;
                n.named = true;
            }
        }
        for (const Named& n : named) {
            if (n.conflict) {
                reading.valid = false;
                reading.reason = NoPointReason::sameAxisTwice;
                return reading;
            }
        }
        const std::size_t count = e - b;
        const auto span = [&](std::size_t c, bool start) {
            const Coordinate& coordinate = coordinates_[c];
            const Named& n = named[c - b];
            if (start) {
                const int first =
                    n.firstToken >= 0 ? std::min(n.firstToken, coordinate.first) : coordinate.first;
                return token(first).begin;
            }
            const int last = std::max(n.lastToken, coordinate.last);
            return token(last).end;
        };
        std::optional<NoPointReason> bad;
        for (std::size_t c = b; c < e; ++c) {
            if (coordinates_[c].bad) {
                bad = bad ? bad : coordinates_[c].bad;
            }
        }
        // A list of corners written latitude first, cut after a latitude: the pairs before it
        // still stand.
        if (!bad && count % 2 != 0 && count >= 3) {
            bool listed = named[count - 1].axis == Axis::latitude;
            for (std::size_t c = 0; c + 1 < count && listed; c += 2) {
                listed = named[c].axis == Axis::latitude && named[c + 1].axis == Axis::longitude;
            }
            if (listed) {
                for (std::size_t c = b; c + 1 < e; c += 2) {
                    reading.outcomes.push_back(pair(c, c + 1, named[c - b], named[c + 1 - b],
                                                    span(c, true), span(c + 1, false)));
                }
                reading.outcomes.push_back(
                    {std::nullopt, NoPointReason::oneAxis, span(e - 1, true), span(e - 1, false)});
                return reading;
            }
        }
        if (bad || count % 2 != 0) {
            NoPointReason reason = bad.value_or(NoPointReason::badNumbers);
            if (!bad && count == 1) {
                const Coordinate& only = coordinates_[b];
                // A lone decimal may be half a point; a lone whole number is a count or a label.
                const bool decimal = token(only.first).decimals > 0;
                reason = only.range ? NoPointReason::range
                         : named[0].named || only.support != Support::none || decimal
                             ? NoPointReason::oneAxis
                             : NoPointReason::noCoordinates;
            }
            reading.outcomes.push_back({std::nullopt, reason, span(b, true), span(e - 1, false)});
            return reading;
        }
        for (std::size_t c = b; c < e; c += 2) {
            reading.outcomes.push_back(
                pair(c, c + 1, named[c - b], named[c + 1 - b], span(c, true), span(c + 1, false)));
        }
        return reading;
    }

    Outcome pair(std::size_t a, std::size_t b, const Named& namedA, const Named& namedB,
                 qsizetype begin, qsizetype end) const {
        Outcome o{std::nullopt, NoPointReason::noCoordinates, begin, end};
        const Coordinate* first = &coordinates_[a];
        const Coordinate* second = &coordinates_[b];
        if (first->range || second->range) {
            o.reason = NoPointReason::range;
            return o;
        }
        const Named* nf = &namedA;
        const Named* ns = &namedB;
        if (nf->axis != Axis::unknown && nf->axis == ns->axis) {
            o.reason = NoPointReason::sameAxisTwice;
            return o;
        }
        // "16°31′ i 17°06′ istočne dužine": a word after "and" may name both numbers, so a pair
        // joined by "and" needs both named.
        for (int i = first->last + 1; i < second->first; ++i) {
            if (token(i).kind == TokenKind::word && token(i).word == WordKind::connector &&
                !(nf->named && ns->named)) {
                o.reason = NoPointReason::ambiguousLetter;
                return o;
            }
        }
        const auto support = [](const Coordinate& c, const Named& n) {
            return n.named ? Support::named : c.support;
        };
        // A table's cells hold a coordinate each, and only letters tell which: "13° 38′ 2″ |
        // 50° 31′ 14″" is longitude first on its page.
        if (!nf->named && !ns->named) {
            for (int i = first->last + 1; i < second->first; ++i) {
                if (token(i).kind == TokenKind::separator && firstChar(token(i)) == u'|') {
                    o.reason = NoPointReason::noEvidence;
                    return o;
                }
            }
        }
        if (!pairHasEvidence(
                support(*first, *nf), support(*second, *ns),
                onlyPoints_ && separatedOnly(*first, *second) && writtenAlike(*first, *second))) {
            o.reason = NoPointReason::noEvidence;
            return o;
        }
        if ((!nf->named && unknownWordAfter(first->last)) ||
            (!ns->named && unknownWordAfter(second->last))) {
            o.reason = NoPointReason::unknownWord;
            return o;
        }
        if (nf->axis == Axis::longitude || ns->axis == Axis::latitude) {
            std::swap(first, second);
            std::swap(nf, ns);
        }
        bool ok = true;
        const auto value = [&](const Coordinate& c, const Named& n) {
            bool negative = c.negative;
            if (n.sign < 0) {
                negative = true;
            } else if (n.sign > 0 && negative && c.degrees != 0) {
                ok = false;  // a minus sign and N or E
            }
            return negative ? -c.degrees : c.degrees;
        };
        Candidate p;
        p.lat = value(*first, *nf);
        p.lon = value(*second, *ns);
        if (!ok) {
            o.reason = NoPointReason::badNumbers;
            return o;
        }
        if (!first->latitudePossible || !(std::fabs(p.lat) <= 90) || !(std::fabs(p.lon) <= 360)) {
            o.reason = NoPointReason::outOfRange;
            return o;
        }
        p.latTolerance = first->tolerance;
        p.lonTolerance = second->tolerance;
        p.begin = begin;
        p.end = end;
        p.notation = std::max(first->notation, second->notation);
        o.point = p;
        return o;
    }

    // In the order of the text; a point right after the same point (its repeat in another
    // form) is one point, kept in its most precise form.
    void finish() {
        std::stable_sort(outcomes_.begin(), outcomes_.end(),
                         [](const Outcome& a, const Outcome& b) { return a.begin < b.begin; });
        result_.points.clear();
        result_.unread.clear();
        kept_.clear();
        Candidate last;
        bool hasLast = false;
        std::optional<NoPointReason> firstReason;
        bool range = false;
        // A repeat whose letters say the other hemisphere ("8°11′54″ E / 8,19833° O" where O is
        // read as west) contradicts its point: neither is taken, nor any further repeat.
        Candidate contradicted;
        bool hasContradiction = false;
        const auto magnitude = [](Candidate c) {
            c.lat = std::fabs(c.lat);
            c.lon = std::fabs(c.lon);
            return c;
        };
        for (const Outcome& o : outcomes_) {
            if (!o.point) {
                result_.unread.push_back({TextSpan{o.begin, o.end - o.begin}, o.reason});
                firstReason = firstReason ? firstReason : o.reason;
                range = range || o.reason == NoPointReason::range;
                continue;
            }
            const Candidate p = *o.point;
            const TextSpan span{p.begin, p.end - p.begin};
            if (hasContradiction && agree(contradicted, magnitude(p))) {
                result_.unread.push_back({span, NoPointReason::unreadableLetter});
                continue;
            }
            hasContradiction = false;
            if (hasLast && !agree(last, p) && agree(magnitude(last), magnitude(p))) {
                for (const TextSpan& s : result_.points.back().spans) {
                    result_.unread.push_back({s, NoPointReason::unreadableLetter});
                }
                result_.unread.push_back({span, NoPointReason::unreadableLetter});
                firstReason = firstReason ? firstReason : NoPointReason::unreadableLetter;
                result_.points.pop_back();
                kept_.pop_back();
                contradicted = magnitude(p);
                hasContradiction = true;
                hasLast = false;
                continue;
            }
            // The same point again, right after in another form or later in the line (a second
            // specimen from one place, a polygon closed on its first corner), is one point.
            bool merged = false;
            for (std::size_t k = 0; k < kept_.size(); ++k) {
                if (!agree(kept_[k], p)) {
                    continue;
                }
                // Each coordinate from the form that writes it most finely: 49°21′10″ and
                // 49,3529 give the decimal's latitude, 21°13′48″ and 21,23 the seconds' longitude.
                LinePoint& point = result_.points[k];
                Candidate& kept = kept_[k];
                point.spans.push_back(span);
                point.byMap = point.byMap || p.byMap;
                if (morePrecise(p, kept)) {
                    point.notation = p.notation;
                }
                if (p.latTolerance < kept.latTolerance) {
                    kept.lat = p.lat;
                    kept.latTolerance = p.latTolerance;
                }
                if (p.lonTolerance < kept.lonTolerance) {
                    kept.lon = p.lon;
                    kept.lonTolerance = p.lonTolerance;
                }
                point.lat = kept.lat;
                point.lon = kept.lon;
                merged = true;
                break;
            }
            last = p;
            hasLast = true;
            if (!merged) {
                kept_.push_back(p);
                result_.points.push_back(LinePoint{p.lat, p.lon, p.notation, {span}, p.byMap});
            }
        }
        result_.reason =
            range ? NoPointReason::range : firstReason.value_or(NoPointReason::noCoordinates);
    }

    const ReadingLine& line_;
    std::vector<Coordinate>& coordinates_;
    const std::vector<FoundPoint>& points_;
    const MapCheck& onMap_;
    LinePoints& result_;

    std::vector<int> atFirst_;
    std::vector<int> atLast_;
    std::vector<Letter> letters_;
    std::vector<Letter> chainLetters_;
    std::vector<LanguageReading> languages_;
    std::vector<std::size_t> chainStarts_;
    std::vector<char> covered_;
    std::vector<Outcome> outcomes_;
    std::vector<Candidate> kept_;  // the points kept, with their tolerances
    bool onlyPoints_ = true;
    bool hasWords_ = false;
    bool votesFound_ = false;
    LetterSystems votes_;
    mutable std::vector<Named> named_;
};

}  // namespace

void solvePoints(const ReadingLine& line, Findings& found, const MapCheck& onMap,
                 LinePoints& result) {
    Solver(line, found, onMap, result).run();
}

}  // namespace zelkora
