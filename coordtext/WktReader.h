#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// WKT's POINT (lon lat), with Z or M and SRID=…; before it: longitude first.
class WktReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
