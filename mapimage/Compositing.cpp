#include "mapimage/Compositing.h"

#include <algorithm>
#include <cstring>

#include "common/ZelkoraError.h"

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

void blendRow(std::uint8_t* base, const std::uint8_t* layer, std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i, base += 4, layer += 4) {
        const int alpha = layer[3];
        if (alpha == 0) {
            continue;
        }
        if (alpha == 255) {
            std::memcpy(base, layer, 4);
            continue;
        }
        base[0] = blendSample(base[0], layer[0], alpha);
        base[1] = blendSample(base[1], layer[1], alpha);
        base[2] = blendSample(base[2], layer[2], alpha);
        base[3] = overAlpha(base[3], alpha);
    }
}

}  // namespace

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
        blendRow(
            Layer1.row(y) + cols.first * TPngImage::kChannels,
            Layer2.row(static_cast<int>(y - aTop)) + (cols.first - aLeft) * TPngImage::kChannels,
            cols.last - cols.first);
    }
}
