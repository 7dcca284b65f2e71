#include <gtest/gtest.h>

#include "tests/table/QtPrinters.h"

#include "common/ZelkoraError.h"
#include "coordtext/Reading.h"
#include "table/HeaderRow.h"
#include "table/ImportReport.h"
#include "table/PointInsert.h"
#include "table/PointTable.h"
#include "table/myParser.h"
#include "tests/support/TestFiles.h"

namespace zelkora {

namespace {

// A fresh table as the window shows it: default shape, header, no points.
struct FreshTable : ::testing::Test {
    FreshTable() { fillHeaderRow(table); }
    PointTable table;
};

TEST_F(FreshTable, HeaderHoldsTheSelectorItemsBlanksIncluded) {
    const QStringList names = markerTypeNames();
    ASSERT_EQ(names.size(), 9);
    EXPECT_EQ(names[2], QString::fromUtf8("треугольники залитые "));
    EXPECT_EQ(names[4], QString::fromUtf8(" квадраты залитые"));
    EXPECT_EQ(names[8], QString::fromUtf8("звездочки. "));
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(table.cell(c, 0), names[c]) << c;
    }
}

TEST(HeaderRow, FillsOnlyTheColumnsThereAreAndOverwritesOldHeaders) {
    PointTable narrow;
    narrow.setShape(3, 5);
    narrow.setCell(1, 0, QStringLiteral("old"));
    narrow.setCell(1, 1, QStringLiteral("1, 2"));
    fillHeaderRow(narrow);
    EXPECT_EQ(narrow.cell(0, 0), markerTypeNames()[0]);
    EXPECT_EQ(narrow.cell(1, 0), markerTypeNames()[1]);
    EXPECT_EQ(narrow.cell(2, 0), markerTypeNames()[2]);
    EXPECT_EQ(narrow.cell(1, 1), QStringLiteral("1, 2"));

    PointTable wide;
    wide.setShape(11, 3);
    wide.setCell(10, 0, QStringLiteral("old"));
    fillHeaderRow(wide);
    EXPECT_EQ(wide.cell(8, 0), markerTypeNames()[8]);
    EXPECT_EQ(wide.cell(9, 0), QString());
    EXPECT_EQ(wide.cell(10, 0), QString());
}

TEST_F(FreshTable, LastFilledRowFindsTheLowestFilledCellAndSkipsGaps) {
    EXPECT_EQ(lastFilledRow(table, 3), 0);
    for (int r : {1, 2, 3, 10}) {
        table.setCell(2, r, QStringLiteral("1, 2"));
    }
    EXPECT_EQ(lastFilledRow(table, 2), 10);
    EXPECT_EQ(newPointRow(table, 2), 11);
}

TEST_F(FreshTable, APointTypedIntoTheLastRowIsNotSeen) {
    table.setCell(5, 69, QStringLiteral("1, 2"));
    EXPECT_EQ(newPointRow(table, 5), 1);
    EXPECT_EQ(table.RowCount(), 70);
}

TEST_F(FreshTable, AnEmptiedHeaderStillSendsThePointToRowOne) {
    table.setCell(4, 0, QString());
    EXPECT_EQ(lastFilledRow(table, 4), 0);
    EXPECT_EQ(newPointRow(table, 4), 1);
}

TEST(PointInsert, TablesTooSmallForTheSearchGrow) {
    PointTable oneRow;
    oneRow.setShape(2, 1);
    EXPECT_EQ(lastFilledRow(oneRow, 0), 0);
    EXPECT_EQ(newPointRow(oneRow, 0), 1);
    EXPECT_EQ(oneRow.RowCount(), 2);

    PointTable twoRows;
    twoRows.setShape(2, 2);
    EXPECT_EQ(newPointRow(twoRows, 1), 1);  // row 1 is the empty last row
    EXPECT_EQ(twoRows.RowCount(), 2);
}

TEST(PointTable, AppendRowKeepsEveryCellInPlace) {
    PointTable table;
    table.setShape(4, 3);
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 3; ++r) {
            table.setCell(c, r, QStringLiteral("%1/%2").arg(c).arg(r));
        }
    }
    table.appendRow();
    table.appendRow();
    ASSERT_EQ(table.RowCount(), 5);
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 5; ++r) {
            EXPECT_EQ(table.cell(c, r), r < 3 ? QStringLiteral("%1/%2").arg(c).arg(r) : QString())
                << c << "," << r;
        }
    }
}

