#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// geo: URIs, geo:lat,lon[,alt][;params], and the geo:0,0?q=lat,lon of phones.
class GeoUriReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
