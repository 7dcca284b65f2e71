#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "coordtext/Evidence.h"
#include "coordtext/NumberPart.h"
#include "coordtext/Token.h"

namespace zelkora {

// Why a line, or a part of it, gave no point, for the paste report.
enum class NoPointReason {
    noCoordinates,     // nothing in the line reads as a coordinate
    oneAxis,           // a latitude or a longitude alone
    badNumbers,        // numbers that make no coordinate: minutes of 75, three numbers in a row
    outOfRange,        // a latitude beyond 90° or a longitude beyond 360°
    sameAxisTwice,     // two latitudes or two longitudes (N … S)
    unreadableLetter,  // a hemisphere the rules cannot tell: O, V, N beside Đ, off the map
    ambiguousLetter,   // a letter that may belong to either of two numbers
    range,             // a range or a choice of values
    severalPoints,     // two different points where one is asked for
    badChecksum,       // an NMEA sentence whose checksum is wrong, or a fix marked invalid
    tooLong,           // more text than a paragraph of points is written in
    noEvidence,        // numbers with nothing to show that they are coordinates
    unknownWord,       // a word after the numbers that may name a hemisphere the rules lack
};

// The message for a reason, as the user reads it.
QString noPointReasonText(NoPointReason reason);

// How a point was written.
enum class Notation : std::uint8_t {
    decimalDegrees,
    degreesMinutes,
    degreesMinutesSeconds,
    runTogether,  // 211318N, 4807.038
    colons,       // 17:15.7N
    points,       // 27.15.45S
    nmea,
    shipReport,
    kml,
    geoJson,
    wkt,
    geoUri,
    mapLink,
    iso6709,
};

// The notation's name, for the explanation of a line.
QString notationName(Notation notation);

// One coordinate as a reader found it; which axis it is the normaliser decides from the letters
// and the order of the line.
struct Coordinate {
    double degrees = 0;     // the magnitude
    bool negative = false;  // a minus sign stood before it
    double tolerance = 0;   // half a unit of its last written digit, in degrees
    int first = 0;          // the tokens it spans
    int last = 0;
    bool latitudePossible = true;     // false where three degree digits are written: DDDMM
    Support support = Support::none;  // what its own form shows; letters add to it later
    Notation notation = Notation::decimalDegrees;
    std::optional<NoPointReason> bad;  // numbers there, but no coordinate: this part reads none
    bool range = false;         // two values joined by a dash or "to": a range, no coordinate
    Axis axis = Axis::unknown;  // where the notation itself names it (35n42)
    std::int8_t sign = 0;
};

// A point whose format fixes the order of its numbers itself, with the characters it spans.
struct FoundPoint {
    double lat = 0;
    double lon = 0;
    double tolerance = 0;  // the larger of the two coordinates' tolerances
    qsizetype begin = 0;
    qsizetype end = 0;
    Notation notation = Notation::decimalDegrees;
    std::optional<NoPointReason> bad;  // the format is there but gives no point
};

// One line as the readers see it: its tokens, the verdict on every token, and the parts its
// unclaimed numbers fall into (found once the formats have claimed theirs).
struct ReadingLine {
    TokenLine tokens;
    Evidence evidence;
    std::vector<NumberPart> parts;

    const Token& token(int i) const { return tokens.tokens[static_cast<std::size_t>(i)]; }
    int tokenCount() const { return static_cast<int>(tokens.tokens.size()); }
};

struct Findings {
    std::vector<Coordinate> coordinates;
    std::vector<FoundPoint> points;

    void clear() {
        coordinates.clear();
        points.clear();
    }
};

// One notation. A reader looks for its notation in the line and adds what it finds: whole points
// for a format that fixes the order itself (it claims their characters, so that no later reader
// reads them again), coordinates for a notation of one coordinate, or a part that is its
// notation but reads as none.
class NotationReader {
  public:
    virtual ~NotationReader() = default;
    virtual void read(ReadingLine& line, Findings& found) const = 0;
};

// Half a unit of the last of `decimals` written decimals, in units of `scale` degrees.
double halfUnit(int decimals, double scale = 1.0);

}  // namespace zelkora