TEST_F(FreshTable, AFullColumnGrowsInsteadOfOverwritingTheLastRow) {
    for (int r = 1; r <= 68; ++r) {
        table.setCell(0, r, QStringLiteral("%1, 1").arg(r));
    }
    QString lat = QStringLiteral("69"), lon = QStringLiteral("1");
    EXPECT_EQ(insertOnePoint(table, 0, lat, lon), 69);
    EXPECT_EQ(table.RowCount(), 70);
    lat = QStringLiteral("70");
    EXPECT_EQ(insertOnePoint(table, 0, lat, lon), 70);
    EXPECT_EQ(table.RowCount(), 71);
    EXPECT_EQ(table.cell(0, 69), QStringLiteral("69, 1"));
    EXPECT_EQ(table.cell(0, 70), QStringLiteral("70, 1"));
    EXPECT_EQ(table.cell(0, 0), markerTypeNames()[0]);  // the growth keeps every cell
    EXPECT_EQ(table.cell(0, 68), QStringLiteral("68, 1"));
}

TEST_F(FreshTable, OnePointEntryTurnsCommasIntoPointsWithoutChecking) {
    QString lat = QStringLiteral("48,5"), lon = QStringLiteral("135,25");
    EXPECT_EQ(insertOnePoint(table, 3, lat, lon), 1);
    EXPECT_EQ(table.cell(3, 1), QStringLiteral("48.5, 135.25"));
    EXPECT_EQ(lat, QStringLiteral("48.5"));
    EXPECT_EQ(lon, QStringLiteral("135.25"));

    lat = QStringLiteral("abc");
    lon = QStringLiteral(" 1,2,3 ");
    EXPECT_EQ(insertOnePoint(table, 3, lat, lon), 2);
    EXPECT_EQ(table.cell(3, 2), QStringLiteral("abc,  1.2.3 "));
}

TEST_F(FreshTable, AColumnTheTableLacksIsRefusedAndNothingChanges) {
    for (int column : {-1, 9, 100}) {
        QString lat = QStringLiteral("1,5"), lon = QStringLiteral("2");
        try {
            insertOnePoint(table, column, lat, lon);
            ADD_FAILURE() << column;
        } catch (const ZelkoraError& e) {
            EXPECT_TRUE(e.message().contains(QString::number(column))) << e.what();
        }
        EXPECT_EQ(lat, QStringLiteral("1,5"));
    }
    EXPECT_EQ(table.ColCount(), 9);
    EXPECT_EQ(table.RowCount(), 70);
}

TEST_F(FreshTable, PastedLinesGoBelowTheLowestPointOneRowEach) {
    table.setCell(6, 3, QStringLiteral("1, 2"));
    const QStringList lines = {QStringLiteral("43 146"), QStringLiteral("no point here"),
                               QStringLiteral(" (53\u00B056'27\"N 158\u00B001'31\"E)")};
    EXPECT_EQ(insertPoints(table, 6, lines), 2);
    EXPECT_EQ(table.cell(6, 4), QStringLiteral("43.000000, 146.000000"));
    EXPECT_EQ(table.cell(6, 5), QStringLiteral("53.940833, 158.025278"));
    EXPECT_EQ(table.cell(6, 6), QString());
    EXPECT_EQ(table.cell(6, 2), QString());
}

// No line stops a paste: a line without a point is reported with its number, text and reason,
// and the lines after it go in.
TEST_F(FreshTable, ALineWithoutAPointIsReportedAndTheRestGoIn) {
    const QStringList lines = {
        QStringLiteral("1 2"), QStringLiteral("1.2.3 4"),        QString(),
        QStringLiteral("   "), QStringLiteral("48 \u00B0 28'N"), QStringLiteral("5 6")};
    ImportReport report;
    EXPECT_EQ(insertPoints(table, 0, lines, &report), 2);
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("1.000000, 2.000000"));
    EXPECT_EQ(table.cell(0, 2), QStringLiteral("5.000000, 6.000000"));
    EXPECT_EQ(report.readCount(), 2);
    EXPECT_EQ(report.unreadCount(), 2) << "blank lines name nothing and are not reported";
    ASSERT_EQ(report.unread().size(), 2u);
    EXPECT_EQ(report.unread()[0].number, 2);
    EXPECT_EQ(report.unread()[0].text, QStringLiteral("1.2.3 4"));
    EXPECT_EQ(report.unread()[1].number, 5);
    EXPECT_EQ(report.unread()[1].reason, noPointReasonText(NoPointReason::oneAxis));
    EXPECT_EQ(ImportReport::unreadLine(report.unread()[1]),
              QStringLiteral("Строка 5: в строке только одна координата, нужны широта и долгота — "
                             "«48 \u00B0 28'N»"));
}

