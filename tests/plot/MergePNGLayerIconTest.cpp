#include <gtest/gtest.h>

#include <climits>

#include <random>

#include "plot/MarkerStamp.h"
#include "plot/MergePNGLayerIcon.h"

#include "tests/plot/PlotFixtures.h"

namespace zelkora {

namespace {

// The blend's sample rounding is the layer blend's blendSample, checked for every input in
// tests/mapimage; these cases check the icon's own use of it.

struct BlendCase {
    const char* name;
    Rgba icon;
    bool red;
    Rgba expected;
};

void PrintTo(const BlendCase& c, std::ostream* os) {
    *os << c.name;
}

class BlendExamples : public testing::TestWithParam<BlendCase> {};

// The map colour (250, 240, 230) with an alpha of its own that the blend must keep.
TEST_P(BlendExamples, OnePixel) {
    const BlendCase& c = GetParam();
    TPngImage map = filled(1, 1, {250, 240, 230, 77});
    MergePNGLayerIcon(map, filled(1, 1, c.icon), 0, 0, c.red, {});
    EXPECT_EQ(pixelAt(map, 0, 0), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    MergePNGLayerIcon, BlendExamples,
    testing::Values(BlendCase{"opaque_black", {0, 0, 0, 255}, false, {0, 0, 0, 77}},
                    BlendCase{"opaque_black_red", {0, 0, 0, 255}, true, {250, 0, 0, 77}},
                    BlendCase{"half_black", {0, 0, 0, 128}, false, {125, 120, 115, 77}},
                    BlendCase{"half_black_red", {0, 0, 0, 128}, true, {250, 120, 115, 77}},
                    BlendCase{"transparent", {9, 9, 9, 0}, false, {250, 240, 230, 77}},
                    BlendCase{"opaque_white_red", {255, 255, 255, 255}, true, {250, 255, 255, 77}}),
    [](const auto& info) { return std::string(info.param.name); });

// A 4 x 4 opaque icon whose pixels are all different, placed so that it crosses each edge. Every
// map pixel under the icon takes the icon's pixel, every other keeps the background.
struct Placement {
    const char* name;
    int aLeft, aTop;
};

void PrintTo(const Placement& p, std::ostream* os) {
    *os << p.name;
}

class Clipping : public testing::TestWithParam<Placement> {};

TEST_P(Clipping, CutsTheIconAtTheMapEdges) {
    const Placement& p = GetParam();
    constexpr int kMapW = 10, kMapH = 8, kIcon = 4;
    const Rgba background{200, 201, 202, 203};
    TPngImage map = filled(kMapW, kMapH, background);
    TPngImage icon = TPngImage::CreateBlank(kIcon, kIcon);
    for (int v = 0; v < kIcon; ++v) {
        for (int u = 0; u < kIcon; ++u) {
            setPixel(icon, u, v,
                     {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(v), 7, 255});
        }
    }
    int yields = 0;
    MergePNGLayerIcon(map, icon, p.aLeft, p.aTop, false, [&] { ++yields; });
    EXPECT_EQ(yields, 1);
    for (int y = 0; y < kMapH; ++y) {
        for (int x = 0; x < kMapW; ++x) {
            const long u = static_cast<long>(x) - p.aLeft;
            const long v = static_cast<long>(y) - p.aTop;
            const bool covered = u >= 0 && u < kIcon && v >= 0 && v < kIcon;
            const Rgba expected =
                covered ? Rgba{static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(v), 7, 203}
                        : background;
            ASSERT_EQ(pixelAt(map, x, y), expected) << "map pixel " << x << ", " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    MergePNGLayerIcon, Clipping,
    testing::Values(Placement{"inside", 3, 2}, Placement{"left", -2, 2}, Placement{"right", 8, 2},
                    Placement{"top", 3, -3}, Placement{"bottom", 3, 6},
                    Placement{"top_left_corner", -1, -1}, Placement{"bottom_right_corner", 9, 7},
                    Placement{"just_off_left", -4, 2}, Placement{"just_off_bottom", 3, 8},
                    Placement{"int_min", INT_MIN, INT_MIN}, Placement{"int_max", INT_MAX, INT_MAX},
                    Placement{"wraps_if_32_bit", INT_MAX - 2, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MergePNGLayerIcon, YieldsOnceBeforeBlending) {
    TPngImage map = filled(3, 3, {10, 10, 10, 255});
    const TPngImage before = map;
    int yields = 0;
    MergePNGLayerIcon(map, filled(3, 3, {0, 0, 0, 255}), 0, 0, false, [&] {
        ++yields;
        EXPECT_EQ(map, before);
    });
    EXPECT_EQ(yields, 1);
    EXPECT_EQ(pixelAt(map, 1, 1), (Rgba{0, 0, 0, 255}));
}

TEST(MergePNGLayerIcon, EmptyMapTakesNothingButStillYields) {
    TPngImage map;
    int yields = 0;
    MergePNGLayerIcon(map, filled(4, 4, {0, 0, 0, 255}), 0, 0, false, [&] { ++yields; });
    EXPECT_TRUE(map.isEmpty());
    EXPECT_EQ(yields, 1);
}

// The marker pass lays each icon from its opaque and partly transparent spans: the map gets the
// very bytes MergePNGLayerIcon gives it, for icons of every alpha, laid across every edge of the
// map, in black and in red.
TEST(MarkerStamp, LaysAnIconExactlyAsMergePNGLayerIconDoes) {
    std::mt19937 gen(27);
    std::uniform_int_distribution<int> byte(0, 255);
    TPngImage icon = TPngImage::CreateBlank(13, 11);
    for (int y = 0; y < icon.Height(); ++y) {
        for (int x = 0; x < icon.Width(); ++x) {
            // Runs of transparent, opaque and partly transparent pixels, as icons have them.
            const int kind = (x / 3 + y) % 3;
            const auto alpha = static_cast<std::uint8_t>(kind == 0   ? 0
                                                         : kind == 1 ? 255
                                                                     : byte(gen));
            setPixel(icon, x, y,
                     {static_cast<std::uint8_t>(byte(gen)), static_cast<std::uint8_t>(byte(gen)),
                      static_cast<std::uint8_t>(byte(gen)), alpha});
        }
    }
    TPngImage map = TPngImage::CreateBlank(20, 17);
    for (int y = 0; y < map.Height(); ++y) {
        for (int x = 0; x < map.Width(); ++x) {
            setPixel(map, x, y,
                     {static_cast<std::uint8_t>(byte(gen)), static_cast<std::uint8_t>(byte(gen)),
                      static_cast<std::uint8_t>(byte(gen)), static_cast<std::uint8_t>(byte(gen))});
        }
    }
    const MarkerStamp stamp(icon);
    for (const bool red : {false, true}) {
        for (const int left : {-14, -12, -5, 0, 3, 7, 19, 20, INT_MIN, INT_MAX}) {
            for (const int top : {-11, -4, 0, 6, 16, 17, INT_MIN, INT_MAX}) {
                TPngImage expected = map;
                MergePNGLayerIcon(expected, icon, left, top, red, {});
                TPngImage laid = map;
                stamp.stampOn(laid, left, top, red);
                ASSERT_EQ(laid, expected) << left << ", " << top << (red ? " red" : "");
            }
        }
    }
}

}  // namespace

}  // namespace zelkora
