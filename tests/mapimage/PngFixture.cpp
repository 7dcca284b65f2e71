#include "tests/mapimage/PngFixture.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace zelkora {

namespace {

bool writeWithLibpng(const PngFixture& f, std::FILE* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, static_cast<png_uint_32>(f.width), static_cast<png_uint_32>(f.height),
                 f.bitDepth, f.colorType, f.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (f.gamma) {
        png_set_gAMA_fixed(png, info, f.gamma);
    }
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < f.palette.size(); i += 3) {
        palette.push_back({f.palette[i], f.palette[i + 1], f.palette[i + 2]});
    }
    if (!palette.empty()) {
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    }
    png_color_16 trnsColor{};
    if (!f.trns.empty()) {
        if (f.colorType == PNG_COLOR_TYPE_PALETTE) {
            png_set_tRNS(png, info, f.trns.data(), static_cast<int>(f.trns.size()), nullptr);
        } else {
            const auto sample = [&](std::size_t i) {
                return static_cast<png_uint_16>(f.trns[2 * i] << 8 | f.trns[2 * i + 1]);
            };
            if (f.colorType == PNG_COLOR_TYPE_GRAY) {
                trnsColor.gray = sample(0);
            } else {
                trnsColor.red = sample(0);
                trnsColor.green = sample(1);
                trnsColor.blue = sample(2);
            }
            png_set_tRNS(png, info, nullptr, 0, &trnsColor);
        }
    }
    png_write_info(png, info);
    const std::size_t rowBytes = f.rows.size() / static_cast<std::size_t>(f.height);
    std::vector<png_bytep> rows;
    for (int y = 0; y < f.height; ++y) {
        rows.push_back(const_cast<png_bytep>(f.rows.data()) +
                       rowBytes * static_cast<std::size_t>(y));
    }
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

void PngFixture::write(const QString& path) const {
    std::FILE* out = std::fopen(path.toLocal8Bit().constData(), "wb");
    ASSERT_NE(out, nullptr) << path.toStdString();
    const bool ok = writeWithLibpng(*this, out);
    std::fclose(out);
    ASSERT_TRUE(ok) << "libpng refused fixture " << path.toStdString();
}

TPngImage rasterOf(int width, int height, const std::vector<std::uint8_t>& rgba) {
    TPngImage image = TPngImage::CreateBlank(width, height);
    EXPECT_EQ(rgba.size(), image.byteCount());
    std::memcpy(image.bits(), rgba.data(), std::min(rgba.size(), image.byteCount()));
    return image;
}

}  // namespace zelkora
