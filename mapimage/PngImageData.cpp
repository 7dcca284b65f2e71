#include "mapimage/PngImageData.h"

#include <libdeflate.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zelkora {

namespace {

constexpr std::size_t kPixel = 4;
constexpr unsigned char kSignature[8] = {137, 'P', 'N', 'G', '\r', '\n', 26, '\n'};
// Deflate turns one stored byte into at most 1032: image data that claims more is damaged.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

std::uint32_t bigEndian32(const unsigned char* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

bool isType(const unsigned char* type, const char (&name)[5]) {
    return std::memcmp(type, name, 4) == 0;
}

constexpr std::uint8_t paethPredictor(int a, int b, int c) {
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    return static_cast<std::uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Undoes the filter of one row: in holds the filtered bytes, out receives the pixels and may be
// in itself or lie before it in the same buffer, since no byte is written before it is read;
// prev is the row above, unfiltered (zeros for the first row). Four bytes a pixel.
void unfilterRow(std::uint8_t filter, const std::uint8_t* in, std::uint8_t* out,
                 const std::uint8_t* prev, std::size_t bytes) {
    std::size_t i = 0;
    switch (filter) {
        case 1:  // Sub
#ifdef __SSE2__
        {
            // Running sums of four pixels at a time, carried from the block before.
            __m128i last = _mm_setzero_si128();
            for (; i + 16 <= bytes; i += 16) {
                __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
                d = _mm_add_epi8(d, _mm_slli_si128(d, 4));
                d = _mm_add_epi8(d, _mm_slli_si128(d, 8));
                d = _mm_add_epi8(d, _mm_shuffle_epi32(last, 0xFF));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), d);
                last = d;
            }
        }
#endif
            for (; i < kPixel; ++i) {
                out[i] = in[i];
            }
            for (; i < bytes; ++i) {
                out[i] = static_cast<std::uint8_t>(in[i] + out[i - kPixel]);
            }
            return;
        case 2:  // Up
#ifdef __SSE2__
            for (; i + 16 <= bytes; i += 16) {
                const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
                const __m128i up = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_add_epi8(d, up));
            }
#endif
            for (; i < bytes; ++i) {
                out[i] = static_cast<std::uint8_t>(in[i] + prev[i]);
            }
            return;
        case 3:  // Average
            for (; i < kPixel; ++i) {
                out[i] = static_cast<std::uint8_t>(in[i] + (prev[i] >> 1));
            }
            for (; i < bytes; ++i) {
                out[i] = static_cast<std::uint8_t>(in[i] + ((out[i - kPixel] + prev[i]) >> 1));
            }
            return;
        case 4:  // Paeth
#ifdef __SSE2__
        {
            // One pixel at a time in 16-bit lanes; left and upper left carry over. Where the
            // filtered bytes are zero and the pixels above all equal the left one, the next four
            // pixels are that one too: the flat and the clear parts of a map go four at a time.
            const __m128i zero = _mm_setzero_si128();
            __m128i a = zero;
            __m128i c = zero;
            std::int32_t left = 0;
            std::int32_t upLeft = 0;
            for (; i + kPixel <= bytes; i += kPixel) {
                if (left == upLeft && i + 16 <= bytes) {
                    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
                    const __m128i above =
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i));
                    if (_mm_movemask_epi8(_mm_cmpeq_epi8(block, zero)) == 0xFFFF &&
                        _mm_movemask_epi8(_mm_cmpeq_epi32(above, _mm_set1_epi32(left))) == 0xFFFF) {
                        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), above);
                        i += 16 - kPixel;
                        continue;
                    }
                }
                std::int32_t filtered = 0;
                std::int32_t up = 0;
                std::memcpy(&filtered, in + i, 4);
                std::memcpy(&up, prev + i, 4);
                const __m128i b = _mm_unpacklo_epi8(_mm_cvtsi32_si128(up), zero);
                const __m128i d = _mm_unpacklo_epi8(_mm_cvtsi32_si128(filtered), zero);
                const __m128i bc = _mm_sub_epi16(b, c);
                const __m128i ac = _mm_sub_epi16(a, c);
                const __m128i pa = _mm_max_epi16(bc, _mm_sub_epi16(zero, bc));
                const __m128i pb = _mm_max_epi16(ac, _mm_sub_epi16(zero, ac));
                const __m128i sum = _mm_add_epi16(bc, ac);
                const __m128i pc = _mm_max_epi16(sum, _mm_sub_epi16(zero, sum));
                const __m128i least = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
                const __m128i useA = _mm_cmpeq_epi16(pa, least);
                const __m128i useB = _mm_andnot_si128(useA, _mm_cmpeq_epi16(pb, least));
                const __m128i useC =
                    _mm_andnot_si128(_mm_or_si128(useA, useB), _mm_cmpeq_epi16(zero, zero));
                const __m128i predicted =
                    _mm_or_si128(_mm_or_si128(_mm_and_si128(useA, a), _mm_and_si128(useB, b)),
                                 _mm_and_si128(useC, c));
                a = _mm_and_si128(_mm_add_epi16(d, predicted), _mm_set1_epi16(0xFF));
                c = b;
                left = _mm_cvtsi128_si32(_mm_packus_epi16(a, a));
                upLeft = up;
                std::memcpy(out + i, &left, 4);
            }
        }
