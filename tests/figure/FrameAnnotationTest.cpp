// The frame's graticule: the interval each coordinate gets, where its labels go, and north up.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "figure/FigureLayout.h"
#include "figure/FrameAnnotation.h"
#include "tests/figure/FigureFixtures.h"

namespace zelkora {

namespace {

struct FrameCase {
    const char* name;
    int map;
    DegreeBox box;  // south empty (0, 0, 0, 0): fitted to the points
    std::vector<const char*> points;
    double widthMm;
    int latitudeMinutes;  // expected intervals
    int longitudeMinutes;
};

void PrintTo(const FrameCase& c, std::ostream* os) {
    *os << c.name;
}

class Frame : public testing::TestWithParam<FrameCase> {
  protected:
    FigureLayout layOut(bool allSides = false) const {
        const FrameCase& c = GetParam();
        auto table = tableOf({{0, 0, "Species"}});
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            table->setCell(0, static_cast<int>(i) + 1, QString::fromUtf8(c.points[i]));
        }
        FigureOptions options = optionsFor(c.map);
        options.widthMm = c.widthMm;
        options.labelAllSides = allSides;
        if (c.points.empty()) {
            options.extent = FigureExtent::Box;
            options.box = c.box;
        }
        map_ = smallFigureMap(c.map);
        return layOutFigure(options, *map_, *table);
    }
    mutable std::unique_ptr<FigureMap> map_;
};

// The intervals: each labelled side carries 2 to 6 labels, at the interval of the table; north
// is up along the central meridian; latitudes stand only beside the frame and longitudes under
// it; no label touches another; every labelled line has its tick on the frame.
TEST_P(Frame, IsLabelledAsCartographersExpect) {
    const FrameCase& c = GetParam();
    const FigureLayout layout = layOut();
    EXPECT_EQ(layout.latitudeMinutes, c.latitudeMinutes);
    EXPECT_EQ(layout.longitudeMinutes, c.longitudeMinutes);

    // The central meridian is vertical on the page.
    const double cm = layout.projection.par().left_Bottom_y;
    const QPointF south = layout.projection.toPlane({layout.box.south, cm});
    const QPointF north = layout.projection.toPlane({layout.box.north, cm});
    const double leanDeg = std::atan2(std::fabs(north.x() - south.x()), south.y() - north.y()) *
                           180.0 / std::numbers::pi;
    EXPECT_LT(leanDeg, 0.1);
    EXPECT_NEAR(cm, (layout.box.west + layout.box.east) / 2, 1e-9);

    const FigurePanel& panel = layout.panels.front();
    int left = 0;
    int bottom = 0;
    for (const FrameLabel& l : panel.labels) {
        // Outside the frame: beside its west side, or under its south side.
        EXPECT_FALSE(panel.outline.containsPoint(l.box.center(), Qt::OddEvenFill))
            << l.text.toStdString();
        if (l.latitude) {
            ++left;
            EXPECT_LT(l.box.center().x(), panel.frame.center().x()) << l.text.toStdString();
            EXPECT_TRUE(l.text.endsWith(QLatin1Char('N'))) << l.text.toStdString();
        } else {
            ++bottom;
            EXPECT_GT(l.box.center().y(), panel.frame.center().y()) << l.text.toStdString();
            EXPECT_TRUE(l.text.endsWith(QLatin1Char('E')) || l.text.endsWith(QLatin1Char('W')) ||
                        l.text.startsWith(QStringLiteral("180°")))
                << l.text.toStdString();
        }
        const int interval = l.latitude ? c.latitudeMinutes : c.longitudeMinutes;
        EXPECT_EQ(l.text.contains(QChar(0x2032)), interval % 60 != 0) << l.text.toStdString();
        for (const FrameLabel& o : panel.labels) {
            if (&o != &l) {
                EXPECT_FALSE(o.box.intersects(l.box))
                    << l.text.toStdString() << " " << o.text.toStdString();
            }
        }
        EXPECT_FALSE(l.box.intersects(layout.legend.box));
    }
    EXPECT_GE(left, 2);
    EXPECT_LE(left, kMaxLabelsPerSide);
    EXPECT_GE(bottom, 2);
    EXPECT_LE(bottom, kMaxLabelsPerSide);
    EXPECT_GE(panel.ticks.size(), panel.labels.size());
}

// On request all four sides carry labels: latitudes on the right too, longitudes on top too.
TEST_P(Frame, LabelsAllFourSidesOnRequest) {
    const FigureLayout layout = layOut(true);
    const FigurePanel& panel = layout.panels.front();
    int right = 0;
    int top = 0;
    for (const FrameLabel& l : panel.labels) {
        right += l.latitude && l.box.center().x() > panel.frame.center().x() ? 1 : 0;
        top += !l.latitude && l.box.center().y() < panel.frame.center().y() ? 1 : 0;
    }
    EXPECT_GE(right, 2);
    EXPECT_GE(top, 2);
    EXPECT_LE(right, kMaxLabelsPerSide);
    EXPECT_LE(top, kMaxLabelsPerSide);
    EXPECT_GE(panel.frame.right() + 5, layout.pageMm.width() - panel.frame.right());
}

INSTANTIATE_TEST_SUITE_P(
    Extents, Frame,
    testing::Values(
        FrameCase{"PrimoryeFourPoints",
                  kMapFarEast,
                  {},
                  {"43.1155, 131.8855", "44.35, 133.15", "43.35, 134.75", "42.85, 132.45"},
                  89,
                  20,
                  60},
        FrameCase{"ChukotkaAcross180", kMapFarEast, {63.0, 172.0, 68.0, 188.0}, {}, 89, 60, 300},
        FrameCase{"WholeFarEastWide", kMapFarEast, {36.8, 114.5, 80.2, 193.7}, {}, 183, 600, 900},
        FrameCase{"VietnamThreeTenths", kMapVietnam, {10.0, 103.8, 10.3, 104.1}, {}, 89, 5, 5},
        FrameCase{"TwoDegreeBox", kMapFarEast, {43.0, 132.0, 45.0, 134.0}, {}, 89, 30, 30}),
    [](const auto& info) { return std::string(info.param.name); });

// A forced interval is kept; turning the lines off keeps the ticks and labels, and brings the
// north arrow, pointing to true north.
TEST(Graticule, ForcedIntervalOrLinesOffKeepTheTicks) {
    const auto map = smallFigureMap(kMapFarEast);
    const auto table = tableOf({{0, 0, "Species"}});
    FigureOptions options = optionsFor(kMapFarEast);
    options.extent = FigureExtent::Box;
    options.box = {43.0, 132.0, 45.0, 134.0};
    options.graticuleMinutes = 20;
    const FigureLayout forced = layOutFigure(options, *map, *table);
    EXPECT_EQ(forced.latitudeMinutes, 20);
    EXPECT_EQ(forced.longitudeMinutes, 20);
    EXPECT_EQ(forced.northArrow.corner, FigureCorner::None);

    options.graticuleMinutes = kAutoGraticule;
    options.graticuleLines = false;
    const FigureLayout off = layOutFigure(options, *map, *table);
    EXPECT_FALSE(off.panels.front().ticks.empty());
    EXPECT_FALSE(off.panels.front().labels.empty());
    ASSERT_NE(off.northArrow.corner, FigureCorner::None);
    // Off the central meridian the meridians lean: the arrow leans with them, by under a degree
    // here, towards the central meridian.
    EXPECT_LT(std::fabs(off.northArrow.bearingDeg), 1.0);
    EXPECT_TRUE(off.panels.front().frame.contains(off.northArrow.box));

    options.projection = FigureProjectionKind::Map;
    const FigureLayout turned = layOutFigure(options, *map, *table);
    // The window's map is turned: north leans by its rotation and the meridians' convergence.
    EXPECT_GT(std::fabs(turned.northArrow.bearingDeg), 20.0);
}

}  // namespace

}  // namespace zelkora
