// Numbers beside the markers: their order, their places, and the key for a caption.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>

#include "figure/FigureLayout.h"
#include "figure/Legend.h"
#include "figure/PointKey.h"
#include "tests/figure/FigureFixtures.h"
#include "tests/support/TestFiles.h"

namespace zelkora {

namespace {

FigureOptions numbered(PointNumbering numbering) {
    FigureOptions o = optionsFor(kMapFarEast);
    o.extent = FigureExtent::Box;
    o.box = {42, 129, 50, 141};
    o.numbering = numbering;
    return o;
}

// In table order within each column, columns in order; from 1 in each column, or running on.
// Points left out get none; each number stands right beside its marker where there is room.
TEST(PointNumbers, FollowTheTableWithinEachColumn) {
    const auto map = smallFigureMap(kMapFarEast);
    const auto table = tableOf({{0, 0, "Quercus mongolica"},
                                {0, 1, "43.0, 131.0"},
                                {0, 2, "44.0, 133.0"},
                                {0, 3, "45.0, 135.0"},
                                {0, 5, "46.0, 137.0"},
                                {0, 6, "60.0, 160.0"},  // outside the box
                                {2, 1, "47.0, 131.0"},
                                {2, 2, "48.5, 134.0"}});
    using Key = std::pair<int, int>;  // column, row
    struct Case {
        PointNumbering numbering;
        std::map<Key, int> numbers;
    };
    const Case cases[] = {
        {PointNumbering::PerColumn,
         {{{0, 1}, 1}, {{0, 2}, 2}, {{0, 3}, 3}, {{0, 5}, 4}, {{2, 1}, 1}, {{2, 2}, 2}}},
        {PointNumbering::Continuous,
         {{{0, 1}, 1}, {{0, 2}, 2}, {{0, 3}, 3}, {{0, 5}, 4}, {{2, 1}, 5}, {{2, 2}, 6}}},
        {PointNumbering::None, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.numbering));
        const FigureLayout layout = layOutFigure(numbered(c.numbering), *map, *table);
        std::map<Key, int> numbers;
        const double half = layout.options.markerMm / 2 + layout.markerOutlineMm;
        for (const PointNumber& n : layout.numbers) {
            numbers[{n.point.column, n.point.row}] = n.number;
            EXPECT_EQ(n.columnName,
                      columnName(*table, n.point.column, FigureLanguage::English).text);
            EXPECT_TRUE(n.drawn);
            EXPECT_TRUE(n.leader.isNull());
            const QPointF centre = layout.mmFromPlane(layout.panels.front()).map(n.point.plane);
            // Beside: its box reaches to within the gap of the marker's.
            const QRectF near(centre - QPointF(half, half), QSizeF(2 * half, 2 * half));
            const QRectF around = near.adjusted(-0.5, -0.5, 0.5, 0.5);
            EXPECT_TRUE(n.box.intersects(around) && !n.box.intersects(near)) << n.number;
        }
        EXPECT_EQ(numbers, c.numbers);
        EXPECT_EQ(layout.numbers.empty(), pointKeyCsv(layout).isEmpty());
        expectNothingCovered(layout);
    }
    // One panel per column: each panel's numbers among its own markers.
    FigureOptions panels = numbered(PointNumbering::PerColumn);
    panels.panels = true;
    const FigureLayout layout = layOutFigure(panels, *map, *table);
    ASSERT_EQ(layout.panels.size(), 2u);
    for (const PointNumber& n : layout.numbers) {
        EXPECT_EQ(layout.panels[static_cast<std::size_t>(n.panel)].column, n.point.column);
    }
    expectNothingCovered(layout);
}

// Clusters of markers, as localities a few hundred metres apart give. A number shut in by its
// neighbours' markers stands off with a leader that passes between them; one shut in wholly is
// not drawn, named in a warning and kept in the key. None covers a marker, a number or a leader.
TEST(PointNumbers, InAClusterStandOffOrAreNamed) {
    struct Case {
        const char* name;
        std::vector<QPointF> at;  // in markers' widths from the frame's middle, number 1 first
        int leaders;
        QStringList missing;
    };
    std::vector<QPointF> square;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            square.emplace_back(x - 2.5, y - 2.5);
        }
    }
    const Case cases[] = {
        {"a cross, half a marker apart", {{0, 0}, {0, -1.5}, {0, 1.5}, {1.5, 0}, {-1.5, 0}}, 1, {}},
        {"a square of markers side by side",
         square,
         0,
         {"8", "9", "10", "11", "14", "15", "16", "17", "20", "21", "22", "23", "26", "27", "28",
          "29"}},
    };
    const auto map = smallFigureMap(kMapFarEast);
    FigureOptions options = numbered(PointNumbering::Continuous);
    options.box = {44, 131, 46, 135};
    const FigureLayout empty = layOutFigure(options, *map, *tableOf({}));
    const QTransform toPlane = empty.mmFromPlane(empty.panels.front()).inverted();
    const QPointF middle = empty.panels.front().frame.center();
    const double width = options.markerMm + 2 * empty.markerOutlineMm;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto table = tableOf({});
        int row = 1;
        for (const QPointF at : c.at) {
            const GeoPoint p = empty.projection.toGeo(toPlane.map(middle + at * width));
            table->setCell(0, row++,
                           QStringLiteral("%1, %2").arg(p.lat, 0, 'f', 8).arg(p.lon, 0, 'f', 8));
        }
        const FigureLayout layout = layOutFigure(options, *map, *table);
        ASSERT_EQ(layout.numbers.size(), c.at.size());
        int leaders = 0;
        QStringList missing;
        for (const PointNumber& n : layout.numbers) {
            leaders += n.drawn && !n.leader.isNull() ? 1 : 0;
            if (!n.drawn) {
                missing << QString::number(n.number);
            }
        }
        EXPECT_EQ(leaders, c.leaders);
        EXPECT_EQ(missing, c.missing);
        if (!missing.isEmpty()) {
            EXPECT_TRUE(layout.warnings.join('\n').contains(missing.join(QStringLiteral(", "))))
                << layout.warnings.join('\n').toStdString();
        }
        EXPECT_EQ(pointKeyCsv(layout).count("\r\n"), static_cast<int>(c.at.size()) + 1);
        expectNothingCovered(layout);
    }
}

