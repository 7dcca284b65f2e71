#pragma once

#include "figure/FigureLayout.h"
#include "figure/FrameCorners.h"

namespace zelkora {

// The north arrow of the first panel: pointing to true north where it stands, its head split
// black and white along its axis, with N (С in Russian) above it. Auto draws it when the
// graticule's lines are not drawn, in the corner that covers the fewest markers.
void layOutNorthArrow(FigureLayout& layout, FrameCorners& corners);

}  // namespace zelkora
