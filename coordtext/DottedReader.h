#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// Degrees, minutes and seconds joined by points, perhaps with decimal seconds: 27.15.45S
// 18.32.53E, 27.15.45.5S. Without a hemisphere letter or word the form is a date (3.06.2015)
// or a version, and no coordinate.
class DottedReader : public NotationReader {
  public:
    void read(TokenLine& line, Findings& found) const override;
};

}  // namespace zelkora
