#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// Links to web maps: @lat,lon,zoom and !3dlat!4dlon (Google; the place wins over the view),
// #map=zoom/lat/lon and mlat=…&mlon=… (OpenStreetMap), ll=lon,lat and pt=lon,lat (Yandex, whose
// order is longitude first; Google's and Apple's ll= is latitude first; elsewhere the order that
// gives a point, when only one does), q=lat,lon.
class MapLinkReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
