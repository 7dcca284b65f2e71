// The table written out and read back, and the report of an import.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/ZelkoraError.h"
#include "records/GroupPlacement.h"
#include "records/OccurrenceFormats.h"
#include "records/PointFileExport.h"
#include "records/TablePoints.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"
#include "tests/records/RecordsFixtures.h"
#include "tests/support/TestFiles.h"
#include "tests/table/QtPrinters.h"

namespace zelkora {

namespace {

// Points as the import writes them, in columns with a group's name, a marker type's own name
// (with its leading blank) and no name at all, and a header that needs quoting and escaping.
void fillSample(PointTable& table) {
    fillHeaderRow(table);
    table.setCell(0, 0, QStringLiteral("Parnassius stubbendorfii"));
    table.setCell(0, 1, QStringLiteral("43.115500, 131.885500"));
    table.setCell(0, 2, QStringLiteral("-48.480200, -135.071900"));
    table.setCell(1, 0, QStringLiteral("Желна, \"чёрная\" <&>"));
    table.setCell(1, 1, QStringLiteral("0.000010, 190.350000"));
    table.setCell(4, 1, QStringLiteral("10.500000, 106.700000"));
    table.setCell(5, 0, QString());
    table.setCell(5, 1, QStringLiteral("21.066700, 105.366700"));
}

class PointFileRoundTrip : public testing::TestWithParam<const char*> {};

TEST_P(PointFileRoundTrip, GivesTheSameTable) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("points.") + QLatin1String(GetParam()));
    PointTable table;
    fillSample(table);
    EXPECT_TRUE(exportTable(table, file).empty());

    const std::optional<OccurrenceSet> set = readOccurrences(readBytes(file), file, {});
    ASSERT_TRUE(set);
    EXPECT_TRUE(set->unread.empty()) << set->unread.front().reason.toStdString();
    PointTable back;
    fillHeaderRow(back);
    placeOccurrences(back, *set, {});
    ASSERT_EQ(back.ColCount(), table.ColCount());
    ASSERT_EQ(back.RowCount(), table.RowCount());
    // Past the antimeridian, GPS and GIS files hold the western equal of a longitude.
    if (QLatin1String(GetParam()) != QLatin1String("csv")) {
        table.setCell(1, 1, QStringLiteral("0.000010, -169.650000"));
    }
    for (int c = 0; c < table.ColCount(); ++c) {
        for (int r = 0; r < table.RowCount(); ++r) {
            EXPECT_EQ(back.cell(c, r), table.cell(c, r)) << "column " << c << ", row " << r;
        }
    }
}

TEST(FileLongitude, WithinTheRangeGpsAndGisFilesAllow) {
    const struct {
        double table;
        double file;
    } cases[] = {
        {135.0719, 135.0719},  {-180.0, -180.0},        {180.0, -180.0}, {190.35, -169.65},
        {192.2981, -167.7019}, {359.999999, -0.000001}, {-190.0, 170.0}, {-360.0, 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plainNumber(fileLongitude(c.table)), plainNumber(c.file)) << c.table;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, PointFileRoundTrip,
                         testing::Values("csv", "geojson", "kml", "gpx"));

TEST(ExportTable, CsvAsSpreadsheetsOpenIt) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("p.csv"));
    PointTable table;
    fillSample(table);
    table.setCell(2, 1, QStringLiteral("no point here"));
    table.setCell(2, 2, QStringLiteral("1.2.3, 4"));
    table.setCell(2, 3, QStringLiteral("  "));
    const std::vector<SkippedCell> skipped = exportTable(table, file);
    EXPECT_EQ(readBytes(file),
              QByteArray("\xEF\xBB\xBFgroup,marker,latitude,longitude\r\n"
                         "\"Parnassius stubbendorfii\",0,43.1155,131.8855\r\n"
                         "\"Parnassius stubbendorfii\",0,-48.4802,-135.0719\r\n") +
                  QStringLiteral("\"Желна, \"\"чёрная\"\" <&>\",1,0.00001,190.35\r\n").toUtf8() +
                  QStringLiteral("\"квадраты залитые\",4,10.5,106.7\r\n,5,21.0667,105.3667\r\n")
                      .toUtf8());
    ASSERT_EQ(skipped.size(), 2u);
    EXPECT_EQ(skipped[0].reason, QStringLiteral("не точка"));
    EXPECT_EQ(skipped[1].row, 2);
    EXPECT_EQ(
        skipped[1].reason,
        QStringLiteral("'1.2' is not a valid floating point value").replace("1.2'", "1.2.3'"));

    EXPECT_THROW(exportTable(table, dir.filePath(QStringLiteral("p.xlsx"))), ZelkoraError);
    EXPECT_THROW(exportTable(table, dir.filePath(QStringLiteral("missing/p.csv"))), ZelkoraError);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("p.xlsx"))));
}

}  // namespace

}  // namespace zelkora
