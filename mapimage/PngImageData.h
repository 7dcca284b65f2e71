#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "mapimage/TPngImage.h"

namespace zelkora {

// The image data of a PNG file held in memory, decoded without libpng when the file is of the
// plain kind that map pictures and icons are: 8-bit RGBA, not interlaced, no gamma and no
// transparency chunk, every chunk whole with a right checksum, the image data one zlib stream
// that fills the rows exactly. Such a file decodes to the same pixels whoever reads it, and
// libdeflate inflates it many times faster than zlib. For any other file decode() says no,
// having allocated nothing for it, and the caller reads the file with libpng, which then says
// what is wrong or does the conversions.
class PngImageData {
  public:
    // Largest side and pixel count decoded here; larger pictures go to libpng and its limits.
    static constexpr std::uint32_t kMaxSide = 1u << 20;
    static constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;

    // Inflates the file's image data; false when it is not of the plain kind.
    bool decode(std::string_view file);

    int width() const { return width_; }
    int height() const { return height_; }

    // Unfilters the rows and hands them over as one block, width * 4 bytes a row. Once only.
    TPngImage::Pixels takePixels();

  private:
    int width_ = 0;
    int height_ = 0;
    TPngImage::Pixels filtered_;  // each row's filter byte, then its filtered bytes
};

}  // namespace zelkora
