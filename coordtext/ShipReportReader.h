#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// Positions in ship reports: DDMM[.m]N/DDDMM[.m]E with a slash between, as in 3016N/12303E and
// C/1742S/14618E.
class ShipReportReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
