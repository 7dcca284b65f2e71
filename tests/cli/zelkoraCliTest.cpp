// zelkora-cli end to end: the commands as a script calls them, their output files and their
// failures. Every command-line test lives here.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "mapimage/DataPaths.h"
#include "mapimage/TPngImage.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestImages.h"
#include "tests/support/TestProcess.h"

namespace zelkora {

namespace {

using CliRun = ProcessRun;

CliRun cli(const QStringList& args, const QByteArray& input = {}) {
    return runProcess(QStringLiteral(ZELKORA_CLI), args, input);
}

// A small data folder of the program's layout: the Far East map at 60 x 40 with an opaque
// grey base and one half-transparent "Реки" layer, and a black square icon for type 0.
class CliData : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        data_ = dir_.path() + QLatin1Char('/');
        QDir().mkpath(mapFolderPath(data_, kMapCaptions[1], false));
        QDir().mkpath(QFileInfo(iconPath(data_, 0)).path());
        filled(60, 40, {200, 200, 200, 255})
            .SaveToFile(baseImagePath(data_, kMapCaptions[1], false));
        filled(60, 40, {0, 0, 255, 128})
            .SaveToFile(layerImagePath(data_, kMapCaptions[1], false, kLayerCaptions[1]));
        filled(8, 8, {0, 0, 0, 255}).SaveToFile(iconPath(data_, 0));
    }

    QString path(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }

    void writeTable(const QString& name, const QByteArray& cellOfColumn0Row1) {
        writeBytes(path(name), "9\r\n2\r\nh\r\n" + cellOfColumn0Row1 + "\r\n");
    }

    QTemporaryDir dir_;
    QString data_;
};

TEST(CliProject, PrintsNineDecimalsAndTakesNegativeNumbersAsCoordinates) {
    const CliRun run = cli({"project", "--map", "1", "--height", "3000", "50", "140"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList fields = run.out.trimmed().split(QLatin1Char(' '));
    ASSERT_EQ(fields.size(), 2);
    EXPECT_EQ(fields[0].section(QLatin1Char('.'), 1).size(), 9);
    EXPECT_NEAR(fields[0].toDouble(), 582.6600870, 1e-6);
    EXPECT_NEAR(fields[1].toDouble(), 2567.229511, 1e-6);

    const CliRun west = cli({"project", "--map", "1", "--height", "1660", "66", "-169.65"});
    const CliRun east = cli({"project", "--map", "1", "--height", "1660", "66", "190.35"});
    ASSERT_EQ(west.exitCode, 0) << west.err.toStdString();
    EXPECT_EQ(west.out, east.out);

    // No position rather than "nan nan" or the origin's.
    for (const char* lat : {"-90", "1e308"}) {
        const CliRun pole = cli({"project", "--map", "1", "--height", "1000", lat, "0"});
        EXPECT_EQ(pole.exitCode, 1) << lat;
        EXPECT_EQ(pole.out, QString()) << lat;
        EXPECT_EQ(pole.err,
                  QStringLiteral("Точку %1, 0 нельзя спроецировать на эту карту\n").arg(lat));
    }
}

// A mistake in the words (a missing, unknown or malformed option, an unknown command) is a usage
// error: status 2, with the usage after the message. A failure of the job itself is status 1.
TEST(CliUsage, MistakesExitWithTwoAndTheUsage) {
    const QList<QStringList> mistakes = {
        {},
        {"draw"},
        {"project", "--map", "2", "--height", "10", "1", "2"},
        {"project", "--map", "0", "1", "2"},
        {"project", "--map", "0", "--height", "10", "1"},
        {"project", "--map", "0", "--height", "10", "1", "x"},
        {"project", "--map", "0", "--height", "10", "nan", "1"},
        {"assemble", "--map", "0", "--layers", "1101", "--out", "x.png"},
        {"assemble", "--map", "0"},
        {"render", "--map", "0", "--out", "x.gif"},
        {"render", "--map", "0", "--out", "x.png", "--format", "tiff"},
        {"render", "--map", "0", "--out", "x.png", "--size", "big"},
        {"render", "--map", "0", "--out", "x.png", "--colour", "red"},
    };
    for (const QStringList& args : mistakes) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String("Usage: zelkora-cli")))
            << args.join(' ').toStdString() << "\n"
            << run.err.toStdString();
    }
    // What the messages quote is shown with its invisible characters written out.
    const CliRun tab = cli({"dr\taw"});
    EXPECT_TRUE(tab.err.startsWith(QStringLiteral("Неизвестная команда: dr\\u0009aw\n")))
        << tab.err.toStdString();
    const CliRun option = cli({"render", "--map", "1", "--out", "x.png", "--co\u200Blour"});
    EXPECT_TRUE(option.err.startsWith(QStringLiteral("Неизвестный параметр: --co\\u200Blour\n")))
        << option.err.toStdString();
}