#endif
            for (; i < bytes; ++i) {
                const int left = i >= kPixel ? out[i - kPixel] : 0;
                const int upLeft = i >= kPixel ? prev[i - kPixel] : 0;
                out[i] = static_cast<std::uint8_t>(in[i] + paethPredictor(left, prev[i], upLeft));
            }
            return;
        default:  // None
            std::memmove(out, in, bytes);
            return;
    }
}

struct DecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

}  // namespace

bool PngImageData::decode(std::string_view file) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    const std::size_t size = file.size();
    if (size < sizeof kSignature || std::memcmp(bytes, kSignature, sizeof kSignature) != 0) {
        return false;
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> stream;  // the IDAT chunks' data, joined
    bool seenHeader = false;
    bool seenEnd = false;
    int idatRuns = 0;
    bool inIdat = false;
    for (std::size_t at = sizeof kSignature; !seenEnd;) {
        if (size - at < 12) {
            return false;
        }
        const std::uint32_t length = bigEndian32(bytes + at);
        if (length > 0x7FFFFFFFu || size - at - 12 < length) {
            return false;
        }
        const unsigned char* type = bytes + at + 4;
        const unsigned char* data = type + 4;
        const uLong crc = crc32_z(crc32(0, nullptr, 0), type, length + 4);
        if (crc != bigEndian32(data + length)) {
            return false;
        }
        if (!seenHeader) {
            // IHDR first: 8-bit RGBA, deflate, adaptive filtering, not interlaced.
            if (!isType(type, "IHDR") || length != 13 || data[8] != 8 || data[9] != 6 ||
                data[10] != 0 || data[11] != 0 || data[12] != 0) {
                return false;
            }
            width = bigEndian32(data);
            height = bigEndian32(data + 4);
            if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
                std::uint64_t{width} * height > kMaxPixels) {
                return false;
            }
            seenHeader = true;
        } else if (isType(type, "IDAT")) {
            idatRuns += inIdat ? 0 : 1;
            stream.insert(stream.end(), data, data + length);
        } else if (isType(type, "IEND")) {
            seenEnd = length == 0;
            if (!seenEnd) {
                return false;
            }
        } else if ((type[0] & 0x20) == 0 || isType(type, "gAMA") || isType(type, "tRNS")) {
            // Another critical chunk, or one that changes the pixels: libpng's to judge.
            return false;
        }
        inIdat = isType(type, "IDAT");
        at += 12 + std::size_t{length};
    }
    const std::size_t rowBytes = std::size_t{width} * kPixel + 1;
    const std::size_t total = rowBytes * height;
    if (idatRuns != 1 || total > kMaxDeflateRatio * stream.size() + 4096) {
        return false;
    }

    const std::unique_ptr<libdeflate_decompressor, DecompressorFree> decompressor(
        libdeflate_alloc_decompressor());
    if (!decompressor) {
        return false;
    }
    TPngImage::Pixels filtered(total);
    std::size_t used = 0;
    std::size_t made = 0;
    // The stream must fill the rows exactly and end where the image data ends.
    if (libdeflate_zlib_decompress_ex(decompressor.get(), stream.data(), stream.size(),
                                      filtered.data(), total, &used, &made) != LIBDEFLATE_SUCCESS ||
        used != stream.size() || made != total) {
        return false;
    }
    for (std::size_t y = 0; y < height; ++y) {
        if (filtered[y * rowBytes] > 4) {
            return false;
        }
    }
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    filtered_ = std::move(filtered);
    return true;
}

TPngImage::Pixels PngImageData::takePixels() {
    const std::size_t bytes = static_cast<std::size_t>(width_) * kPixel;
    std::uint8_t* const base = filtered_.data();
    // Each row lands one byte further left per row above it, over bytes already read.
    const std::vector<std::uint8_t> zeros(bytes, 0);
    const std::uint8_t* prev = zeros.data();
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* line = base + static_cast<std::size_t>(y) * (bytes + 1);
        std::uint8_t* target = base + static_cast<std::size_t>(y) * bytes;
        unfilterRow(line[0], line + 1, target, prev, bytes);
        prev = target;
    }
    filtered_.resize(bytes * static_cast<std::size_t>(height_));
    return std::move(filtered_);
}

}  // namespace zelkora
