#pragma once

#include <cstdint>
#include <vector>

#include "mapimage/TPngImage.h"

namespace zelkora {

// An icon as the marker pass lays it on the map many times: the spans of each row where it is
// opaque, which are copied, and where it is partly transparent, which are blended; transparent
// pixels are never visited. Laying it gives the map exactly what MergePNGLayerIcon gives.
class MarkerStamp {
  public:
    explicit MarkerStamp(const TPngImage& icon);

    // As MergePNGLayerIcon(map, icon, left, top, red), without the event loop's turn.
    void stampOn(TPngImage& map, int left, int top, bool red) const;

  private:
    struct Span {
        std::int32_t x;
        std::int32_t length;
        bool opaque;
    };

    TPngImage icon_;
    std::vector<std::size_t> rowStarts_;  // each row's first span, and the end of the last
    std::vector<Span> spans_;
};

}  // namespace zelkora
