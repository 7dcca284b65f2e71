#pragma once

#include <QString>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

namespace zelkora {

// TIFF as journals take it: 8-bit RGB without alpha, LZW with the horizontal predictor,
// XResolution and YResolution the dpi with the unit inch. The strips are compressed on all cores
// at once by the LZW encoder below; libtiff writes the file's structure around them.
class TiffWriter {
  public:
    // Fills row y (0 at the top) with width R, G, B triples. It is called from several threads
    // at once, each call with a row of its own.
    using RowSource = std::function<void(int y, std::uint8_t* row)>;

    explicit TiffWriter(double dpi) : dpi_(dpi) {}

    // Encodes a width x height picture into file, open for writing (it seeks). False with the
    // reason in error: the system's when writing failed, libtiff's otherwise.
    bool write(std::FILE* file, int width, int height, const RowSource& rows, QString& error);

    // TIFF's LZW (MSB-first codes of 9 to 12 bits, a clear code when the table is full and the
    // code width raised one code early), as libtiff's decoder reads it.
    static std::vector<std::uint8_t> lzw(const std::uint8_t* data, std::size_t size);

  private:
    double dpi_;
};

}  // namespace zelkora
