#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// GeoJSON's "coordinates": [lon, lat] (longitude first), and the arrays of arrays of its
// other geometries, which are one point only when every position agrees.
class GeoJsonReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
