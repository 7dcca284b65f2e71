#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>

#include "common/ZelkoraError.h"
#include "mapimage/Compositing.h"
#include "tests/mapimage/PngFixture.h"
#include "tests/support/TestImages.h"

namespace zelkora {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The blend as first described, with the alpha laid over: the layer re-canvassed to the base,
// then every colour sample blended with a 32-bit float coefficient.
TPngImage literalMerge(const TPngImage& base, const TPngImage& layer, std::int64_t left,
                       std::int64_t top) {
    TPngImage out = base;
    for (int y = 0; y < base.Height(); ++y) {
        for (int x = 0; x < base.Width(); ++x) {
            const std::int64_t lx = x - left;
            const std::int64_t ly = y - top;
            std::uint8_t l[4] = {0, 0, 0, 0};
            if (lx >= 0 && ly >= 0 && lx < layer.Width() && ly < layer.Height()) {
                std::copy_n(layer.row(static_cast<int>(ly)) + lx * 4, 4, l);
            }
            std::uint8_t* b = out.row(y) + x * 4;
            const float c = l[3] / 255.0f;
            b[3] = static_cast<std::uint8_t>(b[3] + std::lround((255 - b[3]) * l[3] / 255.0));
            for (int s = 0; s < 3; ++s) {
                b[s] = static_cast<std::uint8_t>(std::lround(b[s] + (l[s] - b[s]) * c));
            }
        }
    }
    return out;
}

TEST(BlendSample, MatchesFloatFormulaForEveryInput) {
    int mismatches = 0;
    for (int alpha = 0; alpha < 256; ++alpha) {
        const float c = static_cast<float>(alpha) / 255.0f;
        for (int base = 0; base < 256; ++base) {
            for (int layer = 0; layer < 256; ++layer) {
                const int got = blendSample(base, layer, alpha);
                const long inFloat = std::lround(static_cast<float>(base) + (layer - base) * c);
                const long inDouble = std::lround(base + (layer - base) * static_cast<double>(c));
                mismatches += got != inFloat || got != inDouble || got < std::min(base, layer) ||
                              got > std::max(base, layer);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// Exact nearest rounding of A1 + (255 - A1) * A2 / 255, checked in integers: the error of the
// result times 255 stays below one half of 255.
TEST(OverAlpha, RoundsTheOverFormulaForEveryInput) {
    int mismatches = 0;
    for (int base = 0; base < 256; ++base) {
        for (int layer = 0; layer < 256; ++layer) {
            const int got = overAlpha(base, layer);
            const int error = 255 * (got - base) - (255 - base) * layer;
            mismatches += 2 * std::abs(error) >= 255 || got < std::max(base, layer) || got > 255;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(overAlpha(255, 128), 255) << "an opaque map stays opaque";
    EXPECT_EQ(overAlpha(40, 255), 255);
    EXPECT_EQ(overAlpha(40, 0), 40);
}

// The blend of whole rows, four pixels at a time and one by one at the end, against the two
// reference functions for every base, layer and alpha value. Odd row lengths and offsets leave
// a tail and unaligned blocks.
TEST(BlendPixels, AgreesWithSampleFunctionsForEveryInput) {
    int mismatches = 0;
    for (const std::size_t offset : {std::size_t{0}, std::size_t{3}}) {
        for (int alpha = 0; alpha < 256; ++alpha) {
            const std::size_t count = 65536 - offset;
            Bytes base(4 * 65536), layer(4 * 65536);
            for (std::size_t i = 0; i < 65536; ++i) {
                const auto b = static_cast<std::uint8_t>(i >> 8);
                const auto l = static_cast<std::uint8_t>(i);
                base[4 * i] = b;
                base[4 * i + 1] = l;
                base[4 * i + 2] = static_cast<std::uint8_t>(b ^ l);
                base[4 * i + 3] = b;
                layer[4 * i] = l;
                layer[4 * i + 1] = b;
                layer[4 * i + 2] = static_cast<std::uint8_t>(255 - l);
                layer[4 * i + 3] = static_cast<std::uint8_t>(alpha);
            }
            const Bytes before = base;
            blendPixels(base.data() + 4 * offset, layer.data() + 4 * offset, count);
            for (std::size_t i = 0; i < 65536; ++i) {
                const std::uint8_t* was = before.data() + 4 * i;
                const std::uint8_t* by = layer.data() + 4 * i;
                const std::uint8_t* got = base.data() + 4 * i;
                if (i < offset) {
                    mismatches += !std::equal(got, got + 4, was);
                    continue;
                }
                for (int s = 0; s < 3; ++s) {
                    mismatches += got[s] != blendSample(was[s], by[s], alpha);
                }
                mismatches += got[3] != overAlpha(was[3], alpha);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

struct PixelCase {
    const char* name;
    Bytes base, layer, expected;
};

void PrintTo(const PixelCase& c, std::ostream* os) {
    *os << c.name;
}

class WorkedPixels : public testing::TestWithParam<PixelCase> {};

TEST_P(WorkedPixels, Blend) {
    const PixelCase& c = GetParam();
    TPngImage base = rasterOf(1, 1, c.base);
    MergePNGLayerMy(base, rasterOf(1, 1, c.layer), 0, 0);
    EXPECT_EQ(Bytes(base.bits(), base.bits() + 4), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Merge, WorkedPixels,
    testing::Values(
        PixelCase{"WhiteHalfOverBlack", {0, 0, 0, 255}, {255, 255, 255, 128}, {128, 128, 128, 255}},
        PixelCase{"Red200Under100Alpha64", {200, 0, 0, 255}, {100, 0, 0, 64}, {175, 0, 0, 255}},
        PixelCase{"Alpha1RoundsBackUp", {100, 0, 0, 255}, {0, 0, 0, 1}, {100, 0, 0, 255}},
        PixelCase{"OpaqueReplacesAlphaToo", {1, 2, 3, 40}, {7, 8, 9, 255}, {7, 8, 9, 255}},
        PixelCase{"TransparentKeepsBase", {1, 2, 3, 40}, {7, 8, 9, 0}, {1, 2, 3, 40}},
        PixelCase{"BaseAlphaDoesNotWeakenLayer", {0, 0, 0, 0}, {255, 0, 0, 128}, {128, 0, 0, 128}},
        PixelCase{"HalfOverHalf", {0, 0, 0, 128}, {255, 255, 255, 128}, {128, 128, 128, 192}}),
    [](const auto& info) { return std::string(info.param.name); });

struct PlacementCase {
    const char* name;
    int layerW, layerH, left, top;
};

void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.name;
}

class Placement : public testing::TestWithParam<PlacementCase> {};

// Cropping, offsets and the pixels outside the layer, against the literal algorithm.
TEST_P(Placement, AgreesWithLiteralBlend) {
    const PlacementCase& c = GetParam();
    TPngImage base = noise(23, 17, 1);
    const TPngImage layer = noise(c.layerW, c.layerH, 2);
    const TPngImage layerBefore = layer;
    const TPngImage expected = literalMerge(base, layer, c.left, c.top);
    MergePNGLayerMy(base, layer, c.left, c.top);
    EXPECT_EQ(base, expected);
    EXPECT_EQ(layer, layerBefore);
}

INSTANTIATE_TEST_SUITE_P(Merge, Placement,
                         testing::Values(PlacementCase{"SameSize", 23, 17, 0, 0},
                                         PlacementCase{"LargerIsCropped", 40, 30, 0, 0},
                                         PlacementCase{"SmallerLeavesRest", 5, 4, 0, 0},
                                         PlacementCase{"Inside", 5, 4, 9, 6},
                                         PlacementCase{"OverTopLeft", 10, 10, -4, -7},
                                         PlacementCase{"OverBottomRight", 10, 10, 18, 12},
                                         PlacementCase{"OffRight", 10, 10, 23, 0},
                                         PlacementCase{"OffLeft", 10, 10, -10, 0},
                                         PlacementCase{"FarAway", 10, 10, INT_MIN, INT_MAX},
                                         PlacementCase{"EmptyLayer", 0, 0, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MergeYield, OnceBeforeEachRow) {
    TPngImage base = rasterOf(2, 3, Bytes(2 * 3 * 4, 10));
    const TPngImage layer = rasterOf(2, 3, Bytes(2 * 3 * 4, 255));
    int calls = 0;
    MergePNGLayerMy(base, layer, 0, 0, [&] {
        const int y = calls++;
        EXPECT_EQ(base.row(y)[0], 10) << "row " << y << " blended before its turn";
        if (y > 0) {
            EXPECT_EQ(base.row(y - 1)[0], 255) << "row " << y - 1 << " not blended yet";
        }
    });
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(base, layer);
}

TEST(MergeYield, ReplacedRasterStopsTheBlend) {
    TPngImage base = noise(8, 8, 3);
    TPngImage layer = noise(8, 8, 4);
    EXPECT_THROW(MergePNGLayerMy(base, layer, 0, 0, [&] { base = noise(2, 2, 5); }), ZelkoraError);
    EXPECT_THROW(MergePNGLayerMy(base, layer, 0, 0, [&] { layer = TPngImage(); }), ZelkoraError);
}

TEST(MergeEmpty, EmptyBaseStaysEmpty) {
    TPngImage base;
    MergePNGLayerMy(base, noise(3, 3, 6), 0, 0, [] { ADD_FAILURE() << "no rows to yield for"; });
    EXPECT_TRUE(base.isEmpty());
}

struct CanvasCase {
    const char* name;
    std::uint32_t newW, newH;
    std::int32_t beginX, beginY;
};

void PrintTo(const CanvasCase& c, std::ostream* os) {
    *os << c.name;
}

class Canvas : public testing::TestWithParam<CanvasCase> {};

TEST_P(Canvas, PlacesSourceOnTransparentBlack) {
    const CanvasCase& c = GetParam();
    const TPngImage source = noise(12, 5, 7);
    TPngImage image = source;
    SetPNGCanvasSize(image, c.newW, c.newH, c.beginX, c.beginY);
    ASSERT_EQ(image.Width(), static_cast<int>(c.newW));
    ASSERT_EQ(image.Height(), static_cast<int>(c.newH));
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const std::int64_t sx = std::int64_t{x} - c.beginX;
            const std::int64_t sy = std::int64_t{y} - c.beginY;
            const bool inside = sx >= 0 && sy >= 0 && sx < 12 && sy < 5;
            for (int s = 0; s < 4; ++s) {
                const int want = inside ? source.row(static_cast<int>(sy))[sx * 4 + s] : 0;
                ASSERT_EQ(image.row(y)[x * 4 + s], want) << x << "," << y;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    SetPNGCanvasSize, Canvas,
    testing::Values(CanvasCase{"SameSize", 12, 5, 0, 0}, CanvasCase{"Grow", 20, 9, 3, 2},
                    CanvasCase{"DropTenLeftColumns", 12, 5, -10, 0},
                    CanvasCase{"BeginXEqualsNewW", 12, 5, 12, 0},
                    CanvasCase{"RightEdgeAtZero", 12, 5, -12, 0},
                    CanvasCase{"LeftOfCanvas", 12, 5, -13, -1},
                    CanvasCase{"BelowCanvas", 12, 5, 0, 5},
                    CanvasCase{"ExtremeOffsets", 4, 4, INT32_MIN, INT32_MAX},
                    CanvasCase{"ExtremeOffsetsOtherWay", 4, 4, INT32_MAX, INT32_MIN},
                    CanvasCase{"NothingLeft", 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetPNGCanvasSize, OversizedCanvasIsRefusedAndSourceKept) {
    const TPngImage source = noise(3, 3, 8);
    for (const auto& [w, h] : {std::pair<std::uint32_t, std::uint32_t>{1u << 20, 1u << 20},
                               {UINT32_MAX, 0u},
                               {0u, UINT32_MAX}}) {
        TPngImage image = source;
        EXPECT_THROW(SetPNGCanvasSize(image, w, h, 0, 0), ZelkoraError) << w << "x" << h;
        EXPECT_EQ(image, source);
    }
}

}  // namespace

}  // namespace zelkora
