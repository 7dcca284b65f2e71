#pragma once

#include <cstddef>
#include <cstdint>

#include "common/YieldFn.h"
#include "mapimage/TPngImage.h"

namespace zelkora {

// One sample of a layer blend: base moves towards layer by alpha / 255, rounded to the nearest
// integer. Integer arithmetic gives exactly the rounding of the float formula, since no
// (layer - base) * alpha / 255 lies closer than 1/255 to a half.
constexpr std::uint8_t blendSample(int base, int layer, int alpha) {
    const int n = (layer - base) * alpha;
    const int delta = n >= 0 ? (n + 127) / 255 : -((127 - n) / 255);
    return static_cast<std::uint8_t>(base + delta);
}

// The alpha of a layer blend: the layer's alpha laid "over" the base's, rounded to the nearest
// integer. Blending the alpha like a colour would let a half-transparent line thin an opaque map
// wherever it crosses; this never lowers the base's alpha. No exact half can occur, as 255 is odd.
constexpr std::uint8_t overAlpha(int base, int layer) {
    return static_cast<std::uint8_t>(base + ((255 - base) * layer + 127) / 255);
}

// Blends count layer pixels over as many base pixels (both R, G, B, A), each exactly as
// blendSample and overAlpha say: the alpha is the base's moved towards 255, as a colour sample
// moves towards the layer's. The two may not overlap.
void blendPixels(std::uint8_t* base, const std::uint8_t* layer, std::size_t count);

// Places aPNG with its top-left corner at (BeginX, BeginY) on a transparent black canvas of
// NewW x NewH, cropping what sticks out, and makes aPNG that canvas. Throws ZelkoraError for a
// canvas beyond TPngImage::kMaxPixels; aPNG is then unchanged.
void SetPNGCanvasSize(TPngImage& aPNG, std::uint32_t NewW, std::uint32_t NewH, std::int32_t BeginX,
                      std::int32_t BeginY);

// Blends Layer2, its top-left corner at (aLeft, aTop), over Layer1 with Layer2's alpha: the colour
// of each covered pixel moves towards the layer's by alpha / 255, and the alpha becomes
// overAlpha. Layer1 keeps its size;
// the layer is cropped to it. yield runs once before each row of Layer1. Neither raster may be
// replaced while yield runs; if one is, the blend stops with ZelkoraError instead of reading
// freed memory. Rows are blended in place, so a blend stopped by an exception leaves Layer1
// half done: callers that must keep their map blend into a copy.
void MergePNGLayerMy(TPngImage& Layer1, const TPngImage& Layer2, std::int32_t aLeft,
                     std::int32_t aTop, const YieldFn& yield = {});

}  // namespace zelkora
