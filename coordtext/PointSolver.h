#pragma once

#include "coordtext/LinePoints.h"
#include "coordtext/Reading.h"

namespace zelkora {

// Turns what the readers found in a line into its points. The hemisphere letters and words are
// given to the coordinates beside them and read in the line's language; coordinates that stand
// side by side (nothing but separators, letters, labels and "and" between) form a chain, a range
// joins its two ends into one, and each chain pairs its coordinates in order into points, each
// pair under the evidence rule. Where a letter may belong to either of two coordinates, or its
// language is open, every reading is tried: the chain gives its points where the readings agree,
// the one reading that lies on the map where onMap is given, and none otherwise.
void solvePoints(const ReadingLine& line, Findings& found, const MapCheck& onMap,
                 LinePoints& result);

}  // namespace zelkora
