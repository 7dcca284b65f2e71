#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>

// The one PNG encoder of the program: 8 bits per sample, not interlaced, rows taken one at a
// time from a row source so that no second copy of the picture is needed. Owns libpng's state
// for one picture.
class PngWriter {
  public:
    enum class Colour { Rgb, Rgba };
    enum class RowFilter { Adaptive, Sub };

    struct Settings {
        Colour colour = Colour::Rgba;
        int compressionLevel = -1;  // zlib's 0 to 9; -1 is zlib's default
        RowFilter filter = RowFilter::Adaptive;
        std::size_t maxIdatBytes = 8192;   // libpng's own size
        std::uint32_t pixelsPerMetre = 0;  // a pHYs chunk when above 0
    };

    // Fills row y (0 at the top) with width pixels of 3 (Rgb) or 4 (Rgba) bytes: R, G, B[, A].
    using RowSource = std::function<void(int y, std::uint8_t* row)>;

    explicit PngWriter(const Settings& settings);
    ~PngWriter();
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    // Encodes a width x height picture into file. False with the reason in error: the system's
    // when writing the file failed, libpng's otherwise. A writer encodes one picture.
    bool write(std::FILE* file, int width, int height, const RowSource& rows, QString& error);

  private:
    struct State;
    Settings settings_;
    std::unique_ptr<State> state_;
};
