#include "coordtext/Normaliser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "coordtext/BareNumberReader.h"
#include "coordtext/BlockReader.h"
#include "coordtext/ColonReader.h"
#include "coordtext/DottedReader.h"
#include "coordtext/GeoJsonReader.h"
#include "coordtext/GeoUriReader.h"
#include "coordtext/Iso6709Reader.h"
#include "coordtext/KmlReader.h"
#include "coordtext/MapLinkReader.h"
#include "coordtext/MarkedReader.h"
#include "coordtext/NmeaReader.h"
#include "coordtext/NonCoordinates.h"
#include "coordtext/ShipReportReader.h"
#include "coordtext/Tokenizer.h"
#include "coordtext/WktReader.h"

namespace zelkora {

QString noPointReasonText(NoPointReason reason) {
    switch (reason) {
        case NoPointReason::noCoordinates:
            return QStringLiteral("в строке нет координат");
        case NoPointReason::oneAxis:
            return QStringLiteral("в строке только одна координата, нужны широта и долгота");
        case NoPointReason::badNumbers:
            return QStringLiteral("числа не складываются в координаты");
        case NoPointReason::outOfRange:
            return QStringLiteral("широта больше 90° или долгота больше 360°");
        case NoPointReason::sameAxisTwice:
            return QStringLiteral("две широты или две долготы");
        case NoPointReason::unreadableLetter:
            return QStringLiteral("полушарие не понять (O, T, N рядом с Đ)");
        case NoPointReason::ambiguousLetter:
            return QStringLiteral("буква полушария может относиться к двум числам");
        case NoPointReason::range:
            return QStringLiteral("в строке диапазон или выбор значений");
        case NoPointReason::severalPoints:
            return QStringLiteral("в строке разные точки");
        case NoPointReason::badChecksum:
            return QStringLiteral("строка NMEA с неверной контрольной суммой или без решения");
        case NoPointReason::tooLong:
            return QStringLiteral("строка слишком длинная для одной точки");
    }
    return {};
}

bool isBlankLine(QStringView line) {
    for (const QChar c : line) {
        if (!c.isSpace() && c != u'\u200B' && c != u'\uFEFF') {
            return false;
        }
    }
    return true;
}

namespace {

// Formats that fix the order themselves come first and claim their characters; then the
// notations of single coordinates.
const std::array<const NotationReader*, 13>& readers() {
    static const NmeaReader nmea;
    static const KmlReader kml;
    static const GeoJsonReader geoJson;
    static const WktReader wkt;
    static const GeoUriReader geoUri;
    static const MapLinkReader mapLink;
    static const Iso6709Reader iso6709;
    static const ShipReportReader shipReport;
    static const MarkedReader marked;
    static const BlockReader block;
    static const ColonReader colon;
    static const DottedReader dotted;
    static const BareNumberReader bare;
    static const std::array<const NotationReader*, 13> all = {
        &nmea,       &kml,    &geoJson, &wkt,   &geoUri, &mapLink, &iso6709,
        &shipReport, &marked, &block,   &colon, &dotted, &bare};
    return all;
}

// Most letters and lone numbers a line may leave open: each doubles the readings tried.
constexpr int kMaxChoices = 12;

struct Candidate {
    double lat = 0;
    double lon = 0;
    double latTolerance = 0;
    double lonTolerance = 0;
};

bool agree(const Candidate& a, const Candidate& b) {
    constexpr double kSlack = 1e-9;
    return std::fabs(a.lat - b.lat) <= a.latTolerance + b.latTolerance + kSlack &&
           std::fabs(a.lon - b.lon) <= a.lonTolerance + b.lonTolerance + kSlack;
}

bool morePrecise(const Candidate& a, const Candidate& b) {
    return std::max(a.latTolerance, a.lonTolerance) < std::max(b.latTolerance, b.lonTolerance);
}

// A hemisphere token and the coordinates it may belong to.
struct Letter {
    int token = 0;
    int suffixOf = -1;
    int prefixOf = -1;
};

// What the letters give one coordinate in one reading.
struct Named {
    Axis axis = Axis::unknown;
    int sign = 0;
    bool named = false;
    bool conflict = false;
};

struct Outcome {
    std::optional<Candidate> point;
    NoPointReason reason = NoPointReason::noCoordinates;
};

// A dash or a range word right between two numbers that are coordinates' own: a range, or a
// choice of values.
bool holdsRange(const TokenLine& line) {
    const auto& tokens = line.tokens;
    const int n = static_cast<int>(tokens.size());
    const auto token = [&](int i) -> const Token& { return tokens[static_cast<std::size_t>(i)]; };
    for (int i = 0; i < n; ++i) {
        const Token& t = token(i);
        if ((t.kind != TokenKind::dash && t.kind != TokenKind::rangeWord) || t.claimed) {
            continue;
        }
        int before = i - 1;
        while (before >= 0 && token(before).kind == TokenKind::other) {
            --before;
        }
        int after = i + 1;
        while (after < n && token(after).kind == TokenKind::other) {
            ++after;
        }
        if (before >= 0 && after < n && token(before).isNumber() && token(after).isNumber() &&
            !token(before).ignored && !token(after).ignored && !token(before).claimed &&
            !token(after).claimed) {
            return true;
        }
    }
    return false;
}

class Solver {
  public:
    Solver(const TokenLine& line, const Findings& found) : line_(line), found_(found) {}

