// Names on a figure: which are written, in which words, where, and which are left out and why.
#include <gtest/gtest.h>

#include <QSet>

#include "common/ZelkoraError.h"
#include "figure/FigureFile.h"
#include "figure/FigureLayout.h"
#include "figure/FigureMap.h"
#include "mapimage/DataPaths.h"
#include "tests/figure/FigureFixtures.h"
#include "vectormap/MapPalette.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

namespace {

struct NamesCase {
    const char* name;
    int map;
    bool countries;
    bool divisions;
    FigureDivisions vintage;
    FigureLanguage language;
    DegreeBox box;
    std::vector<const char*> drawn;
    std::vector<const char*> outside;
    std::vector<const char*> noRoom;
};

void PrintTo(const NamesCase& c, std::ostream* os) {
    *os << c.name;
}

QSet<QString> textsOf(const std::vector<const char*>& words) {
    QSet<QString> out;
    for (const char* w : words) {
        out.insert(QString::fromUtf8(w));
    }
    return out;
}

// The fixture's areas are rectangles in degrees; a name's middle lies in its own.
bool insideItsArea(const PlaceName& n, const VectorMap& vector) {
    const auto inside = [&](const GeoPolygons& polygons) {
        const GeoPath& ring = polygons.front().front();
        const auto [south, north] = std::minmax({ring[0].lat, ring[2].lat});
        const auto [west, east] = std::minmax({ring[0].lon, ring[2].lon});
        return n.at.lat > south && n.at.lat < north && n.at.lon > west && n.at.lon < east;
    };
    for (const CountryArea& c : vector.countries) {
        if (n.text == c.nameEn.toUpper() || n.text == c.nameRu.toUpper()) {
            return inside(c.polygons);
        }
    }
    for (const auto* areas : {&vector.divisionAreas, &vector.divisionAreas2008}) {
        for (const DivisionArea& d : *areas) {
            if (n.text == d.name && inside(d.polygons)) {
                return true;
            }
        }
    }
    return false;
}

class PlaceNames : public testing::TestWithParam<NamesCase> {};

// The countries in the figure's language and in capitals, the divisions of the map's own country
// only, of the arrangement asked for; each drawn inside its area, the others listed as outside
// the frame or without room (a sliver of a country along the frame's edge).
TEST_P(PlaceNames, AreWrittenInsideTheirAreasOrListedWithTheReason) {
    const NamesCase& c = GetParam();
    const auto map = namedFigureMap(c.map);
    FigureOptions options = optionsFor(c.map);
    options.extent = FigureExtent::Box;
    options.box = c.box;
    options.nameCountries = c.countries;
    options.nameDivisions = c.divisions;
    options.divisions = c.vintage;
    options.language = c.language;
    const auto table = tableOf({});
    const FigureLayout layout = layOutFigure(options, *map, *table);

    QSet<QString> drawn;
    for (const PlaceName& n : layout.names) {
        drawn.insert(n.text);
        EXPECT_TRUE(insideItsArea(n, namedVectorMap(c.map))) << n.text.toStdString();
        EXPECT_EQ(n.kind == PlaceKind::Country, n.text == n.text.toUpper()) << n.text.toStdString();
    }
    EXPECT_EQ(drawn, textsOf(c.drawn));
    QSet<QString> outside;
    QSet<QString> noRoom;
    for (const LeftOutName& n : layout.namesLeftOut) {
        (n.outside ? outside : noRoom).insert(n.text);
        EXPECT_EQ(n.reason, n.outside ? QStringLiteral("вне рамки") : QStringLiteral("нет места"));
    }
    EXPECT_EQ(outside, textsOf(c.outside));
    EXPECT_EQ(noRoom, textsOf(c.noRoom));
    expectNothingCovered(layout);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlaceNames,
                         testing::Values(NamesCase{"countries and divisions of Russia",
                                                   kMapFarEast,
                                                   true,
                                                   true,
                                                   FigureDivisions::Current,
                                                   FigureLanguage::English,
                                                   {42, 129, 50, 141},
                                                   {"RUSSIA", "CHINA", "Приморский край",
                                                    "Хабаровский край"},
                                                   {"JAPAN"},
                                                   {"NORTH KOREA"}},
                                         NamesCase{"countries in Russian",
                                                   kMapFarEast,
                                                   true,
                                                   false,
                                                   FigureDivisions::Current,
                                                   FigureLanguage::Russian,
                                                   {42, 129, 50, 141},
                                                   {"РОССИЯ", "КИТАЙ"},
                                                   {"ЯПОНИЯ"},
                                                   {"КНДР"}},
                                         NamesCase{"a box in one division",
                                                   kMapFarEast,
                                                   false,
                                                   true,
                                                   FigureDivisions::Current,
                                                   FigureLanguage::English,
                                                   {42.5, 133, 45.5, 138},
                                                   {"Приморский край"},
                                                   {"Хабаровский край"},
                                                   {}},
                                         NamesCase{"the provinces of 2025",
                                                   kMapVietnam,
                                                   false,
                                                   true,
                                                   FigureDivisions::Current,
                                                   FigureLanguage::English,
                                                   {10, 103, 22, 109.5},
                                                   {"Lâm Đồng", "Hà Nội"},
                                                   {},
                                                   {}},
                                         NamesCase{"the provinces of 2008",
                                                   kMapVietnam,
                                                   false,
                                                   true,
                                                   FigureDivisions::Of2008,
                                                   FigureLanguage::English,
                                                   {10, 103, 22, 109.5},
                                                   {"Lâm Đồng", "Bình Thuận", "Hà Nội"},
                                                   {},
                                                   {}},
                                         NamesCase{"Vietnam's countries",
                                                   kMapVietnam,
                                                   true,
                                                   false,
                                                   FigureDivisions::Current,
                                                   FigureLanguage::Russian,
                                                   {10, 101, 22, 109.5},
                                                   {"ВЬЕТНАМ", "ЛАОС"},
                                                   {},
                                                   {}}));

// A name keeps off the markers: where its best place is taken by points, it moves to the nearest
// free place whose middle is still well inside its area.
TEST(PlaceNamesMove, OffMarkersStayingInTheirArea) {
    const auto map = namedFigureMap(kMapFarEast);
    FigureOptions options = optionsFor(kMapFarEast);
    options.extent = FigureExtent::Box;
    options.box = {42.5, 133, 45.5, 138};
    options.nameDivisions = true;
    const auto empty = tableOf({});
    const FigureLayout free = layOutFigure(options, *map, *empty);
    ASSERT_EQ(free.names.size(), 1u);
    const GeoPoint spot = free.names.front().at;

    // Points across the name's place, left to right.
    std::vector<std::string> cells;
    for (int i = -4; i <= 4; ++i) {
        cells.push_back(QStringLiteral("%1, %2")
                            .arg(spot.lat, 0, 'f', 6)
                            .arg(spot.lon + i * 0.12, 0, 'f', 6)
                            .toStdString());
    }
    auto table = tableOf({});
    for (std::size_t i = 0; i < cells.size(); ++i) {
        table->setCell(0, static_cast<int>(i) + 1, QString::fromStdString(cells[i]));
    }
    const FigureLayout moved = layOutFigure(options, *map, *table);
    ASSERT_EQ(moved.drawn.size(), cells.size());
    ASSERT_EQ(moved.names.size(), 1u);
    const PlaceName& name = moved.names.front();
    EXPECT_GT(std::fabs(name.at.lat - spot.lat), 0.05) << "the name did not move";
    EXPECT_GT(name.at.lat, 42.5);
    EXPECT_LT(name.at.lat, 46.0);  // still in Приморский край
    expectNothingCovered(moved);
}

// The divisions of 2008 are drawn only where the map has them, and then they are the lines drawn.
TEST(Divisions2008, AreDrawnWhereTheMapHasThem) {
    const auto vietnam = namedFigureMap(kMapVietnam);
    FigureOptions options = optionsFor(kMapVietnam);
    options.extent = FigureExtent::Box;
    options.box = {10, 104, 14, 110};
    options.layers = {false, false, true, false, false};
    options.legend = options.scaleBar = options.northArrow = FigureCorner::None;
    const auto table = tableOf({});
    // The line of 2008 at 11.7° N between Lâm Đồng and Bình Thuận, on land.
    const auto inkAtTheOldLine = [&](FigureDivisions divisions) {
        options.divisions = divisions;
        const FigureLayout layout = layOutFigure(options, *vietnam, *table);
        const QImage image = renderFigure(layout, *vietnam, 300);
        const FigurePanel& panel = layout.panels.front();
        const QPointF mm =
            layout.mmFromPlane(panel).map(layout.projection.toPlane({.lat = 11.7, .lon = 107.75}));
        const QPoint px = (mm * 300 / 25.4).toPoint();
        int ink = 0;
        for (int dy = -3; dy <= 3; ++dy) {
            for (int dx = -8; dx <= 8; ++dx) {
                ink += QColor(image.pixel(px + QPoint(dx, dy))) == kMapLand ? 0 : 1;
            }
        }
        return ink;
    };
    EXPECT_EQ(inkAtTheOldLine(FigureDivisions::Current), 0);
    EXPECT_GT(inkAtTheOldLine(FigureDivisions::Of2008), 10);

    const auto farEast = namedFigureMap(kMapFarEast);
    FigureOptions farEastOptions = optionsFor(kMapFarEast);
    farEastOptions.divisions = FigureDivisions::Of2008;
    try {
        layOutFigure(farEastOptions, *farEast, *table);
        ADD_FAILURE() << "the Far East took the divisions of 2008";
    } catch (const ZelkoraError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("нет границ 2008 года"))) << e.what();
    }
}

