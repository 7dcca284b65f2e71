#pragma once

#include <QString>
#include <cstdio>

#include "mapimage/TPngImage.h"

// Encoders of the export. Each draws picture onto white row by row and writes the result to an
// open file. On failure they return false and put the reason into error; the caller owns the
// file and removes it.

// Baseline JFIF, 24-bit colour, jpeg_set_defaults then quality 10 with baseline forced.
bool writeJpeg(std::FILE* file, const TPngImage& picture, QString& error);
// Colour type 2, 8 bits, not interlaced; IHDR, IDAT of at most 65535 bytes, IEND; deflate level
// 7; the Sub filter on every row.
bool writePng(std::FILE* file, const TPngImage& picture, QString& error);
// Uncompressed 24 bits per pixel, bottom-up, rows padded to 4 bytes.
bool writeBmp(std::FILE* file, const TPngImage& picture, QString& error);

// One RGBA row drawn onto white as width RGB triples.
void rowOnWhite(const std::uint8_t* rgba, int width, std::uint8_t* rgb);
