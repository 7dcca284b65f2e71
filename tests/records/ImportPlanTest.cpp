// An import planned from a file's bytes before the table changes: what the file is (records,
// lines of coordinates, or refused and why), the choice it needs, and the import applied with
// the points off the map left out or kept, every record told to the report in the file's order.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/ZelkoraError.h"
#include "records/ImportPlan.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"
#include "tests/records/RecordsFixtures.h"
#include "tests/table/QtPrinters.h"

namespace zelkora {

namespace {

std::unique_ptr<PointTable> newTable() {
    auto table = std::make_unique<PointTable>();
    fillHeaderRow(*table);
    return table;
}

ReadOptions formatNamed(const char* name) {
    ReadOptions o;
    o.format = QLatin1String(name);
    return o;
}

QByteArray utf16le(const QString& text) {
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes += static_cast<char>(c.unicode() & 0xFF);
        bytes += static_cast<char>(c.unicode() >> 8);
    }
    return bytes;
}

struct PlanCase {
    const char* name;
    QByteArray bytes;
    QString fileName;
    ReadOptions options;
    ImportKind kind;
    Refusal refusal;
    QString message;  // the start of the refusal's message
    QString layout;
};

TEST(PlanImport, TellsRecordsLinesAndRefusalsApart) {
    static constexpr char kPngHead[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10";
    const QByteArray png(kPngHead, sizeof kPngHead - 1);
    const PlanCase cases[] = {
        {"an empty file", "", "a.csv", {}, ImportKind::Refused, Refusal::Empty, "Файл пуст", {}},
        {"blanks after a byte-order mark",
         "\xEF\xBB\xBF \r\n\t\r\n",
         "a.txt",
         {},
         ImportKind::Refused,
         Refusal::Empty,
         "Файл пуст",
         {}},
        {"UTF-16 blanks",
         utf16le(QStringLiteral(" \n ")),
         "a.txt",
         {},
         ImportKind::Refused,
         Refusal::Empty,
         "Файл пуст",
         {}},
        {"a header without records",
         "species,lat,lon\r\n\r\n",
         "a.csv",
         {},
         ImportKind::Refused,
         Refusal::Empty,
         "В файле только заголовок",
         {}},
        {"a picture named .csv",
         png,
         "a.csv",
         {},
         ImportKind::Refused,
         Refusal::Binary,
         "Файл не текстовый",
         {}},
        {"control characters all through",
         QByteArray(40, '\x01') + "48.5 135.2\n",
         "a.txt",
         {},
         ImportKind::Refused,
         Refusal::Binary,
         "Файл не текстовый",
         {}},
        {"a table without coordinate columns",
         "name;place\nx;y\n",
         "a.csv",
         {},
         ImportKind::Refused,
         Refusal::NoCoordinateColumns,
         "В заголовке не найдены столбцы координат. Есть столбцы: «name», «place».",
         "CSV"},
        {"the same named csv", "name,place\n48.5 135.2,y\n", "a.txt", formatNamed("csv"),
         ImportKind::Refused, Refusal::NoCoordinateColumns,
         "В заголовке не найдены столбцы координат", "CSV"},
        {"lines whose first line gives a point",
         "48.5, 135.2\nnothing, here\n",
         "a.csv",
         {},
         ImportKind::Lines,
         Refusal::None,
         {},
         "строки координат"},
        {"a title line, then lines",
         "Localities\n48.5 135.2\n",
         "a.csv",
         {},
         ImportKind::Lines,
         Refusal::None,
         {},
         "строки координат"},
        {"a table named text",
         "lat,lon\n48.5,135.2\n",
         "a.csv",
         formatNamed("text"),
         ImportKind::Lines,
         Refusal::None,
         {},
         "строки координат"},
        {"records in UTF-16",
         utf16le(QStringLiteral("lat\tlon\n48.5\t135.2\n")),
         "a.txt",
         {},
         ImportKind::Records,
         Refusal::None,
         {},
         "CSV"},
        {"a GBIF download",
         fixture("gbif-simple.tsv"),
         "0001.csv",
         {},
         ImportKind::Records,
         Refusal::None,
         {},
         "простая выгрузка GBIF"},
        {"GPX",
         fixture("waypoints.gpx"),
         "w.gpx",
         {},
         ImportKind::Records,
         Refusal::None,
         {},
         "GPX"},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportPlan plan = planImport(c.bytes, c.fileName, c.options, *newTable());
        EXPECT_EQ(plan.kind, c.kind);
        EXPECT_EQ(plan.refusal, c.refusal);
        EXPECT_TRUE(plan.message.startsWith(c.message)) << plan.message.toStdString();
        EXPECT_EQ(plan.layout, c.layout);
    }
    EXPECT_THROW(planImport("PK\x03\x04zip", "a.csv", {}, *newTable()), ZelkoraError);
    EXPECT_THROW(planImport("a,b\n1,2\n", "a.csv", formatNamed("xls"), *newTable()), ZelkoraError);
}

// A delimited file: its layout, header and first rows for the dialog, and the columns found
// (or named by the options) as indexes into the header.
TEST(PlanImport, ShowsTheColumnsFoundAndTheFirstRows) {
    QByteArray csv = "VECTOR;OCCURRENCE_ID;Y;X;COUNTRY\r";
    for (int i = 1; i <= 12; ++i) {
        csv += QStringLiteral("Aedes %1;%2;10,5;106,%2;Vietnam\r")
                   .arg(i % 2 ? "albopictus" : "aegypti")
                   .arg(i)
                   .toUtf8();
    }
    const ImportPlan plan = planImport(csv, "compendium.csv", {}, *newTable());
    ASSERT_EQ(plan.kind, ImportKind::Records);
    EXPECT_EQ(plan.layout, QStringLiteral("CSV"));
    EXPECT_EQ(plan.separator, QStringLiteral("«;»"));
    EXPECT_EQ(plan.encoding, QStringLiteral("UTF-8"));
    EXPECT_EQ(plan.columns, (QStringList{"VECTOR", "OCCURRENCE_ID", "Y", "X", "COUNTRY"}));
    EXPECT_EQ(plan.latColumn, 2);
    EXPECT_EQ(plan.lonColumn, 3);
    EXPECT_EQ(plan.textColumn, -1);
    EXPECT_EQ(plan.groupColumn, -1) << "VECTOR is no name a group column is found by";
    EXPECT_TRUE(plan.set.groupField.isEmpty());
    EXPECT_EQ(plan.sample.columns, plan.columns);
    ASSERT_EQ(plan.sample.rows.size(), static_cast<std::size_t>(kSampleRows));
    EXPECT_EQ(plan.sample.rows[1], (QStringList{"Aedes aegypti", "2", "10,5", "106,2", "Vietnam"}));
    EXPECT_EQ(plan.set.points.size(), 12u);

    ReadOptions byVector;
    byVector.groupBy = QStringLiteral("vector");
    const ImportPlan grouped = planImport(csv, "compendium.csv", byVector, *newTable());
    EXPECT_EQ(grouped.groupColumn, 0);
    EXPECT_EQ(grouped.set.groups, (QStringList{"Aedes albopictus", "Aedes aegypti"}));
    EXPECT_FALSE(grouped.groupsNeedingChoice);

    ReadOptions byId;
    byId.groupBy = QStringLiteral("OCCURRENCE_ID");
    const ImportPlan many = planImport(csv, "compendium.csv", byId, *newTable());
    ASSERT_TRUE(many.groupsNeedingChoice);
    EXPECT_EQ(many.groupsNeedingChoice->groups.size(), 12);
    EXPECT_EQ(many.groupsNeedingChoice->freeColumns, 9);
}

// An excerpt of a published compendium (Kraemer et al. 2015, Aedes occurrences; Dryad, CC0) as
// it is stored: lines ended by a lone CR, the species in "VECTOR", coordinates in "Y" and "X".
// All its points lie far from both maps: left out, they change nothing and are counted.
TEST(ApplyImport, ACompendiumOfPointsOffBothMapsLeavesTheTableAsItWas) {
    ReadOptions byVector;
    byVector.groupBy = QStringLiteral("VECTOR");
    const ImportPlan plan =
        planImport(fixture("aedes-compendium.csv"), "aegypti_albopictus.csv", byVector,
                   *newTable());
    ASSERT_EQ(plan.kind, ImportKind::Records);
    EXPECT_EQ(plan.latColumn, 5);
    EXPECT_EQ(plan.lonColumn, 6);
    EXPECT_EQ(plan.groupColumn, 0);
    EXPECT_EQ(plan.set.groups, QStringList{"Aedes albopictus"});
    ASSERT_EQ(plan.set.points.size(), 15u);
    EXPECT_EQ(plan.set.points.back().number, 16) << "a lone CR ends a line";
    EXPECT_EQ(plan.sample.rows.size(), static_cast<std::size_t>(kSampleRows));

    const std::unique_ptr<PointTable> owned = newTable();
    PointTable& table = *owned;
    std::vector<QString> before;
    for (int c = 0; c < table.ColCount(); ++c) {
        for (int r = 0; r < table.RowCount(); ++r) {
            before.push_back(table.cell(c, r));
        }
    }
    ImportChoices choices;
    choices.offMap = OffMap::Drop;
    choices.scope = OffMapScope::BothMaps;
    choices.onMap = [](double lat, double lon) {
        return (lat > 40 && lon > 125) || (lat > 8 && lat < 24 && lon > 102 && lon < 110);
    };
    ImportReport report;
    const ImportResult result = applyImport(plan, choices, table, report);
    EXPECT_EQ(result.leftOffMap, 15);
    EXPECT_EQ(result.lines, QStringList{"Точки вне обеих карт не вставлены: 15."});
    std::vector<QString> after;
    for (int c = 0; c < table.ColCount(); ++c) {
        for (int r = 0; r < table.RowCount(); ++r) {
            after.push_back(table.cell(c, r));
        }
    }
    EXPECT_EQ(after, before) << "not even the group's name goes into a header";
}

// The report hears of every record in the order of the file, and a point off the map is quoted by
// its group; where each group went follows.
TEST(ApplyImport, TellsTheReportOfEveryRecordInTurn) {
    const ImportPlan plan =
        planImport(fixture("gbif-simple.tsv"), QStringLiteral("gbif.tsv"), {}, *newTable());
    const std::unique_ptr<PointTable> owned = newTable();
    PointTable& table = *owned;
    ImportReport report;
    QStringList heard;
    report.setUnreadSink([&](const UnreadRecord& r) { heard << ImportReport::unreadLine(r); });
    report.setOutsideSink([&](const OutsidePoint& p) { heard << ImportReport::outsideLine(p); });
    ImportChoices choices;
    choices.onMap = [](double lat, double) { return lat > 45; };  // the north alone
    report.setPictureCheck(choices.onMap);
    const ImportResult result = applyImport(plan, choices, table, report);
    ASSERT_EQ(heard.size(), 4);
    EXPECT_EQ(heard[0], QStringLiteral("Строка 2: точка 43.115500, 131.885500 вне карты — "
                                       "«Parnassius stubbendorfii»"));
    EXPECT_EQ(heard[1], QStringLiteral("Строка 3: точка 43.090600, 131.556700 вне карты — "
                                       "«Papilio maackii»"));
    EXPECT_TRUE(heard[2].startsWith(
        QStringLiteral("Строка 4: нет координат — «4011000003 | 50c9509d-22c7-4a22")));
    EXPECT_TRUE(heard[3].startsWith(
        QStringLiteral("Строка 6: не указана группа: столбец «species» пуст — «")));
    EXPECT_EQ(report.summary(),
              QStringLiteral("Прочитано строк с точками: 3, без точки: 2. Вне карты: 2."));
    EXPECT_EQ(result.lines,
              (QStringList{"Столбец 0 «Parnassius stubbendorfii» (круги залитые): 2 точки.",
                           "Столбец 1 «Papilio maackii» (круги полые): 1 точка."}));
    EXPECT_TRUE(plan.heading().startsWith(QStringLiteral("простая выгрузка GBIF")));
    EXPECT_EQ(result.leftOffMap, 0);
}

// Left out, the points off the map take no cell and are counted; the report still names each
// of them, quoted by its group or its line. Groups not chosen are neither put in nor counted.
TEST(ApplyImport, LeavesThePointsOffTheMapOutWhenAsked) {
    const QByteArray csv =
        "species,lat,lon\n"
        "A,48.5,135\n"
        "A,10.5,106\n"
        "B,49,136\n"
        "C,11,107\n";
    const ImportPlan plan = planImport(csv, "a.csv", {}, *newTable());
    const std::unique_ptr<PointTable> owned = newTable();
    PointTable& table = *owned;
    ImportReport report;
    ImportChoices choices;
    choices.groups = QStringList{"A", "B"};
    choices.offMap = OffMap::Drop;
    choices.onMap = [](double lat, double) { return lat > 45; };
    report.setPictureCheck(choices.onMap);
    const ImportResult result = applyImport(plan, choices, table, report);
    EXPECT_EQ(result.leftOffMap, 1);
    EXPECT_EQ(table.cell(0, 0), QStringLiteral("A"));
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("48.500000, 135.000000"));
    EXPECT_EQ(table.cell(0, 2), QString());
    EXPECT_EQ(table.cell(1, 1), QStringLiteral("49.000000, 136.000000"));
    EXPECT_EQ(result.lines.last(), QStringLiteral("Точки вне карты не вставлены: 1."));
    ASSERT_EQ(report.outside().size(), 1u);
    EXPECT_EQ(report.outside()[0].number, 3);
    EXPECT_EQ(report.outside()[0].text, QStringLiteral("A"));
    EXPECT_EQ(report.readCount(), 3);

    // Lines of coordinates go into the column chosen, quoted by their lines.
    const ImportPlan lines = planImport("48.5 135\n\n10.5 106\njunk\n", "l.txt", {}, *newTable());
    ASSERT_EQ(lines.kind, ImportKind::Lines);
    ImportReport linesReport;
    linesReport.setPictureCheck(choices.onMap);
    ImportChoices intoColumn;
    intoColumn.column = 4;
    intoColumn.offMap = OffMap::Drop;
    intoColumn.onMap = choices.onMap;
    const ImportResult placed = applyImport(lines, intoColumn, table, linesReport);
    EXPECT_EQ(table.cell(4, 1), QStringLiteral("48.500000, 135.000000"));
    EXPECT_EQ(table.cell(4, 2), QString());
    EXPECT_EQ(placed.lines, QStringList{"Точки вне карты не вставлены: 1."});
    ASSERT_EQ(linesReport.outside().size(), 1u);
    EXPECT_EQ(linesReport.outside()[0].text, QStringLiteral("10.5 106"));
    EXPECT_EQ(linesReport.outside()[0].number, 3);
    ASSERT_EQ(linesReport.unread().size(), 1u);
    EXPECT_EQ(linesReport.unread()[0].number, 4);

    // Kept, they go in like the others.
    ImportReport kept;
    choices.offMap = OffMap::Keep;
    const ImportResult all = applyImport(plan, choices, table, kept);
    EXPECT_EQ(all.leftOffMap, 0);
    EXPECT_EQ(table.cell(0, 3), QStringLiteral("10.500000, 106.000000"));

    const ImportPlan refused = planImport("", "e.csv", {}, *newTable());
    EXPECT_THROW(applyImport(refused, choices, table, kept), ZelkoraError);
}

}  // namespace

}  // namespace zelkora
