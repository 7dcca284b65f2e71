// Each format read from a small fixture through readOccurrences, as the command line and the
// window read a file: its points with their groups and record numbers, and the records that gave
// none with their reasons.
#include <gtest/gtest.h>

#include "common/ZelkoraError.h"
#include "records/OccurrenceFormats.h"
#include "tests/records/RecordsFixtures.h"
#include "tests/table/QtPrinters.h"

namespace zelkora {

namespace {

struct ReadCase {
    const char* name;
    const char* fixture;
    QString fileName;  // the name the file is read under, for its extension
    ReadOptions options;
    QStringList points;
    QStringList unread;
    QString described;  // a piece of the description
};

ReadOptions tracks() {
    ReadOptions o;
    o.tracks = true;
    return o;
}

ReadOptions groupBy(const char* name) {
    ReadOptions o;
    o.groupBy = QLatin1String(name);
    return o;
}

ReadOptions ungrouped() {
    ReadOptions o;
    o.ungrouped = true;
    return o;
}

ReadOptions format(const char* name) {
    ReadOptions o;
    o.format = QLatin1String(name);
    return o;
}

class ReadFixture : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadFixture, GivesEveryRecordAPointOrAReason) {
    const ReadCase& c = GetParam();
    const std::optional<OccurrenceSet> set =
        readOccurrences(fixture(c.fixture), c.fileName, c.options);
    ASSERT_TRUE(set.has_value());
    EXPECT_EQ(pointLines(*set), c.points);
    EXPECT_EQ(unreadLines(*set), c.unread);
    EXPECT_TRUE(set->description.contains(c.described)) << set->description.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ReadFixture,
    testing::Values(
        // Quotes are text in GBIF's files: the unclosed one of line 3 swallows nothing.
        ReadCase{"GbifSimple",
                 "gbif-simple.tsv",
                 "0001234-240101.csv",
                 {},
                 {"Parnassius stubbendorfii: 43.115500, 131.885500 @2",
                  "Papilio maackii: 43.090600, 131.556700 @3",
                  "Parnassius stubbendorfii: 48.250100, 134.812300 @5"},
                 {"4: нет координат", "6: не указана группа: столбец «species» пуст"},
                 "простая выгрузка GBIF, разделитель табуляция, кодировка UTF-8"},
        ReadCase{"DarwinCoreArchive",
                 "dwca-occurrence.txt",
                 "occurrence.txt",
                 {},
                 {"Garrulax milleti: 12.182100, 108.675500 @2",
                  "Pycnonotus jocosus: 21.066700, 105.366700 @3"},
                 {"4: широта 121.0667 вне пределов ±90°"},
                 "occurrence.txt архива Darwin Core"},
        ReadCase{"Cp1251SemicolonsDecimalCommas",
                 "species-cp1251.csv",
                 "находки.csv",
                 {},
                 {"Желна: 48.480200, 135.071900 @2", "Желна: 46.800000, 134.250000 @3",
                  "Дятел белоспинный: 43.350000, 133.900000 @4"},
                 {},
                 "CSV, разделитель «;», кодировка CP1251"},
        ReadCase{"QuotedFieldsUtf8Bom",
                 "quoted-bom.csv",
                 "q.csv",
                 {},
                 {"Aus bus: 43.100000, 131.900000 @2", "Cus dus: 48.500000, 135.250000 @3",
                  "Aus bus: 44.000000, 132.000000 @5"},
                 {},
                 "кодировка UTF-8 с BOM"},
        ReadCase{"BadRowInTheMiddle",
                 "bad-row.tsv",
                 "bad-row.tsv",
                 {},
                 {"Aus bus: 43.100000, 131.900000 @2", "Cus dus: 48.500000, 135.250000 @4"},
                 {"3: широта «fourty-three» и долгота «131.9» не читаются: в строке только одна "
                  "координата, нужны широта и долгота"},
                 "разделитель табуляция"},
        ReadCase{"GpxWaypoints",
                 "waypoints.gpx",
                 "track.gpx",
                 {},
                 {"-: 48.480200, 135.071900 @4", "-: -43.500000, 172.600000 @10"},
                 {"13: широта 95 вне пределов ±90°", "16: нет широты"},
                 "GPX, путевые точки"},
        ReadCase{"GpxWithTrackPoints",
                 "waypoints.gpx",
                 "track.gpx",
                 tracks(),
                 {"-: 48.480200, 135.071900 @4", "-: -43.500000, 172.600000 @10",
                  "-: 48.481000, 135.073100 @22", "-: 48.481500, 135.074400 @23"},
                 {"13: широта 95 вне пределов ±90°", "16: нет широты"},
                 "точки треков"},
        // A property named by --group-by groups waypoints; one without it is no record of a
        // group, and is said so.
        ReadCase{"GpxGroupedByANamedProperty",
                 "waypoints.gpx",
                 "track.gpx",
                 groupBy("sym"),
                 {"Flag, Blue: 48.480200, 135.071900 @4"},
                 {"10: не указана группа: нет свойства «sym»", "13: широта 95 вне пределов ±90°",
                  "16: нет широты"},
                 "группы по свойству «sym»"},
        ReadCase{"KmlFoldersAreGroups",
                 "placemarks.kml",
                 "finds.kml",
                 {},
                 {"Dendrocopos leucotos: 46.800000, 134.250000 @7",
                  "Dendrocopos leucotos: 43.350000, 133.900000 @11",
                  "Dryocopus martius: 48.480200, 135.071900 @20"},
                 {"25: не точка (LineString): берутся только точки",
                  "29: координаты «north» не читаются: нужно «долгота,широта»"},
                 "группы по свойству «folder»"},
        ReadCase{"GeoJsonPointsAndMultiPoints",
                 "features.geojson",
                 "f.geojson",
                 {},
                 {"Aus bus: 43.115500, 131.885500 @4", "Cus dus: 48.480000, 135.070000 @6",
                  "Cus dus: 46.800000, 134.250000 @6"},
                 {"8: не точка (LineString): берутся только Point и MultiPoint",
                  "10: нет геометрии", "11: не указана группа: нет свойства «taxon»"},
                 "группы по свойству «taxon»"},
        ReadCase{
            "GeoJsonUngrouped",
            "features.geojson",
            "f.geojson",
            ungrouped(),
            {"-: 43.115500, 131.885500 @4", "-: 48.480000, 135.070000 @6",
             "-: 46.800000, 134.250000 @6", "-: 10.500000, 106.700000 @11"},
            {"8: не точка (LineString): берутся только Point и MultiPoint", "10: нет геометрии"},
            "GeoJSON"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

// The format comes from the content before the name: a GPX saved as .txt is read as GPX, a .gpx
// that holds no GPX says so, and a table without coordinate columns is lines of coordinates.
TEST(ReadOccurrences, FormatFromContentThenName) {
    const QByteArray gpx = fixture("waypoints.gpx");
    EXPECT_EQ(readOccurrences(gpx, QStringLiteral("export.txt"), {})->points.size(), 2u);
    EXPECT_FALSE(readOccurrences("43.1 131.9\n48.5 135.2\n", QStringLiteral("p.txt"), {}));
    EXPECT_FALSE(readOccurrences("lat;lon\n43;131\n", QStringLiteral("p.csv"), format("text")));

    const auto error = [](const QByteArray& bytes, const QString& name, ReadOptions o = {}) {
        try {
            readOccurrences(bytes, name, o);
        } catch (const ZelkoraError& e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(error("lat,lon\n1,2\n", QStringLiteral("p.gpx")),
              QStringLiteral("Файл не читается как GPX: в нём нет разметки XML"));
    EXPECT_EQ(error("<kml><Placemark>", QStringLiteral("x.kml"), format("gpx")),
              QStringLiteral("Это не файл GPX: его первый элемент — «kml», а не «gpx»"));
    EXPECT_EQ(
        error("{\"type\": \"FeatureCollection\",\n \"features\": [}", QStringLiteral("f.json")),
        QStringLiteral("Файл не читается как GeoJSON: ошибка JSON в строке 2"));
    EXPECT_EQ(error("a;b\n1;2\n", QStringLiteral("p.csv"), format("csv")),
              QStringLiteral("В заголовке не найдены столбцы координат (есть: «a», «b»). Назовите "
                             "их параметрами --lat ИМЯ --lon ИМЯ или --coords ИМЯ"));
    EXPECT_TRUE(error("lat,lon\n", QStringLiteral("p.csv"), format("xls"))
                    .startsWith(QStringLiteral("Неизвестный формат «xls»")));
    EXPECT_TRUE(error("PK\x03\x04zip", QStringLiteral("doc.kmz")).contains(QStringLiteral("ZIP")));
}

// Coordinates in other notations go through the normaliser; a record takes its point from the
// first coordinate columns that are not empty in it.
TEST(ReadOccurrences, CoordinateColumnsInTurn) {
    const QByteArray csv =
        "species,decimalLatitude,decimalLongitude,verbatimLatitude,verbatimLongitude,"
        "verbatimCoordinates\n"
        "A,43.5,131.25,,,\n"
        "A,,,\"43°30'N\",\"131°15'E\",\n"
        "A,,,,,43°30′00″N 131°15′00″E\n"
        "A,,,\"abc\",\"def\",\n"
        "A,-91,10,,,\n"
        "A,,,,,\n";
    const std::optional<OccurrenceSet> set = readOccurrences(csv, QStringLiteral("v.csv"), {});
    ASSERT_TRUE(set);
    EXPECT_EQ(pointLines(*set),
              (QStringList{"A: 43.500000, 131.250000 @2", "A: 43.500000, 131.250000 @3",
                           "A: 43.500000, 131.250000 @4"}));
    EXPECT_EQ(unreadLines(*set),
              (QStringList{"5: широта «abc» и долгота «def» не читаются: в строке нет координат",
                           "6: широта -91 вне пределов ±90°", "7: нет координат"}));
}

// Too many fields means a separator inside an unquoted value: the record is refused rather than
// read from shifted columns, which could give a wrong point.
TEST(ReadOccurrences, ShiftedRecordIsRefused) {
    const QByteArray csv =
        "species,locality,count,lat,lon\n"
        "A,Khabarovsk, Russia,3,48.5,135.1\n"
        "A,Khabarovsk,3,48.5,135.1,,\n";
    const std::optional<OccurrenceSet> set = readOccurrences(csv, QStringLiteral("s.csv"), {});
    ASSERT_TRUE(set);
    EXPECT_EQ(pointLines(*set), QStringList{"A: 48.500000, 135.100000 @3"});
    EXPECT_EQ(unreadLines(*set),
              QStringList{"2: полей 6, а в заголовке 5: разделитель «,» внутри значения без "
                          "кавычек?"});
}

}  // namespace

}  // namespace zelkora
