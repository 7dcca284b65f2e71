#pragma once

#include "coordtext/Token.h"

namespace zelkora {

// Marks the numbers of a line that are no coordinates, so that no reader takes them: altitudes,
// distances and other quantities with their unit (352 m, 32.5 km, 314 FT, 24.8°C, 1♂), numbers
// after a label word (alt. 352, fig. 3, site 12), dates (3.VI.1970, 12 April 2022, 2010), list
// numbers at the line's start, numbers inside codes (F3JC, S1), uncertainties (±10) and magnetic
// variation (5°E (2010)). A range takes the mark from either end to the other.
void markNonCoordinates(TokenLine& line);

}  // namespace zelkora
