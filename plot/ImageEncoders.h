#pragma once

#include <QString>
#include <cstdint>
#include <cstdio>

#include "mapimage/TPngImage.h"

namespace zelkora {

// Internal to plot/: the encoders behind SaveMapImage and the blend onto white that they share.
// Each encoder draws picture onto white row by row and writes the result to an open file. On
// failure it returns false and puts the reason into error; the caller owns the file and removes
// it.

// One sample of the picture drawn onto white (255) with alpha a: a = 0 keeps the white, a = 255
// gives the sample itself, anything between rounds down after adding 127.
constexpr std::uint8_t sampleOnWhite(int s, int a) {
    return static_cast<std::uint8_t>((255 * (255 - a) + s * a + 127) / 255);
}

// One RGBA row drawn onto white as width RGB triples.
void rowOnWhite(const std::uint8_t* rgba, int width, std::uint8_t* rgb);

// Baseline JFIF, 24-bit colour, jpeg_set_defaults then quality 10 with baseline forced.
bool writeJpeg(std::FILE* file, const TPngImage& picture, QString& error);
// Colour type 2, 8 bits, not interlaced; IHDR, IDAT of at most 65535 bytes, IEND; deflate level
// 7; the Sub filter on every row.
bool writePng(std::FILE* file, const TPngImage& picture, QString& error);
// Uncompressed 24 bits per pixel, bottom-up, rows padded to 4 bytes.
bool writeBmp(std::FILE* file, const TPngImage& picture, QString& error);

}  // namespace zelkora
