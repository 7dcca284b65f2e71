#include <gtest/gtest.h>

#include <vector>

#include "common/ZelkoraError.h"
#include "mapimage/Compositing.h"
#include "mapimage/LayerRuns.h"
#include "tests/support/TestImages.h"

namespace zelkora {

namespace {

struct SizeCase {
    const char* name;
    int layerW, layerH;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.name;
}

class LayerRunsBlend : public testing::TestWithParam<SizeCase> {};

// Against the dense blend, for layers that fit, stick out and fall short; then back again.
TEST_P(LayerRunsBlend, MatchesMergeAndRestores) {
    const SizeCase& c = GetParam();
    const TPngImage map = noise(23, 17, 1);
    const TPngImage layer = noise(c.layerW, c.layerH, 2);
    TPngImage expected = map;
    MergePNGLayerMy(expected, layer, 0, 0);

    const LayerRuns runs(layer);
    TPngImage blended = map;
    std::vector<std::uint8_t> saved;
    int calls = 0;
    runs.blendOver(blended, saved, [&] { ++calls; });
    EXPECT_EQ(blended, expected);
    EXPECT_EQ(calls, map.Height());
    runs.restore(blended, saved);
    EXPECT_EQ(blended, map);
}

INSTANTIATE_TEST_SUITE_P(Runs, LayerRunsBlend,
                         testing::Values(SizeCase{"SameSize", 23, 17},
                                         SizeCase{"LargerIsCropped", 40, 30},
                                         SizeCase{"Smaller", 5, 4}, SizeCase{"Wider", 40, 3},
                                         SizeCase{"Empty", 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LayerRuns, KeepsOnlyPixelsThatAreNotClear) {
    TPngImage layer = TPngImage::CreateBlank(100, 50);
    const LayerRuns clear(layer);
    setPixel(layer, 3, 4, {1, 2, 3, 255});
    setPixel(layer, 4, 4, {1, 2, 3, 1});
    setPixel(layer, 99, 49, {9, 9, 9, 9});
    const LayerRuns lines(layer);
    EXPECT_LT(clear.byteCount(), layer.byteCount() / 20);
    EXPECT_LT(lines.byteCount() - clear.byteCount(), 64u);
    EXPECT_EQ(lines.Width(), 100);
    EXPECT_EQ(lines.Height(), 50);
}

TEST(LayerRuns, SavedPixelsOfAnotherMapAreRefused) {
    const LayerRuns runs(noise(10, 10, 3));
    TPngImage map = noise(10, 10, 4);
    std::vector<std::uint8_t> saved;
    runs.blendOver(map, saved, {});
    TPngImage smaller = noise(5, 5, 5);
    const TPngImage before = smaller;
    EXPECT_THROW(runs.restore(smaller, saved), ZelkoraError);
    EXPECT_EQ(smaller, before);
}

TEST(LayerRuns, ReplacedMapStopsTheBlend) {
    const LayerRuns runs(noise(8, 8, 6));
    TPngImage map = noise(8, 8, 7);
    std::vector<std::uint8_t> saved;
    EXPECT_THROW(runs.blendOver(map, saved, [&] { map = noise(2, 2, 8); }), ZelkoraError);
}

}  // namespace

}  // namespace zelkora