// The key: a header row, then the number, the column's name as the legend names it (quoted as
// CSV wants), the latitude and the longitude within ±180, in UTF-8 with a byte order mark, written
// as it is to its file.
TEST(PointKey, IsCsvForTheCaption) {
    const auto map = smallFigureMap(kMapFarEast);
    const auto table = tableOf({{0, 0, "Quercus \"sp. 1\", Ussuri"},
                                {0, 1, "43.1155, 131.8855"},
                                {3, 1, "65.5, 190.35"},
                                {3, 2, "64.25, 177.5"}});
    FigureOptions options = numbered(PointNumbering::Continuous);
    options.extent = FigureExtent::WholeMap;
    options.language = FigureLanguage::Russian;
    const FigureLayout layout = layOutFigure(options, *map, *table);
    const QByteArray expected =
        "\xEF\xBB\xBFnumber,name,latitude,longitude\r\n"
        "1,\"Quercus \"\"sp. 1\"\", Ussuri\",43.1155,131.8855\r\n"
        "2,\"" +
        markerTypeName(3, FigureLanguage::Russian).toUtf8() +
        "\",65.5,-169.65\r\n"
        "3,\"" +
        markerTypeName(3, FigureLanguage::Russian).toUtf8() + "\",64.25,177.5\r\n";
    EXPECT_EQ(pointKeyCsv(layout), expected);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ключ.csv"));
    writePointKey(layout, file);
    EXPECT_EQ(readBytes(file), expected);
}

}  // namespace

}  // namespace zelkora
