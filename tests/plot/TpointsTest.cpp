#include <gtest/gtest.h>

#include <optional>

#include "common/ZelkoraError.h"
#include "plot/Tpoints.h"
#include "projection/geo.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

// The Far East map's picture, 940 x 1660 pixels, and 1880 x 3320 in high resolution.
constexpr int kWidth = 940;
constexpr int kHeight = 1660;

const Tpar& farEast() {
    return PAR_map[kMapFarEast];
}

PictureBounds farEastPicture() {
    return PictureBounds(farEast(), false, kWidth, kHeight);
}

// A point on the Far East map for each cell of a 9 x 200 table.
QString cellText(int col, int row) {
    return QStringLiteral("%1, %2").arg(50 + col * 0.5).arg(130 + row * 0.05);
}

void readFarEast(Tpoints& points, const PointTable& table) {
    readPoints(points, table, farEastPicture());
}

TEST(ReadPoints, ListsColumnByColumnAndRowsDownProjectingEach) {
    PointTable table;
    table.setCell(0, 0, QStringLiteral("10, 20"));  // the header is never read
    table.setCell(3, 7, QStringLiteral("48.5, 135.25"));
    table.setCell(0, 5, QStringLiteral("50, 140"));
    table.setCell(0, 2, QStringLiteral("45 131"));
    table.setCell(8, 69, QStringLiteral("1,2"));  // off the map
    table.setCell(8, 68, QStringLiteral("60, 160"));
    Tpoints points;
    const PictureBounds hiRes(farEast(), true, 2 * kWidth, 2 * kHeight);
    readPoints(points, table, hiRes);

    struct Expected {
        int t;
        double x, y;
    };
    const Expected expected[] = {{0, 45, 131}, {0, 50, 140}, {3, 48.5, 135.25}, {8, 60, 160}};
    ASSERT_EQ(points.num, 4);
    for (int i = 0; i < 4; ++i) {
        const Tpoint& p = points.p[static_cast<std::size_t>(i)];
        EXPECT_EQ(p.t, expected[i].t);
        EXPECT_EQ(p.x, expected[i].x);
        EXPECT_EQ(p.y, expected[i].y);
        const Tpoint projected = geo(p, farEast(), true, 2 * kHeight);
        EXPECT_EQ(p.xImg, projected.xImg);
        EXPECT_EQ(p.yImg, projected.yImg);
    }
    // Where each point came from, in list order; the one off the map is none of them.
    const std::vector<PointCell> cells = pointCells(table, hiRes);
    ASSERT_EQ(cells.size(), 4u);
    const int rows[] = {2, 5, 7, 68};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cells[static_cast<std::size_t>(i)].col, expected[i].t);
        EXPECT_EQ(cells[static_cast<std::size_t>(i)].row, rows[i]);
    }
    // The worked example of the projection: (50, 140) in high resolution, 6000 - 3320 pixels
    // higher than on a 6000-pixel map.
    EXPECT_NEAR(points.p[1].xImg, 1165.320174, 1e-6);
    EXPECT_NEAR(points.p[1].yImg, 5134.459022 - (6000 - 2 * kHeight), 1e-6);
}

struct CellCase {
    const char* text;
    std::optional<std::pair<double, double>> point;
};

TEST(ReadPoints, TakesOnlyLongerCellsOfExactlyTwoItems) {
    const CellCase cases[] = {
        {"48.5, 135.25", std::pair{48.5, 135.25}},
        {"48.5 135.25", std::pair{48.5, 135.25}},
        {"1,2", std::pair{1.0, 2.0}},
        {"\"5\" \".5\"", std::pair{5.0, 0.5}},
        {"-0.25,1.5e2", std::pair{-0.25, 150.0}},
        {"48,5, 135,25", std::nullopt},
        {"48.5", std::nullopt},
        {"ab", std::nullopt},
        {"1 2", std::pair{1.0, 2.0}},
        {"12", std::nullopt},
        {"1,", std::nullopt},  // two items, "1" and "", but only two characters
        {"abc", std::nullopt},
        {"1, 2, 3", std::nullopt},
        {"", std::nullopt},
    };
    for (const CellCase& c : cases) {
        PointTable table;
        table.setCell(2, 1, QString::fromUtf8(c.text));
        std::vector<std::pair<double, double>> found;
        forEachPointCell(table, [&](int col, int row, double lat, double lon) {
            EXPECT_EQ(col, 2);
            EXPECT_EQ(row, 1);
            found.emplace_back(lat, lon);
        });
        if (c.point) {
            ASSERT_EQ(found.size(), 1u) << c.text;
            EXPECT_EQ(found[0], *c.point) << c.text;
        } else {
            EXPECT_TRUE(found.empty()) << c.text;
        }
    }
}

