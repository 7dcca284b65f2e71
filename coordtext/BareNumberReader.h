#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// Numbers without marks. Between letters and separators each group of one, two or three numbers
// is one coordinate: decimal degrees, degrees and minutes, degrees, minutes and seconds
// (N 48 51.640 E 138 04.035; 34 41 26N 125 11 50E; 43.1155, 131.8855). Without anything between,
// two numbers are a decimal pair, four degrees and minutes, six degrees, minutes and seconds.
// The groups of one run are written alike: "12|5 3" is no point. A decimal alone between words
// is a bare number like any other: a coordinate only where the line holds nothing but points.
class BareNumberReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
