// Where a figure puts things: the scale bar, the markers, the legend, the extent fitted to the
// points, the panels and the limits of the presets.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>

#include "common/ZelkoraError.h"
#include "figure/FigureFile.h"
#include "figure/FigureLayout.h"
#include "figure/FigurePainter.h"
#include "figure/PathClip.h"
#include "projection/geo.h"
#include "tests/figure/FigureFixtures.h"
#include "tests/support/TestImages.h"
#include "vectormap/MapPalette.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

namespace {

// The conic centred on the layout's box, made here from its definition rather than taken from
// the layout: central meridian in the middle, standard parallels at 1/6 and 5/6 of the span.
LambertConic centredConicOf(const FigureLayout& layout) {
    const DegreeBox& b = layout.box;
    const double span = b.north - b.south;
    Tpar par;
    par.x = (b.south + span / 6) / 180.0;
    par.y = (b.south + span * 5 / 6) / 180.0;
    par.tx = par.ty = 6371.0;
    par.left_Bottom_x = (b.south + b.north) / 2;
    par.left_Bottom_y = (b.west + b.east) / 2;
    return LambertConic(par, false);
}

QPointF toPlane(const LambertConic& conic, GeoPoint p) {
    return conic.toPixel(p, 0);
}

// Great-circle distance on the sphere of 6371 km, worked out here rather than taken from the
// code under test.
double haversineKm(GeoPoint a, GeoPoint b) {
    const double r = std::numbers::pi / 180.0;
    const double h =
        std::pow(std::sin((b.lat - a.lat) * r / 2), 2) +
        std::cos(a.lat * r) * std::cos(b.lat * r) * std::pow(std::sin((b.lon - a.lon) * r / 2), 2);
    return 2 * 6371.0 * std::asin(std::sqrt(h));
}

// The degrees under a point of the page inside a panel's frame, worked out from the layout's
// scale and projection.
GeoPoint geoAt(const FigureLayout& layout, const FigurePanel& panel, QPointF mm) {
    return layout.projection.toGeo(layout.extent.topLeft() +
                                   (mm - panel.frame.topLeft()) / layout.mmPerUnit);
}

QPointF mmAt(const FigureLayout& layout, const FigurePanel& panel, QPointF plane) {
    return panel.frame.topLeft() + (plane - layout.extent.topLeft()) * layout.mmPerUnit;
}

struct ScaleCase {
    const char* name;
    int map;
    FigureExtent extent;
    DegreeBox box;
    FigureLanguage language;
    const char* unit;
};

void PrintTo(const ScaleCase& c, std::ostream* os) {
    *os << c.name;
}

class ScaleBar : public testing::TestWithParam<ScaleCase> {};

// The ground distance under the bar, measured at its middle along the x axis, is what its label
// says to 0.5 %, and the label is a round number near a quarter of the frame.
TEST_P(ScaleBar, IsTrueAtItsLatitude) {
    const ScaleCase& c = GetParam();
    const auto map = smallFigureMap(c.map);
    const auto table = tableOf({});
    FigureOptions options = optionsFor(c.map);
    options.extent = c.extent;
    options.box = c.box;
    options.language = c.language;
    const FigureLayout layout = layOutFigure(options, *map, *table);
    const FigureScaleBar& bar = layout.scaleBar;
    ASSERT_NE(bar.corner, FigureCorner::None);
    const FigurePanel& panel = layout.panels.at(static_cast<std::size_t>(bar.panel));
    EXPECT_TRUE(panel.frame.contains(bar.box));

    const QStringList words = bar.label.split(QLatin1Char(' '));
    ASSERT_EQ(words.size(), 2) << bar.label.toStdString();
    EXPECT_EQ(words[1], QString::fromUtf8(c.unit));
    const double km = words[0].toDouble();
    const double mantissa = km / std::pow(10.0, std::floor(std::log10(km)));
    EXPECT_TRUE(mantissa == 1.0 || mantissa == 2.0 || mantissa == 5.0) << km;
    EXPECT_GT(bar.bar.length(), panel.frame.width() / 4 / 1.6);
    EXPECT_LT(bar.bar.length(), panel.frame.width() / 4 * 1.6);
    EXPECT_DOUBLE_EQ(bar.bar.y1(), bar.bar.y2());

    const QPointF middle = bar.bar.center();
    EXPECT_NEAR(geoAt(layout, panel, middle).lat, bar.latitude, 1e-6);
    const double stepMm = 0.05;
    const GeoPoint west = geoAt(layout, panel, middle - QPointF(stepMm, 0));
    const GeoPoint east = geoAt(layout, panel, middle + QPointF(stepMm, 0));
    const double groundKm = haversineKm(west, east) / (2 * stepMm) * bar.bar.length();
    EXPECT_NEAR(groundKm / km, 1.0, 0.005) << groundKm << " km under a bar labelled " << km;
    EXPECT_GE(bar.variationPercent, 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Maps, ScaleBar,
    testing::Values(
        ScaleCase{
            "Vietnam", kMapVietnam, FigureExtent::WholeMap, {}, FigureLanguage::English, "km"},
        ScaleCase{
            "FarEast", kMapFarEast, FigureExtent::WholeMap, {}, FigureLanguage::Russian, "км"},
        ScaleCase{"FarEastCrop",
                  kMapFarEast,
                  FigureExtent::Box,
                  {42.0, 129.0, 45.5, 134.5},
                  FigureLanguage::English,
                  "km"},
        ScaleCase{"VietnamCrop",
                  kMapVietnam,
                  FigureExtent::Box,
                  {10.0, 105.0, 11.0, 107.0},
                  FigureLanguage::English,
                  "km"},
        ScaleCase{"ChukotkaAcross180",
                  kMapFarEast,
                  FigureExtent::Box,
                  {63.0, 172.0, 68.0, 188.0},
                  FigureLanguage::English,
                  "km"},
        ScaleCase{"VietnamThreeTenths",
                  kMapVietnam,
                  FigureExtent::Box,
                  {10.15, 103.85, 10.45, 104.15},
                  FigureLanguage::Russian,
                  "км"}),
    [](const auto& info) { return std::string(info.param.name); });

// The weighted centre of the ink of the marker near an expected place: each pixel weighs by how
// much darker than the land under it it is, so that antialiased edges count by their coverage.
QPointF inkCentre(const QImage& image, QPointF expected, double radius) {
    const QRgb land =
        image.pixel(static_cast<int>(expected.x() + 3 * radius), static_cast<int>(expected.y()));
    const int background = qGray(land);
    double sum = 0.0;
    double sx = 0.0;
    double sy = 0.0;
    for (int y = static_cast<int>(expected.y() - radius); y <= expected.y() + radius; ++y) {
        for (int x = static_cast<int>(expected.x() - radius); x <= expected.x() + radius; ++x) {
            const double w = background - qGray(image.pixel(x, y));
            if (w > 12) {
                sum += w;
                sx += w * (x + 0.5);
                sy += w * (y + 0.5);
            }
        }
    }
    return {sx / sum, sy / sum};
}

// Markers whose shapes are symmetric about their centre, on land, each at its place, within
// half a pixel: north up, the point through the conic centred on the figure; in the map's own
// projection, projected with geo as the window projects it.
TEST(Markers, AreDrawnAtTheirProjectedPlaces) {
    for (const int map : {kMapVietnam, kMapFarEast}) {
        const auto figureMap = smallFigureMap(map);
        const auto table = map == kMapFarEast ? tableOf({{0, 1, "45.9, 134.1"},
                                                         {1, 1, "47.3, 131.7"},
                                                         {4, 1, "48.9, 130.8"},
                                                         {6, 1, "44.2, 130.9"}})
                                              : tableOf({{0, 1, "20.9, 104.1"},
                                                         {1, 1, "17.4, 103.9"},
                                                         {4, 1, "14.8, 104.9"},
                                                         {6, 1, "21.6, 106.4"}});
        for (const FigureProjectionKind kind :
             {FigureProjectionKind::NorthUp, FigureProjectionKind::Map}) {
            for (const double dpi : {300.0, 600.0}) {
                FigureOptions options = optionsFor(map);
                options.widthMm = 60;
                options.dpi = dpi;
                options.layers = {false, false, false, false, false};
                options.legend = FigureCorner::None;
                options.scaleBar = FigureCorner::None;
                options.northArrow = FigureCorner::None;
                options.projection = kind;
                const FigureLayout layout = layOutFigure(options, *figureMap, *table);
                ASSERT_EQ(layout.drawn.size(), 4u);
                const QImage image = renderFigure(layout, *figureMap, dpi);
                const double pxPerMm = dpi / 25.4;
                for (const FigurePoint& p : layout.drawn) {
                    QPointF plane = toPlane(centredConicOf(layout), p.geo);
                    if (kind == FigureProjectionKind::Map) {
                        Tpoint t;
                        t.x = p.geo.lat;
                        t.y = p.geo.lon;
                        t = geo(t, PAR_map[static_cast<std::size_t>(map)], false,
                                figureMap->size().height());
                        plane = QPointF(t.xImg, t.yImg);
                    }
                    const QPointF expected = mmAt(layout, layout.panels.front(), plane) * pxPerMm;
                    const QPointF found = inkCentre(image, expected, options.markerMm * pxPerMm);
                    EXPECT_NEAR(found.x(), expected.x(), 0.5)
                        << map << " " << dpi << " " << p.column;
                    EXPECT_NEAR(found.y(), expected.y(), 0.5)
                        << map << " " << dpi << " " << p.column;
                }
            }
        }
    }
}

// Only columns with a point on the figure get an entry, in column order, with their header text
// trimmed and their count. A header that is empty, or still the marker type's default name,
// names no species: the entry names the marker type in the figure's language, upright, without
// the selector's period, and a warning says so. Typed names stay as typed, in italic on request.
TEST(Legend, ListsExactlyTheColumnsWithDrawnPoints) {
    const auto map = smallFigureMap(kMapFarEast);
    auto table = tableOf({{0, 0, " Quercus mongolica "},
                          {0, 1, "45.5, 134.0"},
                          {0, 4, "46.0, 135.0"},
                          {2, 0, "Pinus koraiensis"},  // a name, but no point
                          {3, 0, "Дуб монгольский"},
                          {3, 2, "44.5, 133.0"},
                          {5, 0, "Abies"},
                          {5, 1, "60.0, 160.0"},  // outside the box
                          {8, 0, ""},
                          {8, 1, "47.0, 132.5"}});
    table->setShape(10, 70);
    table->setCell(9, 1, QStringLiteral("45.0, 133.0"));  // a column without a marker
    FigureOptions options = optionsFor(kMapFarEast);
    options.extent = FigureExtent::Box;
    options.box = {43.0, 130.0, 48.0, 137.0};
    options.italic = true;
    table->setCell(1, 1, QStringLiteral("45.2, 134.5"));  // under the default "круги полые"
    const FigureLayout layout = layOutFigure(options, *map, *table);

    std::vector<std::tuple<int, QString, int, bool>> entries;
    for (const LegendEntry& e : layout.legend.entries) {
        entries.emplace_back(e.column, e.text, e.points, e.italic);
    }
    const std::vector<std::tuple<int, QString, int, bool>> expected = {
        {0, QStringLiteral("Quercus mongolica"), 2, true},
        {1, QStringLiteral("hollow circles"), 1, false},
        {3, QStringLiteral("Дуб монгольский"), 1, true},
        {8, QStringLiteral("stars"), 1, false}};
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(layout.warnings.filter(QStringLiteral("нет названий видов")).size(), 1)
        << layout.warnings.join(QLatin1Char('\n')).toStdString();
    options.language = FigureLanguage::Russian;
    const FigureLayout russian = layOutFigure(options, *map, *table);
    EXPECT_EQ(russian.legend.entries.at(1).text, QStringLiteral("круги полые"));
    EXPECT_EQ(russian.legend.entries.at(3).text, QStringLiteral("звездочки"));
    ASSERT_EQ(layout.leftOut.size(), 2u);
    EXPECT_EQ(layout.leftOut[0].point.column, 5);
    EXPECT_EQ(layout.leftOut[1].point.column, 9);
    EXPECT_TRUE(layout.panels.front().frame.contains(layout.legend.box));

    options.legend = FigureCorner::None;
    EXPECT_EQ(layOutFigure(options, *map, *table).legend.corner, FigureCorner::None);
}

// The automatic corner is one where the legend covers no marker: a point under the top-left
// corner's legend sends it elsewhere.
TEST(Legend, AutomaticCornerCoversNoPoint) {
    const auto map = smallFigureMap(kMapFarEast);
    auto table = tableOf({{0, 1, "45.5, 133.5"}});
    FigureOptions options = optionsFor(kMapFarEast);
    options.extent = FigureExtent::Box;
    options.box = {43.0, 130.0, 48.0, 137.0};
    options.legend = FigureCorner::TopLeft;
    const FigureLayout topLeft = layOutFigure(options, *map, *table);
    const FigurePanel& panel = topLeft.panels.front();
    const GeoPoint under = geoAt(topLeft, panel, topLeft.legend.box.center());
    table->setCell(1, 1,
                   QStringLiteral("%1, %2").arg(under.lat, 0, 'f', 6).arg(under.lon, 0, 'f', 6));
    EXPECT_EQ(layOutFigure(options, *map, *table).legend.coveredPoints, 1);

    options.legend = FigureCorner::Auto;
    const FigureLayout layout = layOutFigure(options, *map, *table);
    EXPECT_NE(layout.legend.corner, FigureCorner::TopLeft);
    EXPECT_EQ(layout.legend.coveredPoints, 0);
    EXPECT_NE(layout.legend.corner, layout.scaleBar.corner);
    EXPECT_FALSE(layout.legend.box.intersects(layout.scaleBar.box));
}

// A scale bar that covers a marker says so, as the legend does; the automatic corner is one
// where it covers none.
TEST(ScaleBar, SaysWhenItCoversAPointAndAutomaticCornerAvoidsIt) {
    const auto map = smallFigureMap(kMapFarEast);
    auto table = tableOf({{0, 1, "45.5, 133.5"}});
    FigureOptions options = optionsFor(kMapFarEast);
    options.extent = FigureExtent::Box;
    options.box = {43.0, 130.0, 48.0, 137.0};
    options.legend = FigureCorner::None;
    options.scaleBar = FigureCorner::BottomLeft;
    const FigureLayout clear = layOutFigure(options, *map, *table);
    EXPECT_EQ(clear.scaleBar.coveredPoints, 0);
    EXPECT_TRUE(clear.warnings.filter(QStringLiteral("линейка")).isEmpty())
        << clear.warnings.join(QLatin1Char('\n')).toStdString();
    const FigurePanel& panel = clear.panels.front();
    const GeoPoint under = geoAt(clear, panel, clear.scaleBar.box.center());
    table->setCell(1, 1,
                   QStringLiteral("%1, %2").arg(under.lat, 0, 'f', 6).arg(under.lon, 0, 'f', 6));

    const FigureLayout covering = layOutFigure(options, *map, *table);
    EXPECT_EQ(covering.scaleBar.coveredPoints, 1);
    EXPECT_EQ(
        covering.warnings.filter(QStringLiteral("Масштабная линейка закрывает точек: 1")).size(), 1)
        << covering.warnings.join(QLatin1Char('\n')).toStdString();

    options.scaleBar = FigureCorner::Auto;
    const FigureLayout layout = layOutFigure(options, *map, *table);
    EXPECT_NE(layout.scaleBar.corner, FigureCorner::BottomLeft);
    EXPECT_EQ(layout.scaleBar.coveredPoints, 0);
}

struct CropCase {
    const char* name;
    int map;
    std::vector<const char*> points;  // all in column 0 and 3, alternately
    bool panels;
};

void PrintTo(const CropCase& c, std::ostream* os) {
    *os << c.name;
}

class Crop : public testing::TestWithParam<CropCase> {};

// Fitted to the points: every marker wholly inside its frame, and around the points at least
// the margin asked for, except where the map ends.
TEST_P(Crop, KeepsEveryMarkerInsideWithItsMargin) {
    const CropCase& c = GetParam();
    const auto map = smallFigureMap(c.map);
    auto table = tableOf({});
    for (std::size_t i = 0; i < c.points.size(); ++i) {
        table->setCell(i % 2 == 0 ? 0 : 3, static_cast<int>(i / 2) + 1,
                       QString::fromUtf8(c.points[i]));
    }
    FigureOptions options = optionsFor(c.map);
    options.panels = c.panels;
    options.markerMm = 4.0;
    const FigureLayout layout = layOutFigure(options, *map, *table);
    ASSERT_EQ(layout.drawn.size(), c.points.size());
    EXPECT_TRUE(layout.leftOut.empty());

    const double half = options.markerMm / 2 + layout.markerOutlineMm;
    double left = INFINITY, right = -INFINITY, top = INFINITY, bottom = -INFINITY;
    for (const FigurePoint& p : layout.drawn) {
        left = std::min(left, p.plane.x());
        right = std::max(right, p.plane.x());
        top = std::min(top, p.plane.y());
        bottom = std::max(bottom, p.plane.y());
        for (const FigurePanel& panel : layout.panels) {
            if (panel.column >= 0 && panel.column != p.column) {
                continue;
            }
            const QPointF centre = mmAt(layout, panel, p.plane);
            const QRectF marker(centre - QPointF(half, half), QSizeF(2 * half, 2 * half));
            EXPECT_TRUE(panel.frame.contains(marker)) << p.row << " in panel " << panel.column;
        }
    }
    const double mx = 0.1 * (right - left);
    const double my = 0.1 * (bottom - top);
    const QRectF mapRect(QPointF(0, 0), QSizeF(map->size()));
    const double eps = 1e-6;
    EXPECT_LE(layout.extent.left(), std::max(mapRect.left(), left - mx) + eps);
    EXPECT_GE(layout.extent.right(), std::min(mapRect.right(), right + mx) - eps);
    EXPECT_LE(layout.extent.top(), std::max(mapRect.top(), top - my) + eps);
    EXPECT_GE(layout.extent.bottom(), std::min(mapRect.bottom(), bottom + my) - eps);
    // The shape stays sensible: neither a sliver nor a tower.
    const double aspect = layout.extent.height() / layout.extent.width();
    EXPECT_GE(aspect, 0.5 - eps);
    EXPECT_LE(aspect, 2.0 + eps);
}

INSTANTIATE_TEST_SUITE_P(
    Points, Crop,
    testing::Values(
        CropCase{"OnePoint", kMapFarEast, {"45.5, 134.0"}, false},
        CropCase{"NorthToSouth", kMapFarEast, {"43.0, 132.0", "49.5, 132.05"}, false},
        CropCase{"EastToWest", kMapVietnam, {"21.0, 103.0", "21.05, 108.0"}, false},
        CropCase{"Spread",
                 kMapVietnam,
                 {"21.0, 105.8", "16.0, 108.2", "10.8, 106.7", "12.2, 109.2"},
                 false},
        // Near the map's edges: the margin is cut there, the markers are not.
        CropCase{"AtTheMapsEdge", kMapVietnam, {"8.35, 104.0", "9.0, 105.0"}, false},
        CropCase{"Panels", kMapFarEast, {"43.5, 131.9", "48.5, 135.1", "45.0, 137.0"}, true}),
    [](const auto& info) { return std::string(info.param.name); });

// One panel per column with points, lettered, titled with the header, all on one extent, in a
// grid within the width, with one scale bar.
TEST(Panels, OnePerColumnWithPointsAndOneScaleBar) {
    const auto map = smallFigureMap(kMapFarEast);
    const auto table = tableOf({{1, 0, "Abies nephrolepis"},
                                {1, 1, "45.5, 134.0"},
                                {4, 0, "Picea ajanensis"},
                                {4, 1, "47.0, 135.5"},
                                {4, 2, "44.0, 133.0"},
                                {7, 1, "48.0, 131.0"}});
    FigureOptions options = optionsFor(kMapFarEast);
    options.panels = true;
    options.widthMm = 183;
    const FigureLayout layout = layOutFigure(options, *map, *table);
    ASSERT_EQ(layout.panels.size(), 3u);
    const QStringList letters = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    const QStringList titles = {QStringLiteral("Abies nephrolepis"),
                                QStringLiteral("Picea ajanensis"),
                                QStringLiteral("hollow diamonds")};
    const std::vector<int> columns = {1, 4, 7};
    for (std::size_t i = 0; i < 3; ++i) {
        const FigurePanel& p = layout.panels[i];
        EXPECT_EQ(p.letter, letters[static_cast<qsizetype>(i)]);
        EXPECT_EQ(p.title, titles[static_cast<qsizetype>(i)]);
        EXPECT_EQ(p.column, columns[i]);
        EXPECT_NEAR(p.frame.width(), layout.panels[0].frame.width(), 1e-9);
        EXPECT_NEAR(p.frame.height(), layout.panels[0].frame.height(), 1e-9);
        EXPECT_GE(p.frame.left(), 0.0);
        EXPECT_LE(p.frame.right(), options.widthMm);
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_FALSE(p.frame.intersects(layout.panels[j].frame));
        }
    }
    EXPECT_NE(layout.scaleBar.corner, FigureCorner::None);
    EXPECT_TRUE(layout.legend.entries.empty());
}

// A figure deeper than a Nature preset allows is refused, naming the limit and the width at
// which it would fit; the same box at that width fits.
TEST(Presets, RefuseAFigureBeyondTheirLimitNamingTheWidthThatFits) {
    const auto table = tableOf({});
    for (const int mapIndex : {kMapFarEast, kMapVietnam}) {
        const auto map = smallFigureMap(mapIndex);
        FigureOptions options = optionsFor(mapIndex);
        applyFigurePreset(options, QStringLiteral("nature-2"));
        options.extent = FigureExtent::Box;
        options.box = mapIndex == kMapFarEast ? DegreeBox{42.0, 130.0, 52.0, 134.0}
                                              : DegreeBox{8.5, 103.0, 23.0, 106.0};
        QString message;
        try {
            layOutFigure(options, *map, *table);
            ADD_FAILURE() << "nature-2 took a figure too deep for it";
        } catch (const ZelkoraError& e) {
            message = e.message();
        }
        EXPECT_TRUE(message.contains(QStringLiteral("247 мм"))) << message.toStdString();
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("при ширине ([0-9.]+) мм")).match(message);
        ASSERT_TRUE(m.hasMatch()) << message.toStdString();
        options.widthMm = m.captured(1).toDouble();
        options.preset.clear();
        const FigureLayout fits = layOutFigure(options, *map, *table);
        EXPECT_LE(fits.pageMm.height(), 247.0);
        EXPECT_GT(fits.pageMm.height(), 240.0);
    }
    // Within the limit the preset gives its size.
    const auto map = smallFigureMap(kMapVietnam);
    FigureOptions options = optionsFor(kMapVietnam);
    applyFigurePreset(options, QStringLiteral("nature-1"));
    options.extent = FigureExtent::Box;
    options.box = {10.0, 104.0, 12.0, 107.0};
    const FigureLayout layout = layOutFigure(options, *map, *table);
    EXPECT_EQ(layout.pixels.width(), 2102);
    EXPECT_LE(layout.pageMm.height(), 247.0);
}

