#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "shell/PictureView.h"
#include "tests/support/TestImages.h"

namespace zelkora {

namespace {

struct SizeCase {
    const char* name;
    QSize from, to;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.name;
}

class ScaledPicture : public testing::TestWithParam<SizeCase> {};

Rgba scaledAt(const QImage& image, int x, int y) {
    const uchar* p = image.constScanLine(y) + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

// Every output pixel against the area average computed in doubles, premultiplied.
TEST_P(ScaledPicture, IsTheAreaAverageOfThePremultipliedPicture) {
    const SizeCase& c = GetParam();
    const TPngImage picture = noise(c.from.width(), c.from.height(), 5);
    const QImage scaled = PictureView::scaledPicture(picture, c.to);
    ASSERT_EQ(scaled.size(), c.to);
    ASSERT_EQ(scaled.format(), QImage::Format_RGBA8888_Premultiplied);
    const double sx = static_cast<double>(c.from.width()) / c.to.width();
    const double sy = static_cast<double>(c.from.height()) / c.to.height();
    const auto cover = [](double begin, double end, int i) {
        return std::max(0.0, std::min(end, i + 1.0) - std::max(begin, static_cast<double>(i)));
    };
    int worst = 0;
    for (int oy = 0; oy < c.to.height(); ++oy) {
        for (int ox = 0; ox < c.to.width(); ++ox) {
            double sum[4] = {0, 0, 0, 0};
            for (int y = static_cast<int>(oy * sy);
                 y < std::min(c.from.height(), int((oy + 1) * sy) + 1); ++y) {
                for (int x = static_cast<int>(ox * sx);
                     x < std::min(c.from.width(), int((ox + 1) * sx) + 1); ++x) {
                    const double w =
                        cover(ox * sx, (ox + 1) * sx, x) * cover(oy * sy, (oy + 1) * sy, y);
                    const Rgba p = pixelAt(picture, x, y);
                    for (int s = 0; s < 3; ++s) {
                        sum[s] += w * p[s] * p[3] / 255.0;
                    }
                    sum[3] += w * p[3];
                }
            }
            const Rgba got = scaledAt(scaled, ox, oy);
            for (int s = 0; s < 4; ++s) {
                worst = std::max(
                    worst, std::abs(got[s] - static_cast<int>(std::lround(sum[s] / (sx * sy)))));
            }
            EXPECT_LE(got[0], got[3]) << "not premultiplied at " << ox << "," << oy;
        }
    }
    EXPECT_LE(worst, 1) << "more than the rounding of the weights";
}

INSTANTIATE_TEST_SUITE_P(PictureView, ScaledPicture,
                         testing::Values(SizeCase{"MapIntoView", {200, 336}, {46, 78}},
                                         SizeCase{"Enlarged", {10, 7}, {33, 17}},
                                         SizeCase{"SameSize", {9, 9}, {9, 9}},
                                         SizeCase{"ToOnePixel", {13, 5}, {1, 1}},
                                         SizeCase{"OneRowWide", {300, 1}, {47, 1}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The weights of each output pixel add up to one exactly, so a flat area stays its colour.
TEST(ScaledPictureExact, FlatColourStaysExact) {
    for (const QSize to : {QSize(465, 782), QSize(7, 3), QSize(800, 900)}) {
        const QImage scaled =
            PictureView::scaledPicture(filled(2000, 3360, {12, 200, 77, 255}), to);
        const QImage expected = [&] {
            QImage image(to, QImage::Format_RGBA8888_Premultiplied);
            image.fill(QColor(12, 200, 77));
            return image;
        }();
        EXPECT_EQ(scaled, expected) << to.width() << "x" << to.height();
    }
}

// A transparent pixel lends its colour nothing: opaque red beside transparent green is red at
// half strength, not brown.
TEST(ScaledPictureExact, TransparentColourDoesNotBleed) {
    TPngImage picture = TPngImage::CreateBlank(2, 1);
    setPixel(picture, 0, 0, {255, 0, 0, 255});
    setPixel(picture, 1, 0, {0, 255, 0, 0});
    const QImage scaled = PictureView::scaledPicture(picture, {1, 1});
    EXPECT_EQ(scaledAt(scaled, 0, 0), (Rgba{128, 0, 0, 128}));
}

}  // namespace

}  // namespace zelkora
