#include "plot/ImageEncoders.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "mapimage/Compositing.h"
#include "mapimage/JpegWriter.h"
#include "mapimage/PictureFile.h"
#include "mapimage/PngWriter.h"

namespace zelkora {

// White under the picture is the picture blended over white as a layer: blendPixels gives
// sampleOnWhite for every colour sample, four pixels at a time.
void rowOnWhite(const std::uint8_t* rgba, int width, std::uint8_t* rgb) {
    constexpr int kChunk = 64;
    std::uint8_t white[kChunk * TPngImage::kChannels];
    for (int x0 = 0; x0 < width; x0 += kChunk) {
        const int count = std::min(kChunk, width - x0);
        std::memset(white, 255, sizeof white);
        blendPixels(white, rgba + static_cast<std::size_t>(x0) * TPngImage::kChannels,
                    static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i, rgb += 3) {
            std::memcpy(rgb, white + i * TPngImage::kChannels, 3);
        }
    }
}

namespace {

void putLe16(std::uint8_t* at, std::uint32_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

void putLe32(std::uint8_t* at, std::uint32_t v) {
    putLe16(at, v & 0xFFFFu);
    putLe16(at + 2, v >> 16);
}

}  // namespace

bool writeJpeg(std::FILE* file, const TPngImage& picture, QString& error) {
    JpegWriter::Settings settings;
    settings.quality = 10;
    return JpegWriter(settings).write(
        file, picture.Width(), picture.Height(),
        [&](int y, std::uint8_t* rgb) { rowOnWhite(picture.row(y), picture.Width(), rgb); }, error);
}

bool writePng(std::FILE* file, const TPngImage& picture, QString& error) {
    PngWriter::Settings settings;
    settings.colour = PngWriter::Colour::Rgb;
    settings.compressionLevel = 7;
    settings.filter = PngWriter::RowFilter::Sub;
    settings.maxIdatBytes = 65535;
    return PngWriter(settings).write(
        file, picture.Width(), picture.Height(),
        [&](int y, std::uint8_t* rgb) { rowOnWhite(picture.row(y), picture.Width(), rgb); }, error);
}

bool writeBmp(std::FILE* file, const TPngImage& picture, QString& error) {
    const int width = picture.Width();
    const int height = picture.Height();
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
    constexpr std::uint32_t kHeaderSize = 14 + 40;

    std::uint8_t header[kHeaderSize] = {'B', 'M'};
    putLe32(header + 2, kHeaderSize + imageSize);
    putLe32(header + 10, kHeaderSize);
    putLe32(header + 14, 40);  // BITMAPINFOHEADER
    putLe32(header + 18, static_cast<std::uint32_t>(width));
    putLe32(header + 22, static_cast<std::uint32_t>(height));  // positive: bottom-up
    putLe16(header + 26, 1);                                   // planes
    putLe16(header + 28, 24);                                  // bits per pixel
    putLe32(header + 30, 0);                                   // BI_RGB, uncompressed
    putLe32(header + 34, imageSize);

    std::vector<std::uint8_t> row(stride, 0);  // the padding stays 0
    bool ok = std::fwrite(header, 1, kHeaderSize, file) == kHeaderSize;
    for (int y = height - 1; ok && y >= 0; --y) {
        const std::uint8_t* rgba = picture.row(y);
        std::uint8_t* bgr = row.data();
        for (int x = 0; x < width; ++x, rgba += TPngImage::kChannels, bgr += 3) {
            bgr[0] = sampleOnWhite(rgba[2], rgba[3]);
            bgr[1] = sampleOnWhite(rgba[1], rgba[3]);
            bgr[2] = sampleOnWhite(rgba[0], rgba[3]);
        }
        ok = std::fwrite(row.data(), 1, stride, file) == stride;
    }
    if (!ok) {
        error = writeFailureReason(file, "");
    }
    return ok;
}

}  // namespace zelkora
