#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "mapimage/TPngImage.h"

namespace zelkora {

// A PNG file as the test wants it written: any colour type, bit depth and interlacing, with
// optional gAMA and tRNS chunks. rows holds the raw sample bytes of every row in the file's own
// layout (packed below 8 bits, big-endian at 16 bits), rows concatenated.
struct PngFixture {
    int width = 1;
    int height = 1;
    int colorType = 6;
    int bitDepth = 8;
    bool interlaced = false;
    int gamma = 0;                      // gAMA in 1/100000, 0 for none
    std::vector<std::uint8_t> palette;  // R, G, B triples
    std::vector<std::uint8_t> trns;     // palette alphas, or the transparent colour's raw bytes
    std::vector<std::uint8_t> rows;

    // Writes the file; fails the running test on a libpng error.
    void write(const QString& path) const;
};

// A raster from R, G, B, A quadruples, row by row.
TPngImage rasterOf(int width, int height, const std::vector<std::uint8_t>& rgba);

}  // namespace zelkora
