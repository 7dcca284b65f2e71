#pragma once

#include "mapimage/TPngImage.h"

namespace zelkora {

// Scales png in place to newx x newy with a smooth area-averaging resampler: each destination
// pixel is the coverage-weighted average of the source area under it, and when enlarging each
// source pixel spreads over a block. Colour and alpha are resampled alike and separately, without
// weighting the colour by the alpha, so the colour under transparent pixels flows into
// half-transparent edges. Scaling to the same size changes nothing. Throws ZelkoraError for an
// empty raster or a target size below 1.
void ResizeIMG(TPngImage& png, int newx, int newy);

}  // namespace zelkora
