// Writing and reading a map's GeoPackage: exact round trips, the same bytes for the same map, a
// file GDAL opens and one GDAL writes, and hostile files refused with a message that says why.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "common/ZelkoraError.h"
#include "tests/support/TestFiles.h"
#include "tests/vectormap/VectorMapSample.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

namespace {

const QString kSample = QStringLiteral(ZELKORA_FIXTURES_DIR "/sample.gpkg");

// The message of the ZelkoraError that body throws; fails the test when it throws none.
std::string errorOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const ZelkoraError& e) {
        return e.what();
    }
    ADD_FAILURE() << "no error";
    return {};
}

// Runs a program and returns its standard output; standard error goes to err.
QByteArray run(const QString& program, const QStringList& args, QByteArray* err = nullptr) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForStarted()) << program.toStdString() << " does not start";
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    if (err) {
        *err = p.readAllStandardError();
    }
    return p.readAllStandardOutput();
}

class VectorMapFile : public testing::Test {
  protected:
    QTemporaryDir dir_;

    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
};

TEST_F(VectorMapFile, SampleMapGivesTheFixtureBytesAndReadsBackExactly) {
    // The fixture was written by saveVectorMap; any change to the bytes (a time stamp, a page
    // size, a schema) shows here. After a deliberate change, copy the new file over it.
    const QString out = path("sample.gpkg");
    saveVectorMap(sampleVectorMap(), out);
    const QByteArray written = readBytes(out);
    if (written != readBytes(kSample)) {
        dir_.setAutoRemove(false);
        ADD_FAILURE() << "the bytes differ from the fixture; the new file is kept as "
                      << out.toStdString();
    }
    EXPECT_EQ(vectorMapDifference(loadVectorMap(out), sampleVectorMap()), "");
    EXPECT_EQ(vectorMapDifference(loadVectorMap(kSample), sampleVectorMap()), "");

    // The SQLite header: page size 4096, "GPKG", GeoPackage 1.3.0.
    ASSERT_GE(written.size(), 100);
    const auto be = [&](int at, int n) {
        quint32 v = 0;
        for (int i = 0; i < n; ++i) {
            v = v << 8 | static_cast<quint8>(written[at + i]);
        }
        return v;
    };
    EXPECT_EQ(be(16, 2), 4096u);
    EXPECT_EQ(written.mid(68, 4), QByteArray("GPKG"));
    EXPECT_EQ(be(60, 4), 10300u);
    EXPECT_EQ(written.size() % 4096, 0);

    // Saved again over itself: the same bytes.
    saveVectorMap(sampleVectorMap(), out);
    EXPECT_TRUE(readBytes(out) == written);
}

TEST_F(VectorMapFile, EmptyLayersRoundTrip) {
    const QString out = path("empty.gpkg");
    saveVectorMap(VectorMap{}, out);
    EXPECT_TRUE(loadVectorMap(out).empty());
}

TEST_F(VectorMapFile, MapFileSitsInTheNormalResolutionFolder) {
    EXPECT_EQ(vectorMapPath(QStringLiteral("/data/"), QStringLiteral("Дальний Восток")),
              QStringLiteral("/data/maps/Dalniy_Vostok/vector.gpkg"));
    EXPECT_EQ(vectorMapPath(QStringLiteral("/data/"), QStringLiteral("Вьетнам")),
              QStringLiteral("/data/maps/Vetnam/vector.gpkg"));
}