    LineReading solve() {
        if (const auto refusal = collectLetters()) {
            return {std::nullopt, *refusal};
        }
        std::vector<int> ambiguous;
        for (std::size_t k = 0; k < letters_.size(); ++k) {
            if (letters_[k].suffixOf >= 0 && letters_[k].prefixOf >= 0) {
                ambiguous.push_back(static_cast<int>(k));
            }
        }
        const int choices = static_cast<int>(ambiguous.size() + found_.optional.size());
        if (choices > kMaxChoices) {
            return {std::nullopt, NoPointReason::ambiguousLetter};
        }
        std::vector<Candidate> results;
        std::optional<NoPointReason> firstReason;
        for (unsigned mask = 0; mask < (1u << choices); ++mask) {
            const std::optional<Outcome> outcome = tryReading(mask, ambiguous);
            if (!outcome) {
                continue;
            }
            if (!outcome->point) {
                firstReason = firstReason ? firstReason : outcome->reason;
                continue;
            }
            bool merged = false;
            for (Candidate& r : results) {
                if (agree(r, *outcome->point)) {
                    if (morePrecise(*outcome->point, r)) {
                        r = *outcome->point;
                    }
                    merged = true;
                }
            }
            if (!merged) {
                results.push_back(*outcome->point);
            }
        }
        if (results.size() == 1) {
            return {LinePoint{results[0].lat, results[0].lon}, NoPointReason::noCoordinates};
        }
        if (results.size() > 1) {
            return {std::nullopt, ambiguous.empty() ? NoPointReason::severalPoints
                                                    : NoPointReason::ambiguousLetter};
        }
        return {std::nullopt, firstReason.value_or(NoPointReason::noCoordinates)};
    }

  private:
    const Token& token(int i) const { return line_.tokens[static_cast<std::size_t>(i)]; }
    int tokenCount() const { return static_cast<int>(line_.tokens.size()); }

    QChar firstChar(const Token& t) const { return line_.text[t.begin]; }

    // Brackets, points and quotes stand between a number and its letter without parting them.
    bool isThin(const Token& t) const {
        if (t.kind != TokenKind::other || t.end - t.begin != 1) {
            return false;
        }
        return QStringView(u".()[]\"'\u201C\u201D\u2018\u2019\u00AB\u00BB").contains(firstChar(t));
    }

