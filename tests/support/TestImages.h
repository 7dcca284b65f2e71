#pragma once

#include <array>
#include <cstdint>

#include "mapimage/TPngImage.h"

namespace zelkora {

// Rasters that more than one test file builds.

using Rgba = std::array<std::uint8_t, 4>;

// A raster of one colour.
TPngImage filled(int width, int height, Rgba colour);

// Random samples, with alphas 0 and 255 as common as all the others together, as on map layers.
// The same seed gives the same raster.
TPngImage noise(int width, int height, unsigned seed);

Rgba pixelAt(const TPngImage& image, int x, int y);
void setPixel(TPngImage& image, int x, int y, Rgba colour);

}  // namespace zelkora