// A map whose data holds no names says so rather than drawing a figure without them silently.
TEST(PlaceNamesMissing, AreAWarning) {
    const auto map = smallFigureMap(kMapFarEast);
    FigureOptions options = optionsFor(kMapFarEast);
    options.extent = FigureExtent::WholeMap;
    options.nameCountries = true;
    const FigureLayout layout = layOutFigure(options, *map, *tableOf({}));
    EXPECT_TRUE(layout.names.empty());
    EXPECT_TRUE(layout.warnings.join('\n').contains(QStringLiteral("нет названий")))
        << layout.warnings.join('\n').toStdString();
}

// On the real Vietnam map, a whole-country figure 183 mm wide writes the name of every one of the
// 34 provinces, and with the divisions of 2008 it accounts for each of the 63: written, or left
// out for want of room in the crowded Red River delta, none outside the frame.
TEST(RealMapNames, VietnamNamesItsProvincesOfEitherYear) {
    const QString data = QStringLiteral(ZELKORA_DATA_DIR);
    const auto map = FigureMap::load(data, kMapVietnam);
    const VectorMap vector = loadVectorMap(vectorMapPath(data, kMapCaptions[kMapVietnam]));
    FigureOptions options = optionsFor(kMapVietnam);
    options.dataDir = data;
    options.extent = FigureExtent::WholeMap;
    options.widthMm = 183;
    options.nameDivisions = true;
    for (const FigureDivisions divisions : {FigureDivisions::Current, FigureDivisions::Of2008}) {
        SCOPED_TRACE(static_cast<int>(divisions));
        options.divisions = divisions;
        QSet<QString> expected;
        for (const DivisionArea& d : divisions == FigureDivisions::Current
                                         ? vector.divisionAreas
                                         : vector.divisionAreas2008) {
            if (d.country == QLatin1String("VNM")) {
                expected.insert(d.name);
            }
        }
        ASSERT_EQ(expected.size(), divisions == FigureDivisions::Current ? 34 : 63);
        const FigureLayout layout = layOutFigure(options, *map, *tableOf({}));
        QSet<QString> named;
        for (const PlaceName& n : layout.names) {
            named.insert(n.text);
        }
        QSet<QString> all = named;
        for (const LeftOutName& n : layout.namesLeftOut) {
            EXPECT_FALSE(n.outside) << n.text.toStdString();
            all.insert(n.text);
        }
        EXPECT_EQ(all, expected);
        if (divisions == FigureDivisions::Current) {
            EXPECT_EQ(named, expected);
        } else {
            EXPECT_GE(named.size(), 58);
        }
        expectNothingCovered(layout);
    }
}

