#include "mapimage/Compositing.h"

#include <algorithm>
#include <cstring>

#include "common/ZelkoraError.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zelkora {

namespace {

// The part [first, last) of 0..extent that a span starting at begin and size long covers.
struct Overlap {
    std::int64_t first;
    std::int64_t last;
    bool empty() const { return first >= last; }
};

constexpr Overlap overlap(std::int64_t extent, std::int64_t begin, std::int64_t size) {
    return {std::max<std::int64_t>(0, begin), std::min(extent, begin + size)};
}

// x / 255 for 0 <= x < 65535, without a division.
constexpr unsigned divide255(unsigned x) {
    return (x + 1 + (x >> 8)) >> 8;
}

// base * (255 - w) + towards * w rounded to the nearest after dividing by 255: blendSample's
// value with the base's and the layer's shares written out, and overAlpha's with towards = 255.
constexpr std::uint8_t mix(unsigned base, unsigned towards, unsigned w) {
    return static_cast<std::uint8_t>(divide255(base * (255 - w) + towards * w + 127));
}

static_assert(mix(0, 255, 128) == blendSample(0, 255, 128) && mix(200, 100, 64) == 175);
static_assert(mix(40, 255, 128) == overAlpha(40, 128) && mix(0, 255, 255) == 255);

void blendPixelsScalar(std::uint8_t* base, const std::uint8_t* layer, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, base += 4, layer += 4) {
        const unsigned w = layer[3];
        base[0] = mix(base[0], layer[0], w);
        base[1] = mix(base[1], layer[1], w);
        base[2] = mix(base[2], layer[2], w);
        base[3] = mix(base[3], 255, w);
    }
}

#ifdef __SSE2__
// Eight samples of mix in 16-bit lanes; no intermediate value reaches 65535.
inline __m128i mix8(__m128i base, __m128i towards, __m128i w) {
    const __m128i t =
        _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(base, _mm_sub_epi16(_mm_set1_epi16(255), w)),
                                    _mm_mullo_epi16(towards, w)),
                      _mm_set1_epi16(127));
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_set1_epi16(1)), _mm_srli_epi16(t, 8)),
                          8);
}

// Four pixels at a time; blocks of four clear layer pixels are skipped without a write.
void blendPixelsSse2(std::uint8_t* base, const std::uint8_t* layer, std::size_t count) {
    const __m128i alphaBytes = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i zero = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4, base += 16, layer += 16) {
        const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(layer));
        const __m128i alpha = _mm_and_si128(l, alphaBytes);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero)) == 0xFFFF) {
            continue;
        }
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base));
        const __m128i towards = _mm_or_si128(l, alphaBytes);
        __m128i w = _mm_srli_epi32(l, 24);
        w = _mm_or_si128(w, _mm_slli_epi32(w, 8));
        w = _mm_or_si128(w, _mm_slli_epi32(w, 16));
        const __m128i low = mix8(_mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(towards, zero),
                                 _mm_unpacklo_epi8(w, zero));
        const __m128i high = mix8(_mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(towards, zero),
                                  _mm_unpackhi_epi8(w, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(base), _mm_packus_epi16(low, high));
    }
    blendPixelsScalar(base, layer, count - i);
}
#endif

}  // namespace

void blendPixels(std::uint8_t* base, const std::uint8_t* layer, std::size_t count) {
#ifdef __SSE2__
    blendPixelsSse2(base, layer, count);
#else
    blendPixelsScalar(base, layer, count);
#endif
}

void SetPNGCanvasSize(TPngImage& aPNG, std::uint32_t NewW, std::uint32_t NewH, std::int32_t BeginX,
                      std::int32_t BeginY) {
    if (std::int64_t{NewW} * std::int64_t{NewH} > TPngImage::kMaxPixels || NewW > INT32_MAX ||
        NewH > INT32_MAX) {
        throw ZelkoraError(
            QStringLiteral("Недопустимый размер холста: %1 × %2 точек").arg(NewW).arg(NewH));
    }
    TPngImage canvas = TPngImage::CreateBlank(static_cast<int>(NewW), static_cast<int>(NewH));
    const Overlap cols = overlap(NewW, BeginX, aPNG.Width());
    const Overlap rows = overlap(NewH, BeginY, aPNG.Height());
    if (!cols.empty() && !rows.empty()) {
        const auto bytes = static_cast<std::size_t>(cols.last - cols.first) * TPngImage::kChannels;
        for (std::int64_t y = rows.first; y < rows.last; ++y) {
            const std::uint8_t* src = aPNG.row(static_cast<int>(y - BeginY)) +
                                      (cols.first - BeginX) * TPngImage::kChannels;
            std::memcpy(canvas.row(static_cast<int>(y)) + cols.first * TPngImage::kChannels, src,
                        bytes);
        }
    }
    aPNG = std::move(canvas);
}

void MergePNGLayerMy(TPngImage& Layer1, const TPngImage& Layer2, std::int32_t aLeft,
                     std::int32_t aTop, const YieldFn& yield) {
    const int height = Layer1.Height();
    const Overlap cols = overlap(Layer1.Width(), aLeft, Layer2.Width());
    const Overlap rows = overlap(height, aTop, Layer2.Height());
    const std::uint8_t* const baseBits = Layer1.bits();
    const std::uint8_t* const layerBits = Layer2.bits();
    const int layerWidth = Layer2.Width();
    for (int y = 0; y < height; ++y) {
        yieldNow(yield);
        if (Layer1.bits() != baseBits || Layer1.Height() != height || Layer2.bits() != layerBits ||
            Layer2.Width() != layerWidth) {
            throw ZelkoraError("Наложение слоя прервано: карту или слой заменили во время работы");
        }
        if (cols.empty() || y < rows.first || y >= rows.last) {
            continue;
        }
        blendPixels(
            Layer1.row(y) + cols.first * TPngImage::kChannels,
            Layer2.row(static_cast<int>(y - aTop)) + (cols.first - aLeft) * TPngImage::kChannels,
            static_cast<std::size_t>(cols.last - cols.first));
    }
}

}  // namespace zelkora
