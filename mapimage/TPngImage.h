#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

#include "mapimage/PixelAllocator.h"
#include "mapimage/PngWriter.h"

namespace zelkora {

// An 8-bit RGBA raster, row 0 at the top. Pixels are interleaved R, G, B, A, which is what the
// blends want and what QImage::Format_RGBA8888 shows without conversion. Every file is turned
// into this one kind when it is read. Copies own their pixels (value semantics).
class TPngImage {
  public:
    static constexpr int kChannels = 4;
    // Uninitialised until written, large ones in huge pages (PixelAllocator).
    using Pixels = std::vector<std::uint8_t, PixelAllocator<std::uint8_t>>;
    // Larger pictures are refused before anything is allocated.
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

    TPngImage() = default;

    // A raster of the given size, every pixel transparent black. Throws for a size beyond
    // kMaxPixels or a negative one.
    static TPngImage CreateBlank(int width, int height);

    // Replaces the whole raster by the decoded PNG file. Throws ZelkoraError naming the file and
    // what is wrong; on failure the raster is left as it was.
    void LoadFromFile(const QString& path);
    // Writes the raster as an 8-bit RGBA PNG, replacing any file of that name, with libpng's
    // default compression or with the given settings (their colour type aside). The file appears
    // only when it is complete; failures throw as savePictureFile (mapimage/PictureFile.h) says,
    // and an empty raster is refused.
    void SaveToFile(const QString& path) const;
    void SaveToFile(const QString& path, const PngWriter::Settings& settings) const;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool isEmpty() const { return width_ == 0 || height_ == 0; }

    // Row y as Width() * 4 bytes R, G, B, A. Throws on an empty raster or a row out of range.
    std::uint8_t* Scanline(int y);
    const std::uint8_t* Scanline(int y) const;

    // Unchecked access for inner loops; the caller keeps 0 <= y < Height().
    std::uint8_t* row(int y) { return data_.data() + rowOffset(y); }
    const std::uint8_t* row(int y) const { return data_.data() + rowOffset(y); }
    std::uint8_t* bits() { return data_.data(); }
    const std::uint8_t* bits() const { return data_.data(); }
    std::size_t byteCount() const { return data_.size(); }

    // A QImage that shares nothing with the raster (a deep copy), for showing and for tests.
    QImage toQImage() const;
    // Any QImage, converted to RGBA8888.
    static TPngImage fromQImage(const QImage& image);

    friend bool operator==(const TPngImage&, const TPngImage&) = default;

  private:
    std::size_t rowOffset(int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) * kChannels;
    }

    int width_ = 0;
    int height_ = 0;
    Pixels data_;
};

}  // namespace zelkora
