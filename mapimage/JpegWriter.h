#pragma once

#include <QString>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace zelkora {

// The one JPEG encoder of the program (libjpeg): a baseline sequential JFIF file in 24-bit
// colour, encoded from rows of R, G, B triples with jpeg_set_defaults and then the quality below,
// baseline forced.
class JpegWriter {
  public:
    struct Settings {
        int quality = 75;     // libjpeg's scale, 1 to 100
        int dotsPerInch = 0;  // the JFIF density when above 0; libjpeg's 1:1 aspect otherwise
    };

    // Fills row y (0 at the top) with width R, G, B triples. Called once per row, in order.
    using RowSource = std::function<void(int y, std::uint8_t* row)>;

    explicit JpegWriter(const Settings& settings) : settings_(settings) {}

    // Encodes a width x height picture into file. False with the reason in error: the system's
    // when writing the file failed, libjpeg's otherwise.
    bool write(std::FILE* file, int width, int height, const RowSource& rows, QString& error);

  private:
    Settings settings_;
};

}  // namespace zelkora
