#include "plot/MergePNGLayerIcon.h"

#include <algorithm>

void MergePNGLayerIcon(TPngImage& Layer1, const TPngImage& Layer2, int aLeft, int aTop, bool red,
                       const YieldFn& yield) {
    yieldNow(yield);

    // The icon's rectangle clipped to the map, in 64 bits so that an icon near the integer
    // limits cannot wrap around onto the map.
    const std::int64_t left = aLeft;
    const std::int64_t top = aTop;
    const std::int64_t x0 = std::max<std::int64_t>(0, left);
    const std::int64_t x1 = std::min<std::int64_t>(Layer1.Width(), left + Layer2.Width());
    const std::int64_t y0 = std::max<std::int64_t>(0, top);
    const std::int64_t y1 = std::min<std::int64_t>(Layer1.Height(), top + Layer2.Height());
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    const int firstSample = red ? 1 : 0;
    for (std::int64_t y = y0; y < y1; ++y) {
        std::uint8_t* map = Layer1.row(static_cast<int>(y)) + x0 * TPngImage::kChannels;
        const std::uint8_t* icon =
            Layer2.row(static_cast<int>(y - top)) + (x0 - left) * TPngImage::kChannels;
        for (std::int64_t x = x0; x < x1; ++x) {
            const int a = icon[3];
            for (int c = firstSample; c < 3; ++c) {
                map[c] = blendIconSample(map[c], icon[c], a);
            }
            map += TPngImage::kChannels;
            icon += TPngImage::kChannels;
        }
    }
}