// GDAL reads every layer with its type, count and extent, x being the longitude, and finds
// nothing to warn about.
TEST_F(VectorMapFile, GdalOpensItAsAGeoPackage) {
    QByteArray err;
    const QString summary = QString::fromUtf8(
        run(QStringLiteral("ogrinfo"),
            {QStringLiteral("-ro"), QStringLiteral("-so"), QStringLiteral("-al"), kSample}, &err));
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("using driver `GPKG' successful")));
    struct Layer {
        const char* name;
        const char* geometry;
        int count;
        const char* extent;
    };
    const Layer layers[] = {
        {"areas", "Polygon", 3, "Extent: (170.000000, 60.000000) - (195.000000, 70.123457)"},
        {"shores", "Line String", 2, "Extent: (170.000000, 60.000000) - (195.000000, 64.000000)"},
        {"rivers", "Line String", 3, "Extent: (171.000000, 63.100000) - (190.350000, 69.000000)"},
        {"divisions", "Line String", 1,
         "Extent: (178.000000, 61.000000) - (179.000000, 69.000000)"},
        {"borders", "Line String", 1, "Extent: (131.000000, 43.115512) - (131.885510, 44.000000)"},
    };
    const QStringList blocks = summary.split(QStringLiteral("Layer name: "));
    ASSERT_EQ(blocks.size(), 6) << summary.toStdString();
    for (std::size_t i = 0; i < std::size(layers); ++i) {
        const Layer& l = layers[i];
        SCOPED_TRACE(l.name);
        const QString& block = blocks[static_cast<int>(i) + 1];
        EXPECT_TRUE(block.startsWith(QString::fromLatin1(l.name) + '\n'));
        EXPECT_TRUE(block.contains(QStringLiteral("Geometry: ") + l.geometry));
        EXPECT_TRUE(block.contains(QStringLiteral("Feature Count: %1").arg(l.count)));
        EXPECT_TRUE(block.contains(QString::fromLatin1(l.extent))) << block.toStdString();
        EXPECT_TRUE(block.contains(QStringLiteral("ID[\"EPSG\",4326]")));
        EXPECT_TRUE(block.contains(QStringLiteral("level: Integer")));
    }
    const QString line = QString::fromUtf8(
        run(QStringLiteral("ogrinfo"),
            {QStringLiteral("-ro"), QStringLiteral("-q"), kSample, QStringLiteral("borders")}));
    EXPECT_TRUE(
        line.contains(QStringLiteral("LINESTRING (131.885509876543 43.1155123456789,131 44)")))
        << line.toStdString();
}

// The tables a map may lack: named divisions of now and of 2008, the boundaries of 2008 and the
// countries, read back exactly; a file written before them reads as a map without them.
TEST_F(VectorMapFile, NamedAreasRoundTripAndAnOlderFileHasNone) {
    const QString out = path("named.gpkg");
    saveVectorMap(sampleNamedVectorMap(), out);
    const VectorMap read = loadVectorMap(out);
    EXPECT_EQ(vectorMapDifference(read, sampleNamedVectorMap()), "");
    ASSERT_EQ(read.divisionAreas.size(), 2u);
    EXPECT_EQ(read.divisionAreas[0].name, QStringLiteral("Hồ Chí Minh"));
    EXPECT_TRUE(read.divisionAreas[0].validTo.isNull());
    EXPECT_EQ(read.divisionAreas2008[1].validTo, QDate(2025, 6, 30));

    const VectorMap older = loadVectorMap(kSample);
    EXPECT_TRUE(older.divisionAreas.empty() && older.divisions2008.empty() &&
                older.divisionAreas2008.empty() && older.countries.empty());
}

// GDAL sees the named tables as layers of multipolygons with their names, dates and label
// points as fields.
TEST_F(VectorMapFile, GdalReadsTheNamedAreas) {
    const QString out = path("named.gpkg");
    saveVectorMap(sampleNamedVectorMap(), out);
    QByteArray err;
    const QString summary = QString::fromUtf8(
        run(QStringLiteral("ogrinfo"),
            {QStringLiteral("-ro"), QStringLiteral("-so"), QStringLiteral("-al"), out}, &err));
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    for (const char* expected :
         {"Layer name: divisions_2008", "Layer name: division_areas_2008", "Layer name: countries",
          "Geometry: Multi Polygon", "valid_from: Date", "label_lat: Real", "name_ru: String"}) {
        EXPECT_TRUE(summary.contains(QString::fromLatin1(expected))) << expected;
    }
    const QString rows = QString::fromUtf8(
        run(QStringLiteral("ogrinfo"),
            {QStringLiteral("-ro"), QStringLiteral("-q"), out, QStringLiteral("-sql"),
             QStringLiteral("SELECT name, valid_to FROM division_areas_2008")}));
    EXPECT_TRUE(rows.contains(QStringLiteral("name (String) = Bà Rịa – Vũng Tàu")))
        << rows.toStdString();
    EXPECT_TRUE(rows.contains(QStringLiteral("valid_to (Date) = 2025/06/30")));
}