// Points off the picture are reported with the slip that would put them on it; the check is
// the caller's, here a box of 40-50° N, 130-140° E.
TEST_F(FreshTable, PointsOffThePictureAreReportedWithAHint) {
    const QStringList lines = {
        QStringLiteral("45 135"),   QStringLiteral("135 45"),   QStringLiteral("-45 135"),
        QStringLiteral("45 -135"),  QStringLiteral("-45 -135"), QStringLiteral("10 20"),
        QStringLiteral("no point"),
    };
    ImportReport report;
    report.setPictureCheck(
        [](double lat, double lon) { return lat > 40 && lat < 50 && lon > 130 && lon < 140; });
    EXPECT_EQ(insertPoints(table, 3, lines, &report), 5) << "135 45 is out of range";
    EXPECT_EQ(report.readCount(), 5);
    EXPECT_EQ(report.unreadCount(), 2);
    ASSERT_EQ(report.outsideCount(), 4);
    const auto& outside = report.outside();
    EXPECT_EQ(outside[0].number, 3);
    EXPECT_TRUE(outside[0].hint.startsWith(QStringLiteral("если сменить знак широты")));
    EXPECT_TRUE(outside[1].hint.startsWith(QStringLiteral("если сменить знак долготы")));
    EXPECT_TRUE(outside[2].hint.startsWith(QStringLiteral("если сменить знаки обеих")));
    EXPECT_TRUE(outside[3].hint.isEmpty()) << "no slip puts 10, 20 on this map";
    EXPECT_EQ(ImportReport::outsideLine(outside[0]),
              QStringLiteral("Строка 3: точка -45.000000, 135.000000 вне карты — «-45 135»; "
                             "если сменить знак широты, точка 45.000000, 135.000000 попадёт на "
                             "карту"));
    EXPECT_EQ(report.summary(),
              QStringLiteral("Прочитано строк с точками: 5, без точки: 2. Вне карты: 4."));

    // A swapped pair the map takes the other way round.
    ImportReport swapped;
    swapped.setPictureCheck(
        [](double lat, double lon) { return lat > 40 && lat < 50 && lon > 40 && lon < 50; });
    insertPoints(table, 4, {QStringLiteral("42 48")}, &swapped);
    insertPoints(table, 4, {QStringLiteral("N 48 E 12")}, &swapped);
    EXPECT_EQ(swapped.outsideCount(), 1);
}

// The report keeps what the window shows and hands the rest to its sinks as it comes, counting
// everything.
TEST(ImportReport, KeepsTheFirstRecordsAndHandsEveryOneToItsSinks) {
    ImportReport report(2);
    QStringList sunk;
    report.setUnreadSink([&](const UnreadRecord& r) { sunk << r.text; });
    for (int i = 1; i <= 5; ++i) {
        report.addUnread(i, QStringLiteral("line %1").arg(i), QStringLiteral("why"));
    }
    EXPECT_EQ(report.unreadCount(), 5);
    ASSERT_EQ(report.unread().size(), 2u);
    EXPECT_EQ(report.unread()[1].text, QStringLiteral("line 2"));
    EXPECT_EQ(sunk.size(), 5);
    // Long texts are cut, invisible characters written out.
    report.addUnread(6, QString(300, QLatin1Char('x')) + QStringLiteral("\u200B"), QString());
    EXPECT_EQ(sunk.last().size(), 201);
    ImportReport quiet(0);
    quiet.addUnread(1, QStringLiteral("a\tb"), QString());
    EXPECT_TRUE(quiet.unread().empty());
    EXPECT_TRUE(quiet.hasNews());
}

TEST_F(FreshTable, PastingIntoAFullColumnNeverErasesOrOverwritesTheLastRow) {
    for (int r = 1; r <= 69; ++r) {
        table.setCell(1, r, QStringLiteral("%1, 1").arg(r));
    }
    EXPECT_EQ(insertPoints(table, 1, {QStringLiteral("no point"), QString()}), 0);
    EXPECT_EQ(table.RowCount(), 70);
    EXPECT_EQ(table.cell(1, 69), QStringLiteral("69, 1"));

    EXPECT_EQ(insertPoints(table, 1, {QStringLiteral("7 8"), QStringLiteral("9 10")}), 2);
    EXPECT_EQ(table.RowCount(), 72);
    EXPECT_EQ(table.cell(1, 69), QStringLiteral("69, 1"));
    EXPECT_EQ(table.cell(1, 70), QStringLiteral("7.000000, 8.000000"));
    EXPECT_EQ(table.cell(1, 71), QStringLiteral("9.000000, 10.000000"));
}

