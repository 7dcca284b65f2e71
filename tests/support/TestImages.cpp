#include "tests/support/TestImages.h"

#include <algorithm>
#include <random>

namespace zelkora {

TPngImage filled(int width, int height, Rgba colour) {
    TPngImage image = TPngImage::CreateBlank(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setPixel(image, x, y, colour);
        }
    }
    return image;
}

TPngImage noise(int width, int height, unsigned seed) {
    std::mt19937 rng(seed);
    TPngImage image = TPngImage::CreateBlank(width, height);
    for (std::size_t i = 0; i < image.byteCount(); ++i) {
        image.bits()[i] = static_cast<std::uint8_t>(rng());
        if (i % 4 == 3 && rng() % 2) {
            image.bits()[i] = rng() % 2 ? 0 : 255;
        }
    }
    return image;
}

Rgba pixelAt(const TPngImage& image, int x, int y) {
    const std::uint8_t* p = image.row(y) + TPngImage::kChannels * x;
    return {p[0], p[1], p[2], p[3]};
}

void setPixel(TPngImage& image, int x, int y, Rgba colour) {
    std::copy(colour.begin(), colour.end(), image.row(y) + TPngImage::kChannels * x);
}

}  // namespace zelkora
