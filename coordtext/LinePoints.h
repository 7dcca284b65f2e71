#pragma once

#include <QStringView>
#include <functional>
#include <vector>

#include "coordtext/Reading.h"

namespace zelkora {

// Characters [start, start + length) of a line.
struct TextSpan {
    qsizetype start = 0;
    qsizetype length = 0;

    qsizetype end() const { return start + length; }
    bool operator==(const TextSpan&) const = default;
};

// One point a line names: where it lies, how it was written and which characters it came from
// (one span, or more where the line repeats the point in other forms).
struct LinePoint {
    double lat = 0;
    double lon = 0;
    Notation notation = Notation::decimalDegrees;
    std::vector<TextSpan> spans;
    bool byMap = false;  // the line's letters left two readings open, and the map chose this one
};

// A part of a line that is written as coordinates but gives no point, and why.
struct UnreadPart {
    TextSpan span;
    NoPointReason reason = NoPointReason::noCoordinates;
};

// What one line gives: every point it names, in the order of the text, and the parts that give
// none; where there is no point at all, why.
struct LinePoints {
    std::vector<LinePoint> points;
    std::vector<UnreadPart> unread;
    NoPointReason reason = NoPointReason::noCoordinates;  // when points is empty
};

// Whether a point lies on the chosen map's picture.
using MapCheck = std::function<bool(double lat, double lon)>;

}  // namespace zelkora
