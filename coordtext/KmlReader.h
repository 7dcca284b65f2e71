#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// KML's <coordinates>lon,lat[,alt]</coordinates>: longitude first. Several tuples are one point
// only when they agree.
class KmlReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
