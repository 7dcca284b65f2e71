#include "shell/PictureView.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "mapimage/ParallelJobs.h"

namespace zelkora {

static_assert(PictureView::fitSize({1113, 2000}, {466, 782}) == QSize(435, 782));
static_assert(PictureView::fitSize({2000, 1000}, {466, 782}) == QSize(466, 233));
static_assert(PictureView::fitSize({100, 100}, {466, 782}) == QSize(466, 466));
static_assert(PictureView::fitSize({5000, 1}, {466, 782}) == QSize(466, 1));

namespace {

// Weights in 1/256 of an output pixel: a sum of 256 weighted bytes still fits 16 bits, and
// two axes' worth fits 32.
constexpr std::uint32_t kUnit = 256;

// How the source pixels along one axis share out over the output pixels: output pixel o takes
// source pixels first[o] .. first[o] + count[o] - 1 with weights weight[start[o] + k], which sum
// to kUnit. Exact coverage, rounded so that the rounding never adds up.
struct AxisWeights {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<std::size_t> start;
    std::vector<std::uint32_t> weight;

    AxisWeights(int from, int to) {
        // Positions in units of 1/to of a source pixel; output pixel o spans [o * from,
        // (o + 1) * from).
        const auto scaledAt = [&](std::int64_t position, int o) {
            return static_cast<std::uint32_t>(
                ((position - std::int64_t{o} * from) * kUnit + from / 2) / from);
        };
        for (int o = 0; o < to; ++o) {
            const std::int64_t begin = std::int64_t{o} * from;
            const std::int64_t end = begin + from;
            const int i0 = static_cast<int>(begin / to);
            const int i1 = static_cast<int>((end + to - 1) / to);
            first.push_back(i0);
            count.push_back(i1 - i0);
            start.push_back(weight.size());
            std::uint32_t before = 0;
            for (int i = i0; i < i1; ++i) {
                const std::uint32_t upTo = scaledAt(std::min(end, std::int64_t{i + 1} * to), o);
                weight.push_back(upTo - before);
                before = upTo;
            }
        }
    }
};

// Adds w times the premultiplied pixels of row to column, four pixels at a time: colour c
// becomes round(c * a / 255) and alpha stays a, as the colour 255 would.
void addRow(const std::uint8_t* row, std::size_t bytes, std::uint16_t w, std::uint16_t* column) {
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    const __m128i weight = _mm_set1_epi16(static_cast<short>(w));
    const auto premultiplied = [&](__m128i pixels) {
        const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels, 0xFF), 0xFF);
        const __m128i samples = _mm_or_si128(_mm_andnot_si128(alphaLanes, pixels),
                                             _mm_and_si128(alphaLanes, _mm_set1_epi16(255)));
        const __m128i t = _mm_add_epi16(_mm_mullo_epi16(samples, alpha), _mm_set1_epi16(127));
        return _mm_srli_epi16(
            _mm_add_epi16(_mm_add_epi16(t, _mm_set1_epi16(1)), _mm_srli_epi16(t, 8)), 8);
    };
    for (; i + 16 <= bytes; i += 16) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
        auto* out = reinterpret_cast<__m128i*>(column + i);
        const __m128i low = premultiplied(_mm_unpacklo_epi8(pixels, zero));
        const __m128i high = premultiplied(_mm_unpackhi_epi8(pixels, zero));
        _mm_storeu_si128(out, _mm_add_epi16(_mm_loadu_si128(out), _mm_mullo_epi16(low, weight)));
        _mm_storeu_si128(out + 1,
                         _mm_add_epi16(_mm_loadu_si128(out + 1), _mm_mullo_epi16(high, weight)));
    }
#endif
    for (; i < bytes; i += 4) {
        const unsigned a = row[i + 3];
        for (int c = 0; c < 3; ++c) {
            const unsigned t = row[i + c] * a + 127;
            column[i + c] =
                static_cast<std::uint16_t>(column[i + c] + w * ((t + 1 + (t >> 8)) >> 8));
        }
        column[i + 3] = static_cast<std::uint16_t>(column[i + 3] + w * a);
    }
}

// One output pixel from the halved column sums under it: its taps in pairs.
void sharePixel(const std::uint16_t* in, const std::uint32_t* w, int taps, std::uint8_t* out) {
#ifdef __SSE2__
    __m128i sum = _mm_setzero_si128();
    for (int k = 0; k < taps; k += 2, in += 8) {
        const __m128i pair =
            _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(in)),
                               _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + 4)));
        const int second = k + 1 < taps ? static_cast<int>(w[k + 1]) : 0;
        const __m128i weights = _mm_set1_epi32(second << 16 | static_cast<int>(w[k]));
        sum = _mm_add_epi32(sum, _mm_madd_epi16(pair, weights));
    }
    // Scaled by kUnit twice and halved once.
    const __m128i rounded =
        _mm_srli_epi32(_mm_add_epi32(sum, _mm_set1_epi32(kUnit * kUnit / 4)), 15);
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(rounded, rounded), rounded);
    const int packed = _mm_cvtsi128_si32(bytes);
    std::memcpy(out, &packed, 4);