// Both programs: the usage asked for is on standard output with status 0 and nothing on standard
// error; after a mistake it follows the message on standard error with status 2, and standard
// output stays empty. The window answers before it needs a display, so none is given.
TEST(CliUsage, HelpGoesToStandardOutputAndAMistakeToStandardError) {
    const QString cliUsage = QStringLiteral("Usage: zelkora-cli COMMAND");
    const QString windowUsage = QStringLiteral("[FILE.points | FILE...]");
    struct Case {
        QString program;
        QStringList args;
        int exitCode;
        bool onStandardOutput;
        QString usage;
        QString message;  // what the first line of standard error says, after a mistake
    };
    const QString cli = QStringLiteral(ZELKORA_CLI);
    const QString window = QStringLiteral(ZELKORA_WINDOW);
    const QList<Case> cases = {
        {cli, {"--help"}, 0, true, cliUsage, {}},
        {cli, {"-h"}, 0, true, cliUsage, {}},
        {cli, {"help"}, 0, true, cliUsage, {}},
        {cli, {"render", "--help"}, 0, true, cliUsage, {}},
        {cli, {"figure", "-h"}, 0, true, cliUsage, {}},
        {cli, {"normalize", "-h"}, 0, true, cliUsage, {}},
        {cli, {"import", "--table", "t.points", "--column", "0", "--help"}, 0, true, cliUsage, {}},
        {cli, {}, 2, false, cliUsage, {}},
        {cli, {"--frobnicate"}, 2, false, cliUsage, "Неизвестная команда: --frobnicate"},
        {cli, {"render", "--frobnicate"}, 2, false, cliUsage, "Неизвестный параметр: --frobnicate"},
        // After "--" a word is an argument, not an option.
        {cli, {"translit", "--", "--help"}, 2, false, cliUsage, "translit ждёт один текст"},
        {window, {"--help"}, 0, true, windowUsage, {}},
        {window, {"-h"}, 0, true, windowUsage, {}},
        {window, {"--frobnicate"}, 2, false, windowUsage, "frobnicate"},
        {window, {"t.points", "-x"}, 2, false, windowUsage, "x"},
    };
    for (const Case& c : cases) {
        const std::string name =
            (QFileInfo(c.program).fileName() + QLatin1Char(' ') + c.args.join(' ')).toStdString();
        // No display of any kind.
        const ProcessRun run = runProcess(QStringLiteral("/usr/bin/env"),
                                          QStringList{"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                                                      "-u", "QT_QPA_PLATFORM", c.program} +
                                              c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << name << "\n" << run.err.toStdString();
        const QString& usage = c.onStandardOutput ? run.out : run.err;
        const QString& other = c.onStandardOutput ? run.err : run.out;
        EXPECT_TRUE(usage.contains(c.usage)) << name << ": " << usage.toStdString();
        EXPECT_EQ(other, QString()) << name;
        if (!c.message.isEmpty()) {
            // The message comes first, on a line of its own, then the usage.
            EXPECT_TRUE(run.err.section(QLatin1Char('\n'), 0, 0).contains(c.message))
                << name << ": " << run.err.toStdString();
            EXPECT_GT(run.err.indexOf(c.usage), run.err.indexOf(QLatin1Char('\n'))) << name;
        }
    }
}

TEST(CliTranslit, PrintsTheFolderName) {
    const CliRun run = cli({"translit", "Дальний Восток"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QStringLiteral("Dalniy_Vostok\n"));
}

TEST(CliNormalize, PrintsTheLineInDecimalDegrees) {
    struct Case {
        const char* line;
        const char* printed;
    };
    const Case cases[] = {
        {" (43°07'04\"N - 131°28'23\"E)", "43.117778, 131.473056\n"},
        {"-33.5 -70.6", "-33.500000, -70.600000\n"},  // a line, not an option
    };
    for (const Case& c : cases) {
        const CliRun run = cli({"normalize", QString::fromUtf8(c.line)});
        EXPECT_EQ(run.exitCode, 0) << c.line << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, QString::fromUtf8(c.printed)) << c.line;
    }
}

// Appending to a table file, starting a missing one, and failing pastes that must leave the file
// as it was.
TEST(CliImport, InsertsIntoTheColumnAndKeepsTheFileOnFailure) {
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("t.points"));
    const QString lines = dir.filePath(QStringLiteral("lines.txt"));
    const QString bad = dir.filePath(QStringLiteral("bad.txt"));
    const QString fresh = dir.filePath(QStringLiteral("new.points"));
    // Three columns of four rows; column 1 already holds a point in row 1.
    writeBytes(table, "3\n4\nA\n\n\n\nB\n1, 2\n\n\nC\n\n\n\n");
    writeBytes(lines, " (53°56'27\"N 158°01'31\"E)\r\nno point\r43 146\n9 9");
    writeBytes(bad, "1 2\n1.2.3 4\n5 6\n");  // the second line gives no point, and is reported

    const CliRun run = cli({"import", "--table", table, "--column", "1", "--from", lines});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The fourth point finds the column full and grows the table by a row.
    const QByteArray imported =
        "3\r\n5\r\nA\r\n\r\n\r\n\r\n\r\nB\r\n1, 2\r\n53.940833, 158.025278\r\n43.000000, "
        "146.000000\r\n9.000000, 9.000000\r\nC\r\n\r\n\r\n\r\n\r\n";
    EXPECT_EQ(readBytes(table), imported);

    // A column the table lacks fails the whole import.
    const CliRun failed = cli({"import", "--table", table, "--column", "3", "--from", bad});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.startsWith(QStringLiteral("Точки нельзя вставить в столбец 3")))
        << failed.err.toStdString();
    EXPECT_EQ(readBytes(table), imported);

    EXPECT_EQ(cli({"import", "--table", fresh, "--column", "9", "--from", bad}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(fresh)) << "a failed import created its table file";
    EXPECT_EQ(cli({"import", "--table", fresh, "--column", "8", "--from", bad}).exitCode, 0);
    EXPECT_EQ(readBytes(fresh).left(7), QByteArray("9\r\n70\r\n"))
        << "counts of the new default table";
}

// A GBIF download into a new table: one column per species with its name in the header, and the
// report on standard error. With --map the points off that map are left out unless kept. Too
// many species fail with the list and leave the file as it was.
TEST(CliImport, DataFileByGroupsWithItsReport) {
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("t.points"));
    const QString gbif = QStringLiteral(ZELKORA_RECORDS_FIXTURES "gbif-simple.tsv");

    // On the Vietnam map every point of the file is off it: none goes in, no column is named.
    const QString dropped = dir.filePath(QStringLiteral("dropped.points"));
    const CliRun drop = cli({"import", "--table", dropped, "--from", gbif, "--map", "0"});
    ASSERT_EQ(drop.exitCode, 0) << drop.err.toStdString();
    EXPECT_TRUE(drop.err.endsWith(QStringLiteral(
        "\nТочки вне карты не вставлены: 3.\nПрочитано строк с точками: 3, без точки: 2. Вне "
        "карты: 3.\n")))
        << drop.err.toStdString();
    EXPECT_FALSE(drop.err.contains(QStringLiteral("Столбец"))) << drop.err.toStdString();
    EXPECT_TRUE(readBytes(dropped).startsWith("9\r\n70\r\n\xea\xf0\xf3\xe3\xe8"))
        << "the header stays the marker types' own";

    const CliRun run =
        cli({"import", "--table", table, "--from", gbif, "--map", "0", "--off-map", "keep"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList err = run.err.split(QLatin1Char('\n'));
    ASSERT_EQ(err.size(), 10) << run.err.toStdString();
    EXPECT_TRUE(err[0].startsWith(QStringLiteral("простая выгрузка GBIF, разделитель табуляция")));
    EXPECT_EQ(err[1], QStringLiteral("Строка 2: точка 43.115500, 131.885500 вне карты — "
                                     "«Parnassius stubbendorfii»"));
    EXPECT_TRUE(err[3].startsWith(QStringLiteral("Строка 4: нет координат — «4011000003 | ")));
    EXPECT_EQ(err.mid(6),
              (QStringList{"Столбец 0 «Parnassius stubbendorfii» (круги залитые): 2 точки.",
                           "Столбец 1 «Papilio maackii» (круги полые): 1 точка.",
                           "Прочитано строк с точками: 3, без точки: 2. Вне карты: 3.", ""}));
    const QByteArray imported = readBytes(table);
    EXPECT_TRUE(
        imported.startsWith("9\r\n70\r\nParnassius stubbendorfii\r\n43.115500, "
                            "131.885500\r\n48.250100, 134.812300\r\n\r\n"));

    const CliRun both = cli({"import", "--table", dir.filePath("b.points"), "--from", gbif});
    EXPECT_TRUE(
        both.err.endsWith(QStringLiteral("\nПрочитано строк с точками: 3, без точки: 2.\n")))
        << "without --map, the points lie on one of the maps: " << both.err.toStdString();
    const CliRun wrong =
        cli({"import", "--table", dir.filePath("b.points"), "--from", gbif, "--off-map", "lose"});
    EXPECT_EQ(wrong.exitCode, 2) << "a mistake in the command's words";
    EXPECT_TRUE(wrong.err.startsWith(QStringLiteral("--off-map: keep или drop, а не «lose»")))
        << wrong.err.toStdString();

    QByteArray many = "species,lat,lon\n";
    for (char c = 'A'; c <= 'J'; ++c) {
        many += QByteArray(1, c) + ",45,135\n";
    }
    const QString manyFile = dir.filePath(QStringLiteral("many.csv"));
    writeBytes(manyFile, many);
    const CliRun tooMany = cli({"import", "--table", table, "--from", manyFile});
    EXPECT_EQ(tooMany.exitCode, 1);
    EXPECT_TRUE(tooMany.err.startsWith(
        QStringLiteral("В файле 10 групп по «species», а свободных столбцов в таблице 7")))
        << tooMany.err.toStdString();
    EXPECT_EQ(readBytes(table), imported);
    const CliRun chosen = cli({"import", "--table", table, "--from", manyFile, "--groups", "J;C"});
    ASSERT_EQ(chosen.exitCode, 0) << chosen.err.toStdString();
    EXPECT_TRUE(chosen.err.contains(
        QStringLiteral("Столбец 2 «C» (треугольники залитые): 1 точка.\nСтолбец 3 «J»")))
        << chosen.err.toStdString();
}

// Lines of coordinates saved in CP1251 read as the same lines in UTF-8 do; a --from that is a
// folder or no file fails, naming it, and creates no table.
TEST(CliImport, PlainLinesInEitherEncodingAndSourcesThatDoNotRead) {
    QTemporaryDir dir;
    const QString cp1251 = dir.filePath(QStringLiteral("cp1251.txt"));
    writeBytes(cp1251,
               "48\xB0"
               "28'N 135\xB0"
               "04'E\r\n");
    const QString utf8 = dir.filePath(QStringLiteral("utf8.txt"));
    writeBytes(utf8,
               "\xEF\xBB\xBF"
               "48\xC2\xB0"
               "28'N 135\xC2\xB0"
               "04'E\n");
    for (const QString& from : {cp1251, utf8}) {
        const QString table = from + QStringLiteral(".points");
        const CliRun run = cli({"import", "--table", table, "--column", "2", "--from", from});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(readBytes(table).contains("\r\n48.466667, 135.066667\r\n"))
            << from.toStdString();
    }
    const QString table = dir.filePath(QStringLiteral("none.points"));
    struct Case {
        QString from;
        QString error;
    };
    for (const Case& c :
         {Case{dir.path(),
               QStringLiteral("Не удалось открыть \"%1\": это папка\n").arg(dir.path())},
          Case{dir.filePath("no.csv"),
               QStringLiteral("Не удалось открыть \"%1\": ").arg(dir.filePath("no.csv"))}}) {
        const CliRun run = cli({"import", "--table", table, "--from", c.from});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.startsWith(c.error)) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(table));
    }
}

