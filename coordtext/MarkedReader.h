#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// Degrees, minutes and seconds told by their marks: 48°28′49″, 48° 28.817', 48d 28m 49s,
// 43度07分, 48.48028°. A number without a mark between marked ones takes the place the marks
// leave it (48° 28 49 N; 48 28'N). A mark counts whatever else is in the line: 48° 28'N alone
// is one latitude. Minutes or seconds with nothing to belong to refuse the line.
class MarkedReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
