#pragma once

#include <QString>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace zelkora {

// TIFF as journals take it (libtiff): 8-bit RGB without alpha, LZW with the horizontal
// predictor, XResolution and YResolution the dpi with the unit inch.
class TiffWriter {
  public:
    // Fills row y (0 at the top) with width R, G, B triples. Called once per row, in order.
    using RowSource = std::function<void(int y, std::uint8_t* row)>;

    explicit TiffWriter(double dpi) : dpi_(dpi) {}

    // Encodes a width x height picture into file, open for writing (it seeks).
    // False with the reason in error: the system's when writing failed, libtiff's otherwise.
    bool write(std::FILE* file, int width, int height, const RowSource& rows, QString& error);

  private:
    double dpi_;
};

}  // namespace zelkora