// Files with nothing to import are refused, each with its own message, and no table is made.
TEST(CliImport, RefusesFilesWithNothingToImport) {
    QTemporaryDir dir;
    struct Case {
        const char* name;
        QByteArray bytes;
        QString error;
    };
    const Case cases[] = {
        {"empty.csv", "", QStringLiteral("Файл пуст\n")},
        {"blank.txt", "\xEF\xBB\xBF\r\n  \r\n", QStringLiteral("Файл пуст\n")},
        {"header.csv", "species;lat;lon\n",
         QStringLiteral("В файле только заголовок, записей в нём нет\n")},
        {"places.csv", "name,place,count\nA,B,3\n",
         QStringLiteral("В заголовке не найдены столбцы координат. Есть столбцы: «name», «place», "
                        "«count». Назовите их параметрами --lat ИМЯ --lon ИМЯ или --coords ИМЯ, "
                        "либо --format text для строк координат\n")},
        {"picture.csv", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
         QStringLiteral("picture.csv\" — не текстовый файл: в нём нулевые байты. Точки из него не "
                        "вставлены.\n")},
    };
    const QString table = dir.filePath(QStringLiteral("t.points"));
    for (const Case& c : cases) {
        const QString from = dir.filePath(QLatin1String(c.name));
        writeBytes(from, c.bytes);
        const CliRun run = cli({"import", "--table", table, "--column", "0", "--from", from});
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_TRUE(run.err.endsWith(c.error)) << c.name << ": " << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(table)) << c.name;
    }
}

