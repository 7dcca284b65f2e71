#include "mapimage/LayerRuns.h"

#include <algorithm>
#include <cstring>

#include "common/ZelkoraError.h"
#include "mapimage/Compositing.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zelkora {

namespace {

constexpr std::size_t kPixel = TPngImage::kChannels;

}  // namespace

LayerRuns::LayerRuns(int width, int height) : width_(width), height_(height) {
    rowStarts_.reserve(static_cast<std::size_t>(height) + 1);
}

LayerRuns::LayerRuns(const TPngImage& layer) : LayerRuns(layer.Width(), layer.Height()) {
    for (int y = 0; y < height_; ++y) {
        addRow(layer.row(y));
    }
    runs_.shrink_to_fit();
    pixels_.shrink_to_fit();
}

void LayerRuns::addRow(const std::uint8_t* row) {
    int x = 0;
    while (x < width_) {
#ifdef __SSE2__
        // Most of a layer is clear: four clear pixels at a time.
        const __m128i alphaBytes = _mm_set1_epi32(static_cast<int>(0xFF000000u));
        while (x + 4 <= width_) {
            const __m128i pixels =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x * kPixel));
            const __m128i alpha = _mm_and_si128(pixels, alphaBytes);
            if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_setzero_si128())) != 0xFFFF) {
                break;
            }
            x += 4;
        }
#endif
        while (x < width_ && row[x * kPixel + 3] == 0) {
            ++x;
        }
        const int first = x;
        while (x < width_ && row[x * kPixel + 3] != 0) {
            ++x;
        }
        if (x > first) {
            runs_.push_back({first, x - first});
            pixels_.insert(pixels_.end(), row + first * kPixel, row + x * kPixel);
        }
    }
    rowStarts_.push_back(runs_.size());
}

std::size_t LayerRuns::byteCount() const {
    return pixels_.size() + runs_.size() * sizeof(Run) + rowStarts_.size() * sizeof(std::size_t);
}

template <typename Visit>
void LayerRuns::forEachRun(int y, int mapWidth, std::size_t& offset, Visit&& visit) const {
    const auto index = static_cast<std::size_t>(y);
    for (std::size_t r = rowStarts_[index]; r < rowStarts_[index + 1]; ++r) {
        const Run run = runs_[r];
        const int count = std::min(run.x + run.length, mapWidth) - run.x;
        if (count > 0) {
            visit(run.x, pixels_.data() + offset * kPixel, static_cast<std::size_t>(count));
        }
        offset += static_cast<std::size_t>(run.length);
    }
}

int LayerRuns::rowsHeld() const {
    return static_cast<int>(rowStarts_.size()) - 1;
}

std::size_t LayerRuns::coveredBytes(const TPngImage& map) const {
    const int rows = std::min(map.Height(), rowsHeld());
    std::size_t bytes = 0;
    std::size_t offset = 0;
    for (int y = 0; y < rows; ++y) {
        forEachRun(y, map.Width(), offset,
                   [&](int, const std::uint8_t*, std::size_t count) { bytes += count * kPixel; });
    }
    return bytes;
}

void LayerRuns::blendOver(TPngImage& map, std::vector<std::uint8_t>& saved,
                          const YieldFn& yield) const {
    const int height = map.Height();
    const int width = map.Width();
    const int rows = std::min(height, rowsHeld());
    saved.resize(coveredBytes(map));

    const std::uint8_t* const bits = map.bits();
    std::uint8_t* out = saved.data();
    std::size_t offset = 0;
    for (int y = 0; y < height; ++y) {
        yieldNow(yield);
        if (map.bits() != bits || map.Height() != height || map.Width() != width) {
            throw ZelkoraError("Наложение слоя прервано: карту заменили во время работы");
        }
        if (y >= rows) {
            continue;
        }
        std::uint8_t* const row = map.row(y);
        forEachRun(y, width, offset, [&](int x, const std::uint8_t* layer, std::size_t count) {
            std::uint8_t* const target = row + static_cast<std::size_t>(x) * kPixel;
            std::memcpy(out, target, count * kPixel);
            out += count * kPixel;
            blendPixels(target, layer, count);
        });
    }
}

void LayerRuns::restore(TPngImage& map, const std::vector<std::uint8_t>& saved) const {
    if (saved.size() != coveredBytes(map)) {
        throw ZelkoraError("Сохранённые точки не подходят к карте: слой снять нельзя");
    }
    const int rows = std::min(map.Height(), rowsHeld());
    const std::uint8_t* in = saved.data();
    std::size_t offset = 0;
    for (int y = 0; y < rows; ++y) {
        std::uint8_t* const row = map.row(y);
        forEachRun(y, map.Width(), offset, [&](int x, const std::uint8_t*, std::size_t count) {
            std::memcpy(row + static_cast<std::size_t>(x) * kPixel, in, count * kPixel);
            in += count * kPixel;
        });
    }
}

}  // namespace zelkora
