#pragma once

#include <QStringView>
#include <optional>

#include "coordtext/Reading.h"

namespace zelkora {

struct LinePoint {
    double lat = 0;
    double lon = 0;
};

// What one line gives: its point, or why it gives none.
struct LineReading {
    std::optional<LinePoint> point;
    NoPointReason reason = NoPointReason::noCoordinates;
};

// Reads the one point a line names. The line is cut into tokens once; every reader tries its
// notation on them; the hemisphere letters and words are given to the numbers beside them; the
// coordinates, in the order of the line, pair into points (latitude first where no letter says
// otherwise). The line gives its point when every reading agrees within its own rounding, the
// most precise reading winning; none when readings disagree, a letter could belong to either of
// two numbers and the reading changes the point, or the line holds a range, a choice, two
// points or one coordinate alone. A line never gives a point it does not name.
LineReading readPointLine(QStringView line);

// Whether a line holds nothing but white space: such a line names nothing and is not reported.
bool isBlankLine(QStringView line);

}  // namespace zelkora