    std::optional<NoPointReason> collectLetters() {
        const auto& coordinates = found_.coordinates;
        coordinateAtFirst_.assign(line_.tokens.size(), -1);
        coordinateAtLast_.assign(line_.tokens.size(), -1);
        for (std::size_t c = 0; c < coordinates.size(); ++c) {
            coordinateAtFirst_[static_cast<std::size_t>(coordinates[c].first)] =
                static_cast<int>(c);
            coordinateAtLast_[static_cast<std::size_t>(coordinates[c].last)] = static_cast<int>(c);
        }
        bool vietnameseD = false;
        for (const Token& t : line_.tokens) {
            vietnameseD = vietnameseD || (t.kind == TokenKind::hemisphere && t.vietnameseD);
        }
        for (int i = 0; i < tokenCount(); ++i) {
            const Token& h = token(i);
            if (h.kind != TokenKind::hemisphere || h.ignored || h.claimed) {
                continue;
            }
            Letter letter;
            letter.token = i;
            // A suffix: right after a coordinate's last number, or after its comma in NMEA
            // fields ("4807.038,N").
            int before = i - 1;
            while (before >= 0 && isThin(token(before))) {
                --before;
            }
            if (before >= 0 && token(before).kind == TokenKind::separator &&
                token(before).begin == (before > 0 ? token(before - 1).end : -1) &&
                token(before).end == h.begin && firstChar(token(before)) == u',') {
                --before;
            }
            if (before >= 0) {
                letter.suffixOf = coordinateAtLast_[static_cast<std::size_t>(before)];
            }
            // A prefix: right before a coordinate's first number, at the line's start or after
            // a separator, a label or another coordinate when the letter could be a word.
            int after = i + 1;
            while (after < tokenCount() &&
                   (isThin(token(after)) || token(after).kind == TokenKind::label)) {
                ++after;
            }
            if (after < tokenCount() && (!h.strict || standsFree(i))) {
                letter.prefixOf = coordinateAtFirst_[static_cast<std::size_t>(after)];
            }
            if (letter.suffixOf < 0 && letter.prefixOf < 0) {
                continue;  // a region ("W Kamchatka"), a word: it names no number
            }
            if (h.unreadable || (h.vietnameseN && vietnameseD)) {
                return NoPointReason::unreadableLetter;
            }
            letters_.push_back(letter);
        }
        return std::nullopt;
    }

    bool standsFree(int i) const {
        int before = i - 1;
        while (before >= 0 && token(before).kind == TokenKind::other) {
            --before;
        }
        if (before < 0) {
            return true;
        }
        switch (token(before).kind) {
            case TokenKind::word:
                return false;
            default:
                return true;
        }
    }

    // One reading: the ambiguous letters and the optional numbers as mask says. Empty when the
    // mask repeats another reading.
    std::optional<Outcome> tryReading(unsigned mask, const std::vector<int>& ambiguous) const {
        const auto& coordinates = found_.coordinates;
        std::vector<Named>& named = named_;
        named.assign(coordinates.size(), Named{});

        for (std::size_t k = 0; k < letters_.size(); ++k) {
            const Letter& l = letters_[k];
            int target = l.suffixOf >= 0 ? l.suffixOf : l.prefixOf;
            if (l.suffixOf >= 0 && l.prefixOf >= 0) {
                const std::size_t which = static_cast<std::size_t>(
                    std::find(ambiguous.begin(), ambiguous.end(), static_cast<int>(k)) -
                    ambiguous.begin());
                target = (mask >> which) & 1u ? l.prefixOf : l.suffixOf;
            }
            const Token& h = token(l.token);
            Named& n = named[static_cast<std::size_t>(target)];
            n.named = true;
            if (h.axis != Axis::unknown) {
                n.conflict = n.conflict || (n.axis != Axis::unknown && n.axis != h.axis);
                n.axis = h.axis;
            }
            if (h.sign != 0) {
                n.conflict = n.conflict || n.sign != 0;
                n.sign = h.sign;
            }
        }
        std::vector<bool>& dropped = dropped_;
        dropped.assign(coordinates.size(), false);
        for (std::size_t k = 0; k < found_.optional.size(); ++k) {
            if ((mask >> (ambiguous.size() + k)) & 1u) {
                const auto c = static_cast<std::size_t>(found_.optional[k]);
                if (named[c].named) {
                    return std::nullopt;  // a named number is never left out
                }
                dropped[c] = true;
            }
        }
        std::vector<std::size_t>& kept = kept_;
        kept.clear();
        for (std::size_t c = 0; c < coordinates.size(); ++c) {
            if (named[c].conflict) {
                return Outcome{std::nullopt, NoPointReason::sameAxisTwice};
            }
            if (!dropped[c] && (named[c].named || !coordinates[c].needsName)) {
                kept.push_back(c);
            }
        }
        return pair(kept, named);
    }

