#pragma once

#include "figure/FigureLayout.h"
#include "figure/FrameCorners.h"

namespace zelkora {

// The scale bar, once, in the panel given: a round number of kilometres (1, 2 or 5 times a power
// of ten) near a quarter of the frame's width, true at the latitude of its middle. Plain: one
// black bar under its length; ticked: four segments, black and white in turn, labelled 0, half
// and the whole length.
void layOutScaleBar(FigureLayout& layout, int panel, FrameCorners& corners);

}  // namespace zelkora