// PLOS narrows a figure too high for it until it fits 2625 pixels, and says so.
TEST(Presets, PlosNarrowsATallFigureUntilItFits) {
    const auto table = tableOf({});
    const auto map = smallFigureMap(kMapFarEast);
    FigureOptions options = optionsFor(kMapFarEast);
    applyFigurePreset(options, QStringLiteral("plos"));
    options.extent = FigureExtent::Box;
    options.box = {42.0, 130.0, 52.0, 134.0};
    const FigureLayout layout = layOutFigure(options, *map, *table);
    EXPECT_LE(layout.pixels.height(), 2625);
    EXPECT_GT(layout.pixels.height(), 2600);
    EXPECT_LT(layout.pixels.width(), 2250);
    EXPECT_GE(layout.pixels.width(), 789);
    EXPECT_EQ(layout.warnings.filter(QStringLiteral("Ширина уменьшена")).size(), 1)
        << layout.warnings.join(QLatin1Char('\n')).toStdString();
}

// A map folder with its raster layers only: the picture is drawn under the markers, and the
// printed resolution is named when it is below 300 dpi.
TEST(RasterMap, IsDrawnWithAWarningBelow300Dpi) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dir.path() + QLatin1Char('/');
    const QString caption = kMapCaptions[kMapFarEast];
    QDir().mkpath(mapFolderPath(data, caption, false));
    filled(940, 1660, {200, 120, 40, 255}).SaveToFile(baseImagePath(data, caption, false));
    const auto map = FigureMap::load(data, kMapFarEast);
    ASSERT_FALSE(map->hasVector());
    const auto table = tableOf({{0, 0, "Quercus mongolica"}, {0, 1, "45.5, 134.0"}});

    FigureOptions options = optionsFor(kMapFarEast);
    options.extent = FigureExtent::WholeMap;
    const FigureLayout whole = layOutFigure(options, *map, *table);
    EXPECT_GT(whole.rasterDpi, 300.0);
    EXPECT_TRUE(whole.warnings.isEmpty()) << whole.warnings.join(' ').toStdString();
    const QImage image = renderFigure(whole, *map, 100);
    const QPointF inside = (whole.panels[0].frame.center() + QPointF(10, 10)) * 100 / 25.4;
    EXPECT_EQ(image.pixel(inside.toPoint()), qRgb(200, 120, 40));

    options.extent = FigureExtent::Box;
    options.box = {44.0, 132.0, 46.0, 135.0};
    const FigureLayout crop = layOutFigure(options, *map, *table);
    ASSERT_LT(crop.rasterDpi, 300.0);
    ASSERT_EQ(crop.warnings.size(), 1);
    EXPECT_TRUE(crop.warnings[0].contains(QString::number(std::lround(crop.rasterDpi)) +
                                          QStringLiteral(" dpi")))
        << crop.warnings[0].toStdString();
}

