#pragma once

#include <QStringView>
#include <functional>
#include <optional>
#include <vector>

#include "coordtext/LinePoints.h"
#include "coordtext/Reading.h"

namespace zelkora {

// Reads every point a line names. The line is cut into tokens once; the formats that fix their
// own order (NMEA, KML, GeoJSON, WKT, geo:, map links, ISO 6709, ship reports) read theirs;
// the evidence sets aside the numbers that are no coordinates (quantities, dates, labels,
// references); every notation of one coordinate proposes its coordinates; the hemisphere letters
// and words are given to the numbers beside them, in the line's language; and the coordinates
// that stand side by side pair into points (latitude first where no letter says otherwise), each
// pair only with the evidence the rule of pairHasEvidence asks for. A range or a choice gives no
// point, nor does a letter that could belong to either of two numbers when the reading changes
// the point. The same point written again right after (its decimal repeat) is one point, from its
// most precise form. Where the language of a letter (O: Ost or Oeste) is left open, the reading
// that alone lies on the map, when onMap is given, is taken and marked byMap.
LinePoints readLinePoints(QStringView line, const MapCheck& onMap = {});

// What a line gives where one point is asked for (a table's cell, one record's field): its one
// point, or why it gives none; a line of two points gives none.
struct LineReading {
    std::optional<LinePoint> point;
    NoPointReason reason = NoPointReason::noCoordinates;
};
LineReading readPointLine(QStringView line);

// Whether a line holds nothing but white space: such a line names nothing and is not reported.
bool isBlankLine(QStringView line);

}  // namespace zelkora
