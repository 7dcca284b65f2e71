#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// ISO 6709 strings, both coordinates signed and run together: +48.4803+135.0719/,
// +40.7128-074.0060+10/, with degrees (±DD, ±DDD), degrees and minutes (±DDMM, ±DDDMM) or
// degrees, minutes and seconds (±DDMMSS, ±DDDMMSS).
class Iso6709Reader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