TEST_F(FreshTable, PastingIntoAMissingColumnIsRefusedEvenWithoutPoints) {
    EXPECT_THROW(insertPoints(table, 9, {}), ZelkoraError);
    EXPECT_THROW(insertPoints(table, -1, {QStringLiteral("1 2")}), ZelkoraError);
}

// newPointRow for one point after another, as the insert is specified.
void insertOneByOne(PointTable& table, int column, const QStringList& lines) {
    for (const QString& line : lines) {
        const QString cell = myParser(line);
        if (!cell.isEmpty()) {
            table.setCell(column, newPointRow(table, column), cell);
        }
    }
}

void expectSameTable(const PointTable& actual, const PointTable& expected) {
    ASSERT_EQ(actual.ColCount(), expected.ColCount());
    ASSERT_EQ(actual.RowCount(), expected.RowCount());
    for (int c = 0; c < expected.ColCount(); ++c) {
        for (int r = 0; r < expected.RowCount(); ++r) {
            EXPECT_EQ(actual.cell(c, r), expected.cell(c, r)) << c << ", " << r;
        }
    }
}

// The insert grows the table in batches; the points land where one-by-one placing puts them,
// and the table ends with the same rows, whatever lines give no point.
TEST(InsertPoints, PlacesAsOneByOneWouldWhateverTheColumnHolds) {
    QStringList lines;
    int points = 0;
    for (int i = 0; i < 150; ++i) {
        const bool point = i % 7 != 3;
        lines << (point ? QStringLiteral("%1 %2").arg(i % 80).arg(i) : QStringLiteral("no point"));
        points += point ? 1 : 0;
    }
    struct Start {
        const char* name;
        int rows;
        std::vector<int> filled;  // rows of column 2 that hold text
    };
    const Start starts[] = {
        {"fresh", 70, {}},
        {"one row", 1, {}},
        {"two rows, header", 2, {0}},
        {"a gap above the lowest point", 70, {3, 40}},
        {"full but the last row", 70, {68}},
        {"last row alone", 70, {69}},
        {"full to the last row", 70, {1, 68, 69}},
    };
    const auto fill = [](PointTable& table, const Start& start) {
        table.setShape(9, start.rows);
        fillHeaderRow(table);
        for (const int r : start.filled) {
            table.setCell(2, r, QStringLiteral("old %1").arg(r));
        }
    };
    QStringList failing = lines;
    failing.insert(100, QStringLiteral("1.2.3 4"));  // no point, and no stop
    for (const Start& start : starts) {
        SCOPED_TRACE(start.name);
        PointTable expected;
        fill(expected, start);
        insertOneByOne(expected, 2, lines);
        PointTable actual;
        fill(actual, start);
        EXPECT_EQ(insertPoints(actual, 2, lines), points);
        expectSameTable(actual, expected);

        PointTable afterUnread;
        fill(afterUnread, start);
        ImportReport report;
        EXPECT_EQ(insertPastedText(afterUnread, 2, failing.join('\n'), &report), points);
        expectSameTable(afterUnread, expected);
        EXPECT_EQ(report.unreadCount(), failing.size() - points);
    }
}

// 20 MB of pasted text that once became a list of lines, or of one line's items: the insert
// needs less than the text's own UTF-16 size again, which the clipboard already holds.
TEST(InsertPoints, PeakMemoryOfALongPasteStaysBelowItsSize) {
    const std::pair<const char*, QString> pastes[] = {
        {"many lines without a point", QStringLiteral("x\n").repeated(10000000)},
        {"one line of many items", QStringLiteral("1 ").repeated(10000000)},
    };
    for (const auto& [name, text] : pastes) {
        SCOPED_TRACE(name);
        PointTable table;
        fillHeaderRow(table);
        expectPeakMemoryBelow(static_cast<std::size_t>(text.size()) * 2, [&] {
            ImportReport report(20);  // as the window keeps it
            EXPECT_EQ(insertPastedText(table, 0, text, &report), 0);
        });
    }
}

TEST(splitPastedLines, EveryKindOfBreakEndsALine) {
    struct Case {
        QString text;
        QStringList lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\n", {"a"}},            // no empty line after a final break
        {"a\r\n\r\n", {"a", ""}},  // but an empty line before it counts
        {"\n", {""}},
        {"\r\r\n\n", {"", "", ""}},
        {"a\n\rb", {"a", "", "b"}},  // LF CR is two breaks
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(splitPastedLines(c.text), c.lines);
    }
}

}  // namespace

}  // namespace zelkora
