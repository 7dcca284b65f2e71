#include "plot/MergePNGLayerIcon.h"

#include <algorithm>

#include "mapimage/Compositing.h"

namespace zelkora {

namespace {

// One icon row over one map row. Alpha 0 and 255 give the map's and the icon's sample exactly,
// so they skip the arithmetic; most icon pixels are one or the other.
template <bool kRed>
void blendRow(std::uint8_t* map, const std::uint8_t* icon, std::int64_t count) {
    constexpr int kFirst = kRed ? 1 : 0;  // red markers keep the map's red sample
    for (std::int64_t i = 0; i < count; ++i, map += 4, icon += 4) {
        const int a = icon[3];
        if (a == 0) {
            continue;
        }
        if (a == 255) {
            for (int c = kFirst; c < 3; ++c) {
                map[c] = icon[c];
            }
            continue;
        }
        for (int c = kFirst; c < 3; ++c) {
            map[c] = blendSample(map[c], icon[c], a);
        }
    }
}

}  // namespace

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
    for (std::int64_t y = y0; y < y1; ++y) {
        std::uint8_t* map = Layer1.row(static_cast<int>(y)) + x0 * TPngImage::kChannels;
        const std::uint8_t* icon =
            Layer2.row(static_cast<int>(y - top)) + (x0 - left) * TPngImage::kChannels;
        if (red) {
            blendRow<true>(map, icon, x1 - x0);
        } else {
            blendRow<false>(map, icon, x1 - x0);
        }
    }
}

}  // namespace zelkora