TEST_F(VectorMapFile, RefusesToWriteNamedAreasThatCouldNotBeReadBack) {
    struct Case {
        const char* name;
        std::function<void(VectorMap&)> spoil;
        const char* message;
    };
    const Case cases[] = {
        {"no name", [](VectorMap& m) { m.divisionAreas[1].name = QStringLiteral(" "); },
         "объект 2 слоя «division_areas»: нет названия"},
        {"no Russian name", [](VectorMap& m) { m.countries[0].nameRu.clear(); },
         "слоя «countries»: нет названия"},
        {"label off the Earth", [](VectorMap& m) { m.divisionAreas2008[0].label.lat = -95; },
         "точка подписи: широта -95"},
        {"no polygons", [](VectorMap& m) { m.countries[0].polygons.clear(); },
         "у области нет многоугольников"},
        {"open ring", [](VectorMap& m) { m.divisionAreas[1].polygons[0][1].back().lon += 0.5; },
         "контур не замкнут"},
        {"ends before it starts",
         [](VectorMap& m) { m.divisionAreas2008[1].validTo = QDate(2008, 7, 31); },
         "конец срока раньше его начала"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VectorMap map = sampleNamedVectorMap();
        c.spoil(map);
        const QString out = path("refused.gpkg");
        const std::string message = errorOf([&] { saveVectorMap(map, out); });
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
        EXPECT_FALSE(QFile::exists(out));
    }
}

// Named tables spoiled after writing are refused on reading, each with its reason.
TEST_F(VectorMapFile, RefusesDamagedNamedAreas) {
    struct Case {
        const char* sql;
        const char* message;
    };
    const Case cases[] = {
        {"UPDATE division_areas SET label_lat = 'север' WHERE fid = 1",
         "объект 1 слоя «division_areas»: точка подписи не число"},
        {"UPDATE countries SET label_lon = 400", "точка подписи: долгота 400"},
        {"UPDATE division_areas_2008 SET name = '' WHERE fid = 2",
         "объект 2 слоя «division_areas_2008»: нет значения «name»"},
        {"UPDATE division_areas SET valid_from = '1 июля' WHERE fid = 1",
         "«valid_from» не дата: 1 июля"},
        {"UPDATE division_areas SET geom = (SELECT geom FROM divisions) WHERE fid = 2",
         "линия вместо многоугольника"},
        {"UPDATE division_areas_2008 SET valid_to = '2008-07-31' WHERE fid = 1",
         "объект 1 слоя «division_areas_2008»: конец срока раньше его начала"},
        {"ALTER TABLE countries DROP COLUMN name_ru", "у слоя «countries» нет столбца name_ru"},
        {"UPDATE divisions_2008 SET level = 11", "слоя «divisions_2008»: уровень 11 вне пределов"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        const QString file = path("damaged.gpkg");
        saveVectorMap(sampleNamedVectorMap(), file);
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
        char* error = nullptr;
        const int rc = sqlite3_exec(db, c.sql, nullptr, nullptr, &error);
        const std::string why = error ? error : "";
        sqlite3_free(error);
        sqlite3_close(db);
        ASSERT_EQ(rc, SQLITE_OK) << why;
        const std::string message = errorOf([&] { loadVectorMap(file); });
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
    }
}

// A GeoPackage that GDAL writes (multi-geometries, a spatial index with its triggers and
// virtual tables, GDAL's own tables) reads as the same map.
TEST_F(VectorMapFile, ReadsTheSameMapFromAFileGdalWrote) {
    const QString out = path("gdal.gpkg");
    run(QStringLiteral("ogr2ogr"),
        {QStringLiteral("-f"), QStringLiteral("GPKG"), QStringLiteral("-nlt"),
         QStringLiteral("PROMOTE_TO_MULTI"), out, kSample});
    const VectorMap map = loadVectorMap(out);
    EXPECT_EQ(vectorMapDifference(map, sampleVectorMap()), "");
}

TEST_F(VectorMapFile, RefusesToWriteWhatCouldNotBeReadBack) {
    struct Case {
        const char* name;
        std::function<void(VectorMap&)> spoil;
        const char* message;
    };
    const Case cases[] = {
        {"open ring", [](VectorMap& m) { m.areas[1].rings[0].back().lat += 0.5; },
         "объект 2 слоя «areas»: контур не замкнут"},
        {"ring of three points",
         [](VectorMap& m) {
             m.areas[0].rings[1] = {{1, 2}, {3, 4}, {1, 2}};
         },
         "в контуре меньше четырёх точек"},
        {"area without rings", [](VectorMap& m) { m.areas[2].rings.clear(); },
         "у многоугольника нет контура"},
        {"line of one point", [](VectorMap& m) { m.rivers[1].points.resize(1); },
         "объект 2 слоя «rivers»: в линии меньше двух точек"},
        {"no number",
         [](VectorMap& m) {
             m.borders[0].points[1].lon = std::numeric_limits<double>::quiet_NaN();
         },
         "не число"},
        {"latitude past the pole", [](VectorMap& m) { m.divisions[0].points[2].lat = 91; },
         "широта 91 вне пределов ±90°"},
        {"area level 0", [](VectorMap& m) { m.areas[0].level = 0; }, "уровень 0 вне пределов 1-4"},
        {"shore level 5", [](VectorMap& m) { m.shores[0].level = 5; }, "уровень 5 вне пределов"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VectorMap map = sampleVectorMap();
        c.spoil(map);
        const QString out = path("refused.gpkg");
        EXPECT_NE(errorOf([&] { saveVectorMap(map, out); }).find(c.message), std::string::npos);
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST_F(VectorMapFile, WriteFailureNamesTheFileAndKeepsTheOldOne) {
    const std::string missing =
        errorOf([&] { saveVectorMap(sampleVectorMap(), path("no-such-folder/vector.gpkg")); });
    EXPECT_NE(missing.find("Не удалось записать файл «"), std::string::npos) << missing;
    EXPECT_NE(missing.find("no-such-folder/vector.gpkg»"), std::string::npos) << missing;

    const QString out = path("old.gpkg");
    saveVectorMap(sampleVectorMap(), out);
    const QByteArray old = readBytes(out);
    VectorMap big = sampleVectorMap();
    for (int i = 0; i < 20000; ++i) {
        big.rivers.push_back(
            {{{.lat = 50.0 + i * 1e-4, .lon = 130.0}, {.lat = 50.0, .lon = 131}}, 2});
    }
    withFileSizeLimit(static_cast<std::size_t>(old.size()) + 4096,
                      [&] { EXPECT_NE(errorOf([&] { saveVectorMap(big, out); }), ""); });
    EXPECT_TRUE(readBytes(out) == old);
}

// A file of a hostile or broken kind: built from the sample by SQL and by changing its bytes.
struct Hostile {
    const char* name;
    const char* sql;                         // run on a copy of the sample first, or nullptr
    std::function<void(QByteArray&)> bytes;  // then applied to the file's bytes, or empty
    const char* message;                     // a part of the error's message
};

void PrintTo(const Hostile& h, std::ostream* os) {
    *os << h.name;
}

class HostileFile : public testing::TestWithParam<Hostile> {};

TEST_P(HostileFile, IsRefusedWithAMessageThatSaysWhy) {
    const Hostile& h = GetParam();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("map.gpkg"));
    writeBytes(file, readBytes(kSample));
    if (h.sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
        char* error = nullptr;
        const int rc = sqlite3_exec(db, h.sql, nullptr, nullptr, &error);
        const std::string why = error ? error : "";
        sqlite3_free(error);
        sqlite3_close(db);
        ASSERT_EQ(rc, SQLITE_OK) << why;
    }
    if (h.bytes) {
        QByteArray bytes = readBytes(file);
        h.bytes(bytes);
        writeBytes(file, bytes);
    }
    const std::string message = errorOf([&] { loadVectorMap(file); });
    EXPECT_NE(message.find(h.message), std::string::npos) << message;
    EXPECT_NE(message.find(file.toStdString()), std::string::npos) << message;
}

// Offsets in the blob of a line: the GP header (8 bytes) and envelope (32), then the WKB's byte
// order (40), type (41) and point count (45); the last 8 bytes are the last latitude.
INSTANTIATE_TEST_SUITE_P(
    Cases, HostileFile,
    testing::Values(
        Hostile{"empty", nullptr, [](QByteArray& b) { b.clear(); },
                "не является файлом GeoPackage"},
        Hostile{"text", nullptr, [](QByteArray& b) { b = "lat,lon\n43.1,131.9\n"; },
                "не является файлом GeoPackage"},
        Hostile{"plain SQLite", "PRAGMA application_id = 0", {}, "база данных SQLite, но не"},
        Hostile{"cut in half", nullptr, [](QByteArray& b) { b.truncate(b.size() / 2); },
                "повреждён: база данных в нём не читается"},
        Hostile{"schema page wiped", nullptr,
                [](QByteArray& b) { b.replace(100, 3996, QByteArray(3996, '\0')); }, "повреждён"},
        Hostile{
            "no rivers", "DROP TABLE rivers", {}, "нет векторных данных карты: нет слоя «rivers»"},
        Hostile{"no gpkg_contents", "DROP TABLE gpkg_contents", {}, "нет таблицы gpkg_contents"},
        Hostile{"layer left out of gpkg_contents",
                "DELETE FROM gpkg_contents WHERE table_name = 'borders'",
                {},
                "слоя «borders» нет в таблице gpkg_contents"},
        Hostile{"endless view",
                "DROP TABLE rivers; CREATE VIEW rivers AS WITH RECURSIVE n(i) AS (SELECT 1 UNION "
                "ALL SELECT i + 1 FROM n) SELECT i AS fid, NULL AS geom, i AS level FROM n",
                {},
                "«rivers» не таблица"},
        Hostile{"virtual table",
                "DROP TABLE rivers; CREATE VIRTUAL TABLE rivers USING rtree(fid, a, b, c, d)",
                {},
                "слой «rivers» — виртуальная таблица"},
        Hostile{"generated level",
                "DROP TABLE shores; CREATE TABLE shores (fid INTEGER PRIMARY KEY, geom "
                "LINESTRING, n INTEGER, level INTEGER GENERATED ALWAYS AS (n + 1))",
                {},
                "столбец «level» слоя «shores» вычисляется"},
        Hostile{"level with a default",
                "ALTER TABLE borders RENAME COLUMN level TO old; ALTER TABLE borders ADD COLUMN "
                "level INTEGER DEFAULT 1",
                {},
                "слоя «borders» вычисляется"},
        Hostile{"no level column",
                "ALTER TABLE divisions RENAME COLUMN level TO rank",
                {},
                "у слоя «divisions» нет столбца level"},
        Hostile{"Web Mercator",
                "INSERT INTO gpkg_spatial_ref_sys VALUES ('Pseudo-Mercator', 3857, 'EPSG', 3857, "
                "'undefined', NULL); UPDATE gpkg_contents SET srs_id = 3857 WHERE table_name = "
                "'rivers'; UPDATE gpkg_geometry_columns SET srs_id = 3857 WHERE table_name = "
                "'rivers'",
                {},
                "слой «rivers» не в координатах WGS 84"},
        Hostile{"point layer",
                "UPDATE gpkg_geometry_columns SET geometry_type_name = 'POINT' WHERE table_name "
                "= 'rivers'",
                {},
                "в слое «rivers» геометрия POINT, а ожидались линии"},
        Hostile{"tiles",
                "UPDATE gpkg_contents SET data_type = 'tiles' WHERE table_name = 'areas'",
                {},
                "слой «areas» не векторный (tiles)"},
        Hostile{"cut geometry",
                "UPDATE rivers SET geom = substr(geom, 1, 60) WHERE fid = 2",
                {},
                "повреждён: объект 2 слоя «rivers»: геометрия обрывается"},
        Hostile{
            "two thousand million points",
            "UPDATE rivers SET geom = CAST(substr(geom, 1, 45) || x'FFFFFF7F' || substr(geom, 50) "
            "AS BLOB) WHERE fid = 1",
            {},
            "объект 1 слоя «rivers»: геометрия обрывается"},
        Hostile{"trailing bytes",
                "UPDATE borders SET geom = CAST(geom || x'00' AS BLOB)",
                {},
                "после геометрии лишние байты"},
        Hostile{
            "open ring",
            "UPDATE areas SET geom = CAST(substr(geom, 1, length(geom) - 8) || x'0000000000805140' "
            "AS BLOB) WHERE fid = 2",
            {},
            "объект 2 слоя «areas»: контур не замкнут"},
        Hostile{"no number",
                "UPDATE rivers SET geom = CAST(substr(geom, 1, length(geom) - 8) || "
                "x'000000000000F87F' "
                "AS BLOB) WHERE fid = 3",
                {},
                "объект 3 слоя «rivers»: координата точки не число"},
        Hostile{"latitude 100",
                "UPDATE rivers SET geom = CAST(substr(geom, 1, length(geom) - 8) || "
                "x'0000000000005940' "
                "AS BLOB) WHERE fid = 3",
                {},
                "широта 100 вне пределов ±90°"},
        Hostile{"area level 7",
                "UPDATE areas SET level = 7 WHERE fid = 1",
                {},
                "объект 1 слоя «areas»: уровень 7 вне пределов 1-4"},
        Hostile{"level as text",
                "UPDATE rivers SET level = 'один' WHERE fid = 1",
                {},
                "уровень level не целое число"},
        Hostile{"no geometry",
                "UPDATE borders SET geom = NULL",
                {},
                "объект 1 слоя «borders»: нет геометрии"},
        Hostile{"geometry as text",
                "UPDATE borders SET geom = 'LINESTRING (131 43, 132 44)'",
                {},
                "объект 1 слоя «borders»: геометрия записана не как BLOB"},
        Hostile{"a point",
                "UPDATE rivers SET geom = x'47500001E610000001010000000000000000006040"
                "0000000000004E40' WHERE fid = 1",
                {},
                "геометрия WKB типа 1, а не линии или многоугольники"},
        Hostile{"polygon among lines",
                "UPDATE shores SET geom = (SELECT geom FROM areas WHERE fid = 2) WHERE fid = 1",
                {},
                "объект 1 слоя «shores»: многоугольник вместо линии"},
        Hostile{
            "geometry in another system",
            "UPDATE borders SET geom = CAST(substr(geom, 1, 4) || x'110F0000' || substr(geom, 9) "
            "AS BLOB)",
            {},
            "геометрия в системе координат 3857"},
        Hostile{"bare WKB",
                "UPDATE divisions SET geom = x'010200000000000000'",
                {},
                "у геометрии нет заголовка GeoPackage"}),
    [](const auto& info) {
        std::string s = info.param.name;
        for (char& ch : s) {
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        }
        return s;
    });

// Found by fuzzing: SQLite reports this damaged schema as running out of memory.
TEST_F(VectorMapFile, DamageThatSqliteCallsOutOfMemoryIsDamage) {
    const std::string message = errorOf(
        [] { loadVectorMap(QStringLiteral(ZELKORA_FIXTURES_DIR "/schema-out-of-memory.gpkg")); });
    EXPECT_NE(message.find("повреждён: база данных в нём не читается (out of memory)"),
              std::string::npos)
        << message;
}

TEST_F(VectorMapFile, MissingFileOrFolderCannotBeOpened) {
    for (const QString& p : {path("missing.gpkg"), dir_.path()}) {
        const std::string message = errorOf([&] { loadVectorMap(p); });
        EXPECT_NE(message.find("Не удаётся открыть файл «"), std::string::npos) << message;
    }
}

// A database left in WAL mode by another program reads from its file alone.
TEST_F(VectorMapFile, ReadsAFileInWalMode) {
    QByteArray bytes = readBytes(kSample);
    bytes[18] = 2;
    bytes[19] = 2;
    const QString file = path("wal.gpkg");
    writeBytes(file, bytes);
    EXPECT_EQ(vectorMapDifference(loadVectorMap(file), sampleVectorMap()), "");
}

// Damage anywhere in the file: each byte of a sweep turned over either still reads or is refused
// with the user's message; nothing else may happen.
TEST_F(VectorMapFile, DamageAnywhereIsReadOrRefused) {
    const QByteArray good = readBytes(kSample);
    const QString file = path("damaged.gpkg");
    int refused = 0;
    for (qsizetype at = 0; at < good.size(); at += 37) {
        QByteArray bytes = good;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
        writeBytes(file, bytes);
        try {
            loadVectorMap(file);
        } catch (const ZelkoraError&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

}  // namespace

}  // namespace zelkora
