#include <gtest/gtest.h>

#include "common/ZelkoraError.h"
#include "plot/ResizeIMG.h"
#include "tests/plot/PlotFixtures.h"

namespace zelkora {

namespace {

bool isUniform(const TPngImage& image, Rgba colour) {
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (pixelAt(image, x, y) != colour) {
                return false;
            }
        }
    }
    return true;
}

TEST(ResizeIMG, SameSizeIsAnExactCopy) {
    const TPngImage original = noise(37, 23, 1);
    TPngImage png = original;
    ResizeIMG(png, 37, 23);
    EXPECT_EQ(png, original);
}

struct SizeCase {
    int w, h, newx, newy;
};

class UniformColour : public testing::TestWithParam<SizeCase> {};

// The colour under a transparent pixel is kept as it is: nothing is premultiplied.
TEST_P(UniformColour, StaysUniform) {
    const SizeCase& c = GetParam();
    const Rgba colour{200, 100, 50, 128};
    TPngImage png = filled(c.w, c.h, colour);
    ResizeIMG(png, c.newx, c.newy);
    ASSERT_EQ(png.Width(), c.newx);
    ASSERT_EQ(png.Height(), c.newy);
    EXPECT_TRUE(isUniform(png, colour));

    TPngImage clear = filled(c.w, c.h, {90, 180, 30, 0});
    ResizeIMG(clear, c.newx, c.newy);
    EXPECT_TRUE(isUniform(clear, {90, 180, 30, 0}));
}

// Smaller, larger, and the two canvas cases: an icon smaller than the target on one side and
// larger on the other keeps its larger extent on the canvas, and none of the canvas's black
// opaque pixels reach the result.
INSTANTIATE_TEST_SUITE_P(ResizeIMG, UniformColour,
                         testing::Values(SizeCase{64, 64, 59, 59}, SizeCase{32, 32, 59, 59},
                                         SizeCase{256, 200, 59, 59}, SizeCase{256, 20, 59, 59},
                                         SizeCase{7, 300, 128, 10}, SizeCase{1, 1, 128, 128}));

TEST(ResizeIMG, TwoByTwoToOneIsTheAverageOfEachChannelOnItsOwn) {
    TPngImage png = TPngImage::CreateBlank(2, 2);
    setPixel(png, 0, 0, {10, 0, 200, 0});
    setPixel(png, 1, 0, {20, 0, 200, 100});
    setPixel(png, 0, 1, {30, 0, 0, 200});
    setPixel(png, 1, 1, {40, 255, 0, 255});
    ResizeIMG(png, 1, 1);
    // 25, 63.75, 100, 138.75: the red of the transparent pixel counts like any other.
    EXPECT_EQ(pixelAt(png, 0, 0), (Rgba{25, 64, 100, 139}));
}

TEST(ResizeIMG, DownscalingAveragesTheCoveredArea) {
    // Three columns into two: each destination pixel covers one and a half source pixels.
    TPngImage png = TPngImage::CreateBlank(3, 1);
    setPixel(png, 0, 0, {0, 0, 0, 0});
    setPixel(png, 1, 0, {90, 90, 90, 90});
    setPixel(png, 2, 0, {240, 240, 240, 240});
    ResizeIMG(png, 2, 1);
    EXPECT_EQ(pixelAt(png, 0, 0), (Rgba{30, 30, 30, 30}));      // (0 + 90 / 2) / 1.5
    EXPECT_EQ(pixelAt(png, 1, 0), (Rgba{190, 190, 190, 190}));  // (45 + 240) / 1.5
}

TEST(ResizeIMG, EnlargingSpreadsEachPixelOverABlock) {
    TPngImage png = TPngImage::CreateBlank(2, 1);
    const Rgba left{255, 0, 0, 255}, right{0, 0, 200, 100};
    setPixel(png, 0, 0, left);
    setPixel(png, 1, 0, right);
    ResizeIMG(png, 6, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(pixelAt(png, x, y), x < 3 ? left : right) << x << ", " << y;
        }
    }
    // A destination pixel that straddles two source pixels takes half of each.
    TPngImage straddle = TPngImage::CreateBlank(2, 1);
    setPixel(straddle, 0, 0, {0, 0, 0, 0});
    setPixel(straddle, 1, 0, {200, 100, 50, 254});
    ResizeIMG(straddle, 3, 1);
    EXPECT_EQ(pixelAt(straddle, 1, 0), (Rgba{100, 50, 25, 127}));
}

// The whole of an icon larger than the target is scaled into it, not cut: the four quadrants of
// 256 x 200 land in the four quadrants of 59 x 59.
TEST(ResizeIMG, LargerIconIsScaledWhole) {
    const Rgba colours[2][2] = {{{255, 0, 0, 255}, {0, 255, 0, 255}},
                                {{0, 0, 255, 255}, {255, 255, 0, 128}}};
    TPngImage png = TPngImage::CreateBlank(256, 200);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 256; ++x) {
            setPixel(png, x, y, colours[y / 100][x / 128]);
        }
    }
    ResizeIMG(png, 59, 59);
    ASSERT_EQ(png.Width(), 59);
    ASSERT_EQ(png.Height(), 59);
    EXPECT_EQ(pixelAt(png, 0, 0), colours[0][0]);
    EXPECT_EQ(pixelAt(png, 58, 0), colours[0][1]);
    EXPECT_EQ(pixelAt(png, 0, 58), colours[1][0]);
    EXPECT_EQ(pixelAt(png, 58, 58), colours[1][1]);
    EXPECT_EQ(pixelAt(png, 28, 28), colours[0][0]);
    EXPECT_EQ(pixelAt(png, 30, 30), colours[1][1]);
}

TEST(ResizeIMG, RefusesAnEmptyRasterOrTargetSize) {
    TPngImage empty;
    EXPECT_THROW(ResizeIMG(empty, 10, 10), ZelkoraError);
    TPngImage png = filled(4, 4, {1, 2, 3, 4});
    EXPECT_THROW(ResizeIMG(png, 0, 10), ZelkoraError);
    EXPECT_THROW(ResizeIMG(png, 10, -1), ZelkoraError);
    EXPECT_EQ(png, filled(4, 4, {1, 2, 3, 4}));
}

}  // namespace

}  // namespace zelkora
