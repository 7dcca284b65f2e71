#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// Degrees, minutes and seconds run together, as aviation, charts and NMEA fields write them:
// DDMM and DDDMM with optional decimal minutes (4807.038,N; N4007.38; 0123.5), DDMMSS and
// DDDMMSS with optional decimal seconds (211318N 1054820E; 204901N1064323E). Three degree digits
// are a longitude only. A whole number without a leading zero is a coordinate only with the
// hemisphere letter written right after it: bare, "1350" is a height, "412345" an easting.
class BlockReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
