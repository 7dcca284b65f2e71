#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace zelkora {

// The one PNG encoder of the program: 8 bits per sample, not interlaced. The rows are filtered
// and deflated in blocks of about a megabyte, the blocks on all cores at once: each block is
// compressed on its own and ends in a full flush, so that the blocks join into one valid zlib
// stream, whose Adler-32 is combined from theirs. Only the compressed picture is held whole.
class PngWriter {
  public:
    enum class Colour { Rgb, Rgba };
    // Adaptive picks for each row the filter whose output, read as signed bytes, sums to the
    // least magnitude, as libpng does by default.
    enum class RowFilter { Adaptive, Sub };

    struct Settings {
        Colour colour = Colour::Rgba;
        int compressionLevel = -1;  // zlib's 0 to 9; -1 is zlib's default
        RowFilter filter = RowFilter::Adaptive;
        std::size_t maxIdatBytes = 8192;   // libpng's own size
        std::uint32_t pixelsPerMetre = 0;  // a pHYs chunk when above 0
    };

    // Fills row y (0 at the top) with width pixels of 3 (Rgb) or 4 (Rgba) bytes: R, G, B[, A].
    // It is called from several threads at once, each call with a row of its own, and a row may
    // be asked for twice.
    using RowSource = std::function<void(int y, std::uint8_t* row)>;

    explicit PngWriter(const Settings& settings);

    // Encodes a width x height picture into file. False with the reason in error: the system's
    // when writing the file failed, the encoder's otherwise. A failure of the row source is
    // thrown on once every block has ended.
    bool write(std::FILE* file, int width, int height, const RowSource& rows, QString& error);

  private:
    Settings settings_;
};

}  // namespace zelkora
