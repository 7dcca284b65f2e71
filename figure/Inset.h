#pragma once

#include "figure/FigureLayout.h"
#include "figure/FrameCorners.h"

namespace zelkora {

// The locator inset of the first panel: the map's whole region in a small frame of the figure's
// kind of projection (north up: the conic centred on the region), with the figure's frame drawn
// on it.
void layOutInset(FigureLayout& layout, const FigureMap& map, FrameCorners& corners);

}  // namespace zelkora
