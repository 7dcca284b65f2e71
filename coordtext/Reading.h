#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "coordtext/Token.h"

namespace zelkora {

// Why a line gave no point, for the paste report.
enum class NoPointReason {
    noCoordinates,     // nothing in the line reads as a coordinate
    oneAxis,           // a latitude or a longitude alone
    badNumbers,        // numbers that make no coordinate: minutes of 75, three numbers in a row
    outOfRange,        // a latitude beyond 90° or a longitude beyond 360°
    sameAxisTwice,     // two latitudes or two longitudes (N … S)
    unreadableLetter,  // a hemisphere the rules cannot tell: O, T, N beside Đ
    ambiguousLetter,   // a letter that may belong to either of two numbers
    range,             // a range or a choice of values
    severalPoints,     // two different points
    badChecksum,       // an NMEA sentence whose checksum is wrong, or a fix marked invalid
    tooLong,           // more text than one point is written in
};

// The message for a reason, as the user reads it.
QString noPointReasonText(NoPointReason reason);

// One coordinate as a reader found it; which axis it is the normaliser decides from the letters
// and the order of the line.
struct Coordinate {
    double degrees = 0;     // the magnitude
    bool negative = false;  // a minus sign stood before it
    double tolerance = 0;   // half a unit of its last written digit, in degrees
    int first = 0;          // the tokens it spans
    int last = 0;
    bool latitudePossible = true;  // false where three degree digits are written: DDDMM
    bool needsName = false;  // a lone number, a time-like or date-like form: a coordinate only
                             // where a hemisphere letter or word names it
};

// A point whose format fixes the order of its numbers itself.
struct FoundPoint {
    double lat = 0;
    double lon = 0;
    double tolerance = 0;  // the larger of the two coordinates' tolerances
};

struct Findings {
    std::vector<Coordinate> coordinates;
    std::vector<FoundPoint> points;
    // Coordinates (by index) that the normaliser may leave out where no letter names them: a
    // lone decimal may be a station number or a count rather than half of the point.
    std::vector<int> optional;
    std::optional<NoPointReason> refusal;  // the line named something wrongly: no point at all

    void refuse(NoPointReason reason) {
        if (!refusal) {
            refusal = reason;
        }
    }
};

// One notation. A reader looks for its notation in the line and adds what it finds: whole points
// for a format that fixes the order itself (it claims their characters, so that no later reader
// reads them again), coordinates for a notation of one coordinate, or a refusal where its
// notation is there but cannot be read.
class NotationReader {
  public:
    virtual ~NotationReader() = default;
    virtual void read(TokenLine& line, Findings& found) const = 0;
};

// Half a unit of the last of `decimals` written decimals, in units of `scale` degrees.
double halfUnit(int decimals, double scale = 1.0);

}  // namespace zelkora
