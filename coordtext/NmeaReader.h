#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// NMEA 0183 sentences $xxGGA, $xxRMC and $xxGLL of any talker: the latitude and longitude
// fields with their hemisphere fields. A sentence whose checksum is wrong, or whose fix is marked
// invalid, gives no point.
class NmeaReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
