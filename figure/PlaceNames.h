#pragma once

#include "figure/FigureLayout.h"

namespace zelkora {

class FigureMap;

// The names of the countries (in the figure's language, in capitals) and of the first-level
// divisions of the map's own country (Vietnam's provinces on the Vietnam map, Russia's regions on
// the Far East map; written as their countries write them), as the options ask, for the
// divisions of the arrangement the figure draws. Each name is centred on the point of its area
// within the frame that has the most room around it; where it would cover a marker, a number or
// its leader, another name, the legend, the scale bar, the north arrow or the inset, or cross the
// frame, it moves to the nearest place whose middle is still well inside its area, and where
// there is none it is left out. Countries go first, then the divisions with the least room.
// Names left out are listed with the reason: outside the frame, or no room.
void layOutPlaceNames(FigureLayout& layout, const FigureMap& map);

}  // namespace zelkora