// The table out to each format, its cells without points named, and an unknown type refused.
TEST(CliExport, WritesEachFormatAndNamesCellsWithoutPoints) {
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("t.points"));
    writeBytes(table, "2\n3\nAus bus\n48.5, 135.25\nnote\nB\n\n43, 131\n");
    struct Case {
        const char* out;
        const char* starts;
    };
    for (const Case& c :
         {Case{"p.csv", "\xEF\xBB\xBFgroup,marker,latitude,longitude\r\n\"Aus bus\",0,"},
          Case{"p.geojson", "{\"type\": \"FeatureCollection\""},
          Case{"p.kml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml"},
          Case{"p.gpx", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx"}}) {
        const QString out = dir.filePath(QLatin1String(c.out));
        const CliRun run = cli({"export", "--table", table, "--out", out});
        EXPECT_EQ(run.exitCode, 0) << c.out << run.err.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("Не записана ячейка: столбец 0, строка 2: не точка: "
                                          "«note»\n"))
            << c.out;
        EXPECT_TRUE(readBytes(out).startsWith(c.starts)) << c.out;
    }
    const CliRun unknown = cli({"export", "--table", table, "--out", dir.filePath("p.xls")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.err, QStringLiteral("По имени «p.xls» не понять, в каком формате писать "
                                          "точки: нужно расширение .csv, .geojson, .kml или "
                                          ".gpx\n"));
    EXPECT_FALSE(QFile::exists(dir.filePath("p.xls")));
}

// Every line goes to stderr with its number: the words read in brackets with their points
// (with --map, a point off that map's picture is named so, with its hint), or why it gives
// none; the counts close the report. None of it is a failure. The points off the map go in
// with --off-map keep, and are left out, and counted, without it.
TEST_F(CliData, ImportNamesTheLinesWithoutAPointAndThePointsOffTheMap) {
    const QString lines = path(QStringLiteral("lines.txt"));
    writeBytes(lines, "46.5 115\njunk\n-46.5 115\n\n48 \xC2\xB0 28'N\n");
    const CliRun dropped = cli({"import", "--table", path("d.points"), "--column", "0", "--from",
                                lines, "--data", data_, "--map", "1"});
    EXPECT_EQ(dropped.exitCode, 0) << dropped.err.toStdString();
    EXPECT_TRUE(dropped.err.endsWith(
        QStringLiteral("Точки вне карты не вставлены: 1.\n"
                       "Прочитано строк с точками: 2, без точки: 2. Вне карты: 1.\n")))
        << dropped.err.toStdString();
    EXPECT_FALSE(readBytes(path("d.points")).contains("-46.500000, 115.000000"));
    EXPECT_TRUE(readBytes(path("d.points")).contains("46.500000, 115.000000"));

    const CliRun run = cli({"import", "--table", path("t.points"), "--column", "0", "--from", lines,
                            "--data", data_, "--map", "1", "--off-map", "keep"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err,
              QStringLiteral("Строка 1: «[46.5 115]1» → 46.500000, 115.000000\n"
                             "Строка 2: в строке нет координат — «junk»\n"
                             "Строка 3: «[-46.5 115]1» → -46.500000, 115.000000 вне карты; если "
                             "сменить знак широты, точка 46.500000, 115.000000 попадёт на карту\n"
                             "Строка 5: в строке только одна координата, нужны широта и долгота — "
                             "«48 \u00B0 28'N»\n"
                             "Прочитано строк с точками: 2, без точки: 2. Вне карты: 1.\n"));
    EXPECT_TRUE(readBytes(path("t.points")).contains("-46.500000, 115.000000"))
        << "a point off the map is inserted when kept";
}

TEST_F(CliData, RenderNamesThePointsOffItsPicture) {
    writeBytes(path("t.points"), "1\r\n3\r\nh\r\n46.5, 115\r\n10, 20\r\n");
    const CliRun run = cli({"render", "--data", data_, "--map", "1", "--table", path("t.points"),
                            "--out", path("m.png")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(
        run.err,
        QStringLiteral("Столбец 0, строка 2: точка 10.000000, 20.000000 вне карты — «10, 20»\n"));
}

TEST_F(CliData, AssembleWritesTheBaseWithTheCheckedLayers) {
    struct Case {
        const char* layers;
        const char* out;
        Rgba colour;
    };
    const Case cases[] = {
        {"00000", "bare.png", {200, 200, 200, 255}},
        // 200 + (0 - 200) * 128/255 = 99.6; 200 + (255 - 200) * 128/255 = 227.6; the opaque base
        // stays opaque under the half-transparent layer.
        {"01000", "rivers.png", {100, 100, 228, 255}},
    };
    for (const Case& c : cases) {
        const CliRun run = cli({"assemble", "--data", data_, "--map", "1", "--layers", c.layers,
                                "--out", path(c.out)});
        ASSERT_EQ(run.exitCode, 0) << c.layers << ": " << run.err.toStdString();
        TPngImage picture;
        picture.LoadFromFile(path(c.out));
        EXPECT_EQ(picture, filled(60, 40, c.colour)) << c.layers;
    }
}

TEST_F(CliData, AssembleWithoutTheBasePictureFails) {
    const CliRun run = cli({"assemble", "--data", data_, "--map", "0", "--out", path("vn.png")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("Vetnam/blank.png"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("vn.png")));
}

// The format follows --format when given, the extension otherwise.
TEST_F(CliData, RenderWritesTheChosenFormat) {
    writeTable(QStringLiteral("t.points"), "46.5, 115");
    struct Case {
        const char* out;
        const char* format;
        QByteArray magic;
    };
    const Case cases[] = {
        {"a.png", nullptr, QByteArray("\x89PNG", 4)},
        {"a.jpg", nullptr, QByteArray("\xFF\xD8\xFF", 3)},
        {"a.jpeg", nullptr, QByteArray("\xFF\xD8\xFF", 3)},
        {"a.bmp", nullptr, QByteArray("BM", 2)},
        {"b.png", "jpeg", QByteArray("\xFF\xD8\xFF", 3)},
        {"c.out", "bmp", QByteArray("BM", 2)},
    };
    for (const Case& c : cases) {
        QStringList args = {"render",  "--data",         data_,   "--map",    "1",
                            "--table", path("t.points"), "--out", path(c.out)};
        if (c.format) {
            args << "--format" << c.format;
        }
        const CliRun run = cli(args);
        ASSERT_EQ(run.exitCode, 0) << c.out << ": " << run.err.toStdString();
        EXPECT_EQ(readBytes(path(c.out)).left(c.magic.size()), c.magic) << c.out;
    }
}

// The origin of the Far East map lands on (12, 40 - 12); a 10-pixel marker (the smallest)
// covers columns 7..16 and rows 23..32 of the picture.
TEST_F(CliData, RenderDrawsTheMarkersOverTheMap) {
    writeTable(QStringLiteral("t.points"), "46.5, 115");
    ASSERT_EQ(cli({"render", "--data", data_, "--map", "1", "--layers", "00000", "--size", "3",
                   "--table", path("t.points"), "--out", path("m.png")})
                  .exitCode,
              0);
    TPngImage picture;
    picture.LoadFromFile(path("m.png"));
    ASSERT_EQ(picture.Width(), 60);
    EXPECT_EQ(pixelAt(picture, 7, 23), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(picture, 16, 32), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(picture, 6, 23), (Rgba{200, 200, 200, 255}));
    EXPECT_EQ(pixelAt(picture, 17, 33), (Rgba{200, 200, 200, 255}));

    ASSERT_EQ(cli({"render", "--data", data_, "--map", "1", "--layers", "00000", "--size", "3",
                   "--red", "--table", path("t.points"), "--out", path("red.png")})
                  .exitCode,
              0);
    picture.LoadFromFile(path("red.png"));
    EXPECT_EQ(pixelAt(picture, 10, 28), (Rgba{200, 0, 0, 255}));
}

TEST_F(CliData, RenderFailureWritesNothingAndKeepsAnOldFile) {
    const std::pair<QByteArray, QString> badCells[] = {
        {"N48, E135", QStringLiteral("'N48' is not a valid floating point value\n"
                                     "Ячейка: столбец «h», строка 1\n")},
        // Byte 0x98, which CP1251 lacks, reads as U+0098; shown, so the number is not blamed.
        {"48.5, 135.25\x98", QStringLiteral("'135.25\\u0098' is not a valid floating point value\n"
                                            "Ячейка: столбец «h», строка 1\n")},
    };
    for (const auto& [cell, message] : badCells) {
        writeTable(QStringLiteral("bad.points"), cell);
        const CliRun fresh = cli({"render", "--data", data_, "--map", "1", "--table",
                                  path("bad.points"), "--out", path("new.png")});
        EXPECT_EQ(fresh.exitCode, 1);
        EXPECT_EQ(fresh.err, message);
        EXPECT_FALSE(QFile::exists(path("new.png")));
    }

    writeBytes(path("old.png"), "previous picture");
    EXPECT_EQ(cli({"render", "--data", data_, "--map", "1", "--table", path("bad.points"), "--out",
                   path("old.png")})
                  .exitCode,
              1);
    EXPECT_EQ(readBytes(path("old.png")).left(100), QByteArray("previous picture"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).filter("tmp").size(), 0);

    const CliRun missing = cli({"render", "--data", data_, "--map", "1", "--table",
                                path("none.points"), "--out", path("x.png")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, QStringLiteral("The specified file was not found\n"));
}

// The list holds 1000 points; a script learns what was left out, and still gets its picture.
TEST_F(CliData, RenderWarnsOfPointsBeyondTheThousandth) {
    struct Case {
        int points;
        QString warning;
    };
    const Case cases[] = {
        {1000, {}},
        {1001, QStringLiteral("Внимание: на карту взяты первые 1000 точек из 1001, что на неё "
                              "попадают, остальные не нарисованы\n")},
    };
    for (const Case& c : cases) {
        // Points off the map before them take no place of the thousand.
        QByteArray table = "1\r\n" + QByteArray::number(c.points + 301) + "\r\nh\r\n";
        for (int i = 0; i < 300; ++i) {
            table += "-33.9, 18.4\r\n";
        }
        for (int i = 0; i < c.points; ++i) {
            table += "46.5, 115\r\n";
        }
        writeBytes(path("many.points"), table);
        const CliRun run = cli({"render", "--data", data_, "--map", "1", "--table",
                                path("many.points"), "--out", path("many.png")});
        EXPECT_EQ(run.exitCode, 0) << c.points;
        EXPECT_EQ(run.err.count(QStringLiteral("вне карты")), 300) << c.points;
        EXPECT_EQ(run.err.section(QLatin1Char('\n'), 300), c.warning) << c.points;
        EXPECT_TRUE(QFile::exists(path("many.png")));
    }
}

// Both commands write their picture the same way, so they fail in the same words.
TEST_F(CliData, AssembleAndRenderFailToCreateTheFileInTheSameWords) {
    const QString out = path(QStringLiteral("missing/map.png"));
    const QList<QStringList> commands = {
        {"assemble", "--data", data_, "--map", "1", "--out", out},
        {"render", "--data", data_, "--map", "1", "--out", out},
    };
    for (const QStringList& args : commands) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.exitCode, 1) << args[0].toStdString();
        EXPECT_EQ(run.err,
                  QStringLiteral("Cannot create file \"%1\". No such file or directory\n").arg(out))
            << args[0].toStdString();
    }
}

// Without --data the maps and icons beside the built programs are used.
TEST(CliRender, FindsTheMapsBesideTheProgram) {
    QTemporaryDir dir;
    const QString out = dir.path() + QStringLiteral("/fe.png");
    const CliRun run = cli({"render", "--map", "1", "--out", out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    TPngImage picture;
    picture.LoadFromFile(out);
    EXPECT_EQ(picture.Width(), 940);
    EXPECT_EQ(picture.Height(), 1660);
}

}  // namespace

}  // namespace zelkora