// The figure of the issue: Primorye with 20 numbered localities in two columns and the
// countries' names, on the real map. Every number is drawn, and no name or number covers a
// marker, another name or number, the legend or the scale bar.
TEST(RealMapNames, PrimoryeWithTwentyNumberedLocalities) {
    const QString data = QStringLiteral(ZELKORA_DATA_DIR);
    const auto map = FigureMap::load(data, kMapFarEast);
    const char* const localities[] = {
        "43.1155, 131.8855", "42.8138, 132.8735", "43.7971, 131.9518", "43.3587, 132.1894",
        "44.1622, 133.2697", "44.5964, 132.8147", "44.5570, 135.5650", "45.4779, 133.4188",
        "45.9310, 133.7308", "43.1277, 133.1232", "43.1111, 132.3480", "44.2700, 135.0500",
        "46.4794, 134.2233", "45.0500, 136.6200", "44.7333, 136.3167", "43.7450, 135.2900",
        "43.3790, 133.9060", "42.4290, 130.6450", "42.8630, 131.3710", "42.7100, 130.7900"};
    auto table = tableOf({{0, 0, "Quercus mongolica"}, {2, 0, "Pinus koraiensis"}});
    for (int i = 0; i < 20; ++i) {
        table->setCell(i < 12 ? 0 : 2, i < 12 ? i + 1 : i - 11, QString::fromUtf8(localities[i]));
    }
    FigureOptions options = optionsFor(kMapFarEast);
    options.dataDir = data;
    options.nameCountries = true;
    options.numbering = PointNumbering::Continuous;
    for (const auto& [widthMm, projection] : {std::pair(89.0, FigureProjectionKind::NorthUp),
                                              std::pair(89.0, FigureProjectionKind::Map),
                                              std::pair(140.0, FigureProjectionKind::NorthUp)}) {
        SCOPED_TRACE(widthMm);
        SCOPED_TRACE(static_cast<int>(projection));
        options.widthMm = widthMm;
        options.projection = projection;
        const FigureLayout layout = layOutFigure(options, *map, *table);
        ASSERT_EQ(layout.numbers.size(), 20u);
        for (const PointNumber& n : layout.numbers) {
            EXPECT_TRUE(n.drawn) << n.number;
        }
        QStringList names;
        for (const PlaceName& n : layout.names) {
            names << n.text;
        }
        EXPECT_TRUE(names.contains(QStringLiteral("RUSSIA"))) << names.join(' ').toStdString();
        EXPECT_TRUE(names.contains(QStringLiteral("CHINA"))) << names.join(' ').toStdString();
        expectNothingCovered(layout);
    }
}

}  // namespace

}  // namespace zelkora