    Outcome pair(const std::vector<std::size_t>& kept, const std::vector<Named>& named) const {
        const auto& coordinates = found_.coordinates;
        if (kept.empty() && found_.points.empty()) {
            return {std::nullopt, NoPointReason::noCoordinates};
        }
        if (kept.size() % 2 != 0) {
            return {std::nullopt,
                    kept.size() == 1 ? NoPointReason::oneAxis : NoPointReason::badNumbers};
        }
        std::vector<Candidate>& points = points_;
        points.clear();
        for (std::size_t p = 0; p < kept.size(); p += 2) {
            std::size_t a = kept[p];
            std::size_t b = kept[p + 1];
            const Axis axisA = named[a].axis;
            const Axis axisB = named[b].axis;
            if (axisA != Axis::unknown && axisA == axisB) {
                return {std::nullopt, NoPointReason::sameAxisTwice};
            }
            if (axisA == Axis::longitude || axisB == Axis::latitude) {
                std::swap(a, b);
            }
            const auto value = [&](std::size_t c, bool& ok) {
                const Coordinate& coordinate = coordinates[c];
                bool negative = coordinate.negative;
                if (named[c].sign < 0) {
                    negative = true;
                } else if (named[c].sign > 0 && negative && coordinate.degrees != 0) {
                    ok = false;  // a minus sign and N or E
                }
                return negative ? -coordinate.degrees : coordinate.degrees;
            };
            bool ok = true;
            Candidate point;
            point.lat = value(a, ok);
            point.lon = value(b, ok);
            if (!ok) {
                return {std::nullopt, NoPointReason::badNumbers};
            }
            if (!coordinates[a].latitudePossible || !(std::fabs(point.lat) <= 90) ||
                !(std::fabs(point.lon) <= 360)) {
                return {std::nullopt, NoPointReason::outOfRange};
            }
            point.latTolerance = coordinates[a].tolerance;
            point.lonTolerance = coordinates[b].tolerance;
            points.push_back(point);
        }
        for (const FoundPoint& f : found_.points) {
            points.push_back(Candidate{f.lat, f.lon, f.tolerance, f.tolerance});
        }
        Candidate best = points[0];
        for (const Candidate& p : points) {
            if (!agree(p, points[0])) {
                return {std::nullopt, NoPointReason::severalPoints};
            }
            if (morePrecise(p, best)) {
                best = p;
            }
        }
        return {best, NoPointReason::noCoordinates};
    }

    const TokenLine& line_;
    const Findings& found_;
    std::vector<Letter> letters_;
    std::vector<int> coordinateAtFirst_;
    std::vector<int> coordinateAtLast_;
    // Room for each reading, kept from one to the next.
    mutable std::vector<Named> named_;
    mutable std::vector<bool> dropped_;
    mutable std::vector<std::size_t> kept_;
    mutable std::vector<Candidate> points_;
};

}  // namespace

LineReading readPointLine(QStringView text) {
    thread_local TokenLine line;
    tokenize(text, line);
    if (line.tooLong) {
        return {std::nullopt, NoPointReason::tooLong};
    }
    markNonCoordinates(line);
    thread_local Findings found;
    found.coordinates.clear();
    found.points.clear();
    found.optional.clear();
    found.refusal.reset();
    for (const NotationReader* reader : readers()) {
        reader->read(line, found);
    }
    if (holdsRange(line)) {
        return {std::nullopt, NoPointReason::range};
    }
    if (found.refusal) {
        return {std::nullopt, *found.refusal};
    }
    return Solver(line, found).solve();
}

}  // namespace zelkora
