#include "plot/MarkerStamp.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "mapimage/Compositing.h"

namespace zelkora {

namespace {

// The map keeps the bytes of keep (its alpha, and its red for red markers) and takes the rest
// from the icon; count pixels.
void copySpan(std::uint8_t* map, const std::uint8_t* icon, std::int64_t count, std::uint32_t keep) {
    std::int64_t i = 0;
#ifdef __SSE2__
    const __m128i kept = _mm_set1_epi32(static_cast<int>(keep));
    for (; i + 4 <= count; i += 4) {
        auto* to = reinterpret_cast<__m128i*>(map + 4 * i);
        const __m128i from = _mm_loadu_si128(reinterpret_cast<const __m128i*>(icon + 4 * i));
        _mm_storeu_si128(to, _mm_or_si128(_mm_and_si128(_mm_loadu_si128(to), kept),
                                          _mm_andnot_si128(kept, from)));
    }
#endif
    for (; i < count; ++i) {
        std::uint32_t m = 0;
        std::uint32_t c = 0;
        std::memcpy(&m, map + 4 * i, 4);
        std::memcpy(&c, icon + 4 * i, 4);
        m = (m & keep) | (c & ~keep);
        std::memcpy(map + 4 * i, &m, 4);
    }
}

void blendSpan(std::uint8_t* map, const std::uint8_t* icon, std::int64_t count, int first) {
    for (std::int64_t i = 0; i < count; ++i, map += 4, icon += 4) {
        for (int c = first; c < 3; ++c) {
            map[c] = blendSample(map[c], icon[c], icon[3]);
        }
    }
}

// The bytes of a pixel the map keeps, as a little-endian word of R, G, B, A.
std::uint32_t keptBytes(bool red) {
    std::uint32_t mask = 0;
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(red ? 0xFF : 0), 0, 0, 0xFF};
    std::memcpy(&mask, bytes, 4);
    return mask;
}

}  // namespace

MarkerStamp::MarkerStamp(const TPngImage& icon) : icon_(icon) {
    rowStarts_.reserve(static_cast<std::size_t>(icon.Height()) + 1);
    for (int y = 0; y < icon.Height(); ++y) {
        rowStarts_.push_back(spans_.size());
        const std::uint8_t* row = icon.row(y);
        int x = 0;
        while (x < icon.Width()) {
            const std::uint8_t a = row[4 * x + 3];
            int end = x + 1;
            if (a == 0) {
                while (end < icon.Width() && row[4 * end + 3] == 0) {
                    ++end;
                }
            } else {
                const bool opaque = a == 255;
                while (end < icon.Width() && row[4 * end + 3] != 0 &&
                       (row[4 * end + 3] == 255) == opaque) {
                    ++end;
                }
                spans_.push_back({x, end - x, opaque});
            }
            x = end;
        }
    }
    rowStarts_.push_back(spans_.size());
}

void MarkerStamp::stampOn(TPngImage& map, int left, int top, bool red) const {
    // In 64 bits, so that an icon near the integer limits cannot wrap around onto the map.
    const std::int64_t y0 = std::max<std::int64_t>(0, top);
    const std::int64_t y1 =
        std::min<std::int64_t>(map.Height(), std::int64_t{top} + icon_.Height());
    const std::uint32_t keep = keptBytes(red);
    for (std::int64_t y = y0; y < y1; ++y) {
        const auto iy = static_cast<int>(y - top);
        std::uint8_t* mapRow = map.row(static_cast<int>(y));
        const std::uint8_t* iconRow = icon_.row(iy);
        for (std::size_t s = rowStarts_[static_cast<std::size_t>(iy)];
             s < rowStarts_[static_cast<std::size_t>(iy) + 1]; ++s) {
            const Span& span = spans_[s];
            const std::int64_t x0 = std::max<std::int64_t>(0, std::int64_t{left} + span.x);
            const std::int64_t x1 =
                std::min<std::int64_t>(map.Width(), std::int64_t{left} + span.x + span.length);
            if (x0 >= x1) {
                continue;
            }
            std::uint8_t* to = mapRow + 4 * x0;
            const std::uint8_t* from = iconRow + 4 * (x0 - left);
            if (span.opaque) {
                copySpan(to, from, x1 - x0, keep);
            } else {
                blendSpan(to, from, x1 - x0, red ? 1 : 0);
            }
        }
    }
}

}  // namespace zelkora