#else
    std::uint32_t sum[4] = {0, 0, 0, 0};
    for (int k = 0; k < taps; ++k, in += 4) {
        for (int c = 0; c < 4; ++c) {
            sum[c] += w[k] * in[c];
        }
    }
    for (int c = 0; c < 4; ++c) {
        out[c] = static_cast<std::uint8_t>((sum[c] + kUnit * kUnit / 4) >> 15);
    }
#endif
}

// Output rows [rowBegin, rowEnd): first the source rows under each output row are summed with
// their weights, premultiplied, then that sum is shared out along the row. A column sum is at
// most 255 * kUnit, which fits 16 bits; halved, it fits the signed lanes that pairs of
// weights multiply.
void scaleRows(const TPngImage& picture, const AxisWeights& across, const AxisWeights& down,
               int rowBegin, int rowEnd, std::uint8_t* out, std::size_t outStride) {
    const auto sourceBytes = static_cast<std::size_t>(picture.Width()) * TPngImage::kChannels;
    // Room for a pixel past the end, so that taps can be read in pairs.
    std::vector<std::uint16_t> column(sourceBytes + 4);
    for (int oy = rowBegin; oy < rowEnd; ++oy) {
        std::fill(column.begin(), column.end(), 0);
        const auto oyIndex = static_cast<std::size_t>(oy);
        for (int k = 0; k < down.count[oyIndex]; ++k) {
            const auto w = static_cast<std::uint16_t>(
                down.weight[down.start[oyIndex] + static_cast<std::size_t>(k)]);
            addRow(picture.row(down.first[oyIndex] + k), sourceBytes, w, column.data());
        }
        for (std::uint16_t& sum : column) {
            sum >>= 1;
        }
        std::uint8_t* line = out + oyIndex * outStride;
        for (std::size_t ox = 0; ox < across.first.size(); ++ox) {
            sharePixel(column.data() + static_cast<std::size_t>(across.first[ox]) * 4,
                       across.weight.data() + across.start[ox], across.count[ox], line + 4 * ox);
        }
    }
}

}  // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

QImage PictureView::scaledPicture(const TPngImage& picture, QSize size) {
    QImage out(size, QImage::Format_RGBA8888_Premultiplied);
    const AxisWeights across(picture.Width(), size.width());
    const AxisWeights down(picture.Height(), size.height());
    // Bands of rows, shared out among the cores.
    constexpr int kBands = 8;
    const int height = size.height();
    // Taken here: QImage's own row access is not for several threads at once.
    std::uint8_t* const bits = out.bits();
    const auto stride = static_cast<std::size_t>(out.bytesPerLine());
    for (const std::exception_ptr& failure : runJobs(kBands, [&](std::size_t band) {
             const int begin = static_cast<int>(band) * height / kBands;
             const int end = (static_cast<int>(band) + 1) * height / kBands;
             scaleRows(picture, across, down, begin, end, bits, stride);
         })) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
    return out;
}

void PictureView::setPicture(TPngImage picture) {
    replacePicture(std::move(picture));
}

TPngImage PictureView::replacePicture(TPngImage picture) {
    TPngImage old = std::exchange(picture_, std::move(picture));
    shown_ = fitSize(QSize(picture_.Width(), picture_.Height()), size());
    if (shown_.isEmpty()) {
        scaled_ = QPixmap();
    } else {
        const qreal ratio = devicePixelRatioF();
        scaled_ = QPixmap::fromImage(scaledPicture(picture_, shown_ * ratio));
        scaled_.setDevicePixelRatio(ratio);
    }
    update();
    return old;
}

void PictureView::paintEvent(QPaintEvent*) {
    if (!scaled_.isNull()) {
        QPainter(this).drawPixmap(0, 0, scaled_);
    }
}

std::optional<QPoint> PictureView::pixelAt(QPointF position) const {
    if (shown_.isEmpty() || position.x() < 0 || position.y() < 0 ||
        position.x() >= shown_.width() || position.y() >= shown_.height()) {
        return std::nullopt;
    }
    const int x = static_cast<int>(std::floor(position.x() * picture_.Width() / shown_.width()));
    const int y = static_cast<int>(std::floor(position.y() * picture_.Height() / shown_.height()));
    return QPoint(std::min(x, picture_.Width() - 1), std::min(y, picture_.Height() - 1));
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    if (onPointer_) {
        onPointer_(pixelAt(event->position()));
    }
    QWidget::mouseMoveEvent(event);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    const std::optional<QPoint> pixel = pixelAt(event->position());
    if (event->button() == Qt::LeftButton && pixel && onClick_) {
        onClick_(*pixel);
    }
    QWidget::mousePressEvent(event);
}

void PictureView::leaveEvent(QEvent* event) {
    if (onPointer_) {
        onPointer_(std::nullopt);
    }
    QWidget::leaveEvent(event);
}

}  // namespace zelkora
