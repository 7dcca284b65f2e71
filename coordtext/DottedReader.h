#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// Degrees, minutes and seconds joined by points, perhaps with decimal seconds: 27.15.45S
// 18.32.53E, 27.15.45.5S. Beside no hemisphere letter or word the form may be a date (3.06.15)
// or a version, and the line gives no point; a date with a four-digit year is no coordinate at
// all (NonCoordinates).
class DottedReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