// The maps' own vector data, as the program ships it: land and sea both fill the whole map's
// frame, and the coast is drawn.
TEST(RealMaps, DrawTheirLandSeaAndCoasts) {
    for (const int map : {kMapVietnam, kMapFarEast}) {
        const auto figureMap = FigureMap::load(QStringLiteral(ZELKORA_DATA_DIR), map);
        ASSERT_TRUE(figureMap->hasVector()) << map;
        const auto table = tableOf({});
        FigureOptions options = optionsFor(map);
        options.extent = FigureExtent::WholeMap;
        options.legend = FigureCorner::None;
        const FigureLayout layout = layOutFigure(options, *figureMap, *table);
        const QImage image = renderFigure(layout, *figureMap, 300);
        std::map<QRgb, int> counts;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                ++counts[image.pixel(x, y) & 0xFFFFFF];
            }
        }
        // The frame north up is no rectangle: the page's white around it does not count.
        const double total = static_cast<double>(image.width()) * image.height() - counts[0xFFFFFF];
        EXPECT_GT(counts[kMapLand.rgb() & 0xFFFFFF] / total, 0.2) << map;
        EXPECT_GT(counts[kMapSea.rgb() & 0xFFFFFF] / total, 0.05) << map;
        EXPECT_GT(counts[kMapShore.rgb() & 0xFFFFFF], 100) << map;
    }
}