TEST(ReadPoints, EmptyTableEmptiesTheList) {
    Tpoints points;
    points.num = 5;
    readFarEast(points, PointTable());
    EXPECT_EQ(points.num, 0);
}

TEST(ReadPoints, BadItemFailsWithTheConversionMessage) {
    PointTable table;
    table.setCell(0, 1, QStringLiteral("N48, E135"));
    Tpoints points;
    try {
        readFarEast(points, table);
        FAIL() << "no error";
    } catch (const ZelkoraError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'N48' is not a valid floating point value\n"
                                              "Ячейка: столбец №1, строка 1"));
    }
    EXPECT_EQ(points.num, 0);
}

// Columns 0 to 4 full in rows 1 to 60, column 5 in rows 1 to 38, then a bad cell in row 39.
TEST(ReadPoints, FailureKeepsThePointsBeforeTheBadCell) {
    PointTable table;
    for (int col = 0; col <= 5; ++col) {
        for (int row = 1; row <= (col < 5 ? 60 : 38); ++row) {
            table.setCell(col, row, cellText(col, row));
        }
    }
    table.setCell(5, 39, QStringLiteral("48.5, 135x"));
    table.setCell(6, 1, cellText(6, 1));
    Tpoints points;
    EXPECT_THROW(readFarEast(points, table), ZelkoraError);
    ASSERT_EQ(points.num, 338);
    EXPECT_EQ(points.p[337].t, 5);
    EXPECT_EQ(points.p[337].y, 130 + 38 * 0.05);
}

class Capacity : public testing::Test {
  protected:
    // 1001 point cells in list order over a table enlarged to 9 x 200.
    void SetUp() override {
        table.setShape(9, 200);
        int filled = 0;
        for (int col = 0; col < 9 && filled < 1001; ++col) {
            for (int row = 1; row < 200 && filled < 1001; ++row, ++filled) {
                table.setCell(col, row, cellText(col, row));
                last = {col, row};
            }
        }
    }

    PointTable table;
    std::pair<int, int> last;
};

TEST_F(Capacity, KeepsTheFirstThousandPoints) {
    Tpoints points;
    points.p[1000].t = -7;  // slot 1000 is never filled
    readFarEast(points, table);
    ASSERT_EQ(points.num, 1000);
    const Tpoint& thousandth = points.p[999];
    EXPECT_EQ(thousandth.t, last.first);
    EXPECT_EQ(thousandth.y, 130 + (last.second - 1) * 0.05);
    EXPECT_EQ(points.p[1000].t, -7);

    addPoint(points, 0, 1, 2, farEast(), false, kHeight);
    EXPECT_EQ(points.num, 1000);
    EXPECT_EQ(points.p[1000].t, -7);
    EXPECT_EQ(pointCapText(table, pointCells(table, farEastPicture())).toStdString(),
              std::string("На карте только первые 1000 точек из 1001 на ней: не нанесены 1, из "
                          "столбцов №6 (1)."));
}

// Points off the map take no place of the thousand: a worldwide file before the map's own
// points hides none of them.
TEST_F(Capacity, PointsOffTheMapTakeNoPlace) {
    PointTable world;
    world.setShape(10, 1200);
    for (int row = 1; row < 1200; ++row) {
        world.setCell(0, row, QStringLiteral("-33.9, 18.4"));  // Cape Town
    }
    for (int row = 1; row <= 300; ++row) {
        world.setCell(9, row, cellText(1, row));
    }
    Tpoints points;
    readFarEast(points, world);
    EXPECT_EQ(points.num, 300);
    EXPECT_EQ(points.p[0].t, 9);
    const std::vector<PointCell> cells = pointCells(world, farEastPicture());
    ASSERT_EQ(cells.size(), 300u);
    EXPECT_EQ(cells[0].col, 9);
    EXPECT_EQ(pointCapText(world, cells), QString());
}

TEST_F(Capacity, BadCellAfterTheThousandthPointStillFails) {
    table.setCell(8, 199, QStringLiteral("1, x"));
    Tpoints points;
    EXPECT_THROW(readFarEast(points, table), ZelkoraError);
    EXPECT_EQ(points.num, 1000);
}

TEST(ReadPoints, ColumnsBeyondTheNineTypesAreListedAndCount) {
    PointTable table;
    table.setShape(12, 70);
    table.setCell(11, 3, QStringLiteral("50, 140"));
    table.setCell(9, 1, QStringLiteral("51, 141"));
    table.setCell(1, 69, QStringLiteral("52, 142"));
    Tpoints points;
    readFarEast(points, table);
    ASSERT_EQ(points.num, 3);
    EXPECT_EQ(points.p[0].t, 1);
    EXPECT_EQ(points.p[1].t, 9);
    EXPECT_EQ(points.p[2].t, 11);
}

}  // namespace

}  // namespace zelkora
