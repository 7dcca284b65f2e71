#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/YieldFn.h"
#include "mapimage/TPngImage.h"

namespace zelkora {

// A layer picture kept as what a blend reads of it: the runs of pixels that are not fully
// transparent, row by row. A map layer draws lines over a few per cent of its area, so this is
// a small part of the raster, and a blend touches only those pixels.
class LayerRuns {
  public:
    LayerRuns() = default;
    explicit LayerRuns(const TPngImage& layer);
    // A layer of that size whose rows come one by one, top to bottom, through addRow.
    LayerRuns(int width, int height);

    // The next row: Width() pixels, R, G, B, A.
    void addRow(const std::uint8_t* rgba);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The bytes held: pixels and run bounds.
    std::size_t byteCount() const;

    // Blends the layer over map, top-left corners together, exactly as MergePNGLayerMy(map,
    // layer, 0, 0, yield) does, calling yield once before each row of map. The map's pixels
    // that the layer covers are first copied into saved, for restore. If map is replaced
    // while yield runs, the blend stops with ZelkoraError; map is then half blended.
    void blendOver(TPngImage& map, std::vector<std::uint8_t>& saved, const YieldFn& yield) const;
    // Puts back the pixels that blendOver saved from the same map: the map is then as it was
    // before that blend, provided nothing else changed it since. Throws ZelkoraError, changing
    // nothing, when saved cannot have come from a map of this size.
    void restore(TPngImage& map, const std::vector<std::uint8_t>& saved) const;

  private:
    struct Run {
        std::int32_t x;
        std::int32_t length;
    };

    // The rows added so far.
    int rowsHeld() const;
    // The bytes of map's pixels that the layer covers.
    std::size_t coveredBytes(const TPngImage& map) const;
    // Calls visit(mapPixels, layerPixels, count) for each run of row y clipped to map's width,
    // in order; offset is the index of the row's first pixel in pixels_ and moves past the row.
    template <typename Visit>
    void forEachRun(int y, int mapWidth, std::size_t& offset, Visit&& visit) const;

    int width_ = 0;
    int height_ = 0;
    std::vector<std::size_t> rowStarts_ = {0};  // each row's first run, and the end of the last
    std::vector<Run> runs_;
    std::vector<std::uint8_t> pixels_;  // the runs' pixels, R, G, B, A, one run after another
};

}  // namespace zelkora