// A 50 km box of Peter the Great Gulf at a Nature column's width: every island of 0.1 km² or more
// that the map's full-resolution data holds inside it is drawn, none thinned away.
TEST(RealMaps, ASmallBoxDrawsEveryIsletOfItsData) {
    const QString data = QStringLiteral(ZELKORA_DATA_DIR);
    const auto map = FigureMap::load(data, kMapFarEast);
    const VectorMap vector = loadVectorMap(vectorMapPath(data, kMapCaptions[kMapFarEast]));
    const DegreeBox box{42.45, 131.3, 42.9, 131.91};
    const auto inBox = [&](const GeoPath& ring) {
        return std::all_of(ring.begin(), ring.end(), [&](const GeoPoint& p) {
            return p.lat > box.south && p.lat < box.north && p.lon > box.west && p.lon < box.east;
        });
    };
    const auto areaKm2 = [](const GeoPath& ring) {
        const double k = 111.195;
        double twice = 0.0;
        for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
            twice += ring[i].lon * ring[i + 1].lat - ring[i + 1].lon * ring[i].lat;
        }
        return std::fabs(twice) / 2 * k * k * std::cos(ring.front().lat * std::numbers::pi / 180);
    };
    int islands = 0;
    for (const VectorArea& a : vector.areas) {
        if (a.level == 1 && inBox(a.rings.front()) && areaKm2(a.rings.front()) >= 0.1) {
            ++islands;
        }
    }
    FigureOptions options = optionsFor(kMapFarEast);
    options.dataDir = data;
    options.extent = FigureExtent::Box;
    options.box = box;
    const FigureLayout layout = layOutFigure(options, *map, *tableOf({}));
    const double deviceMm = 25.4 / options.dpi;
    const FigureScene scene = prepareFigureScene(layout, *map, deviceMm);
    const QTransform toMm = layout.mmFromPlane(layout.panels.front());
    int drawn = 0;
    for (const FigureMap::Area& a : scene.frame.areas) {
        const QRectF b = a.bounds;
        const std::array<QPointF, 4> corners = {b.topLeft(), b.topRight(), b.bottomLeft(),
                                                b.bottomRight()};
        const bool inside = std::all_of(corners.begin(), corners.end(), [&](QPointF p) {
            return layout.outline.containsPoint(p, Qt::OddEvenFill);
        });
        if (a.level == 1 && inside &&
            thinned(toMm.map(a.rings.front()), scene.toleranceMm).size() >= 4) {
            ++drawn;
        }
    }
    std::printf("islands of 0.1 km² or more in the box: %d in the data, %d drawn\n", islands,
                drawn);
    EXPECT_GE(islands, 10);
    EXPECT_EQ(drawn, islands);
}

}  // namespace

}  // namespace zelkora
