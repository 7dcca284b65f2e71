#pragma once

#include <cstdint>

#include "common/YieldFn.h"
#include "mapimage/TPngImage.h"

namespace zelkora {

// Blends the icon Layer2 onto the map Layer1 with the icon's top-left pixel on map pixel
// (aLeft, aTop), which may lie off the map. Icon pixels off the map are skipped, the map's alpha
// is never touched, and while red is on the map's red sample is left as it is, so dark icons
// show red on a light map. The event loop gets its turn once, before the blend.
void MergePNGLayerIcon(TPngImage& Layer1, const TPngImage& Layer2, int aLeft, int aTop, bool red,
                       const YieldFn& yield);

}  // namespace zelkora
