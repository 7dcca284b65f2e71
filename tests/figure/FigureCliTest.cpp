// `zelkora-cli figure` end to end: its report, the points it leaves out, and its refusals.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "mapimage/DataPaths.h"
#include "table/TableFile.h"
#include "tests/figure/FigureFixtures.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestImages.h"
#include "tests/support/TestProcess.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

namespace {

// A data folder with the Far East map: its picture's size and its vector data, and a table.
class FigureCli : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        data_ = dir_.filePath(QStringLiteral("data/"));
        const QString caption = kMapCaptions[kMapFarEast];
        QDir().mkpath(mapFolderPath(data_, caption, false));
        const QSize size = mapPictureSize(kMapFarEast);
        filled(size.width(), size.height(), {200, 200, 200, 255})
            .SaveToFile(baseImagePath(data_, caption, false));
        saveVectorMap(namedVectorMap(kMapFarEast), vectorMapPath(data_, caption));

        auto table = tableOf({{0, 0, "Дуб монгольский"},
                              {0, 1, "45.5, 134.0"},
                              {0, 2, "60.0, 160.0"},
                              {2, 1, "44.0, 132.5"}});
        table->setShape(10, 70);
        table->setCell(9, 4, QStringLiteral("45.0, 133.0"));
        SaveStringGrid(*table, path(QStringLiteral("points.points")));
    }

    QString path(const QString& name) const { return dir_.filePath(name); }

    ProcessRun figure(const QStringList& args) {
        return runProcess(
            QStringLiteral(ZELKORA_CLI),
            QStringList{QStringLiteral("figure"), QStringLiteral("--data"), data_,
                        QStringLiteral("--map"), QStringLiteral("1"), QStringLiteral("--table"),
                        path(QStringLiteral("points.points"))} +
                args);
    }

    QTemporaryDir dir_;
    QString data_;
};

TEST_F(FigureCli, ReportsTheFigureAndNamesThePointsLeftOut) {
    const QString out = path(QStringLiteral("figure.tif"));
    const ProcessRun run = figure({QStringLiteral("--out"), out, QStringLiteral("--extent"),
                                   QStringLiteral("43,130,48,137"), QStringLiteral("--report")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo(out).isFile());

    const QJsonObject report = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const QJsonObject size = report[QStringLiteral("size")].toObject();
    EXPECT_EQ(size[QStringLiteral("width_px")].toInt(), 2102);
    EXPECT_EQ(size[QStringLiteral("width_mm")].toDouble(), 89.0);
    EXPECT_EQ(size[QStringLiteral("dpi")].toDouble(), 600.0);
    EXPECT_GT(size[QStringLiteral("height_px")].toInt(), 0);
    EXPECT_GT(size[QStringLiteral("height_mm")].toDouble(), 0.0);

    const QJsonObject extent = report[QStringLiteral("extent")].toObject();
    for (const char* corner : {"top_left", "top_right", "bottom_right", "bottom_left"}) {
        const QJsonObject c = extent[QLatin1String(corner)].toObject();
        EXPECT_TRUE(c.contains(QStringLiteral("lat")) && c.contains(QStringLiteral("lon")))
            << corner;
    }
    const QJsonObject bar = report[QStringLiteral("scale_bar")].toObject();
    for (const char* key : {"km", "length_px", "true_at_lat", "scale_variation_percent"}) {
        EXPECT_TRUE(bar[QLatin1String(key)].isDouble()) << key;
    }

    const QJsonArray entries =
        report[QStringLiteral("legend")].toObject()[QStringLiteral("entries")].toArray();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].toObject()[QStringLiteral("text")].toString(),
              QStringLiteral("Дуб монгольский"));
    EXPECT_EQ(entries[1].toObject()[QStringLiteral("column")].toInt(), 2);

    const QJsonObject points = report[QStringLiteral("points")].toObject();
    EXPECT_EQ(points[QStringLiteral("drawn")].toInt(), 2);
    EXPECT_EQ(points[QStringLiteral("outside")].toInt(), 2);
    // Never silent: each point left out is named with its cell and why.
    EXPECT_TRUE(
        run.err.contains(QStringLiteral("столбец 1, строка 3 (60.000000, 160.000000): вне рамки")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("столбец 10, строка 5")));
}

// A figure deeper than its preset allows: an error naming the limit, and no file, the old one
// kept whole.
TEST_F(FigureCli, TooDeepForItsPresetWritesNothing) {
    const QString out = path(QStringLiteral("figure.pdf"));
    writeBytes(out, "old");
    const ProcessRun run = figure({QStringLiteral("--out"), out, QStringLiteral("--preset"),
                                   QStringLiteral("nature-2"), QStringLiteral("--extent"),
                                   QStringLiteral("42,130,52,134")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("247 мм"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("поместится при ширине"))) << run.err.toStdString();
    EXPECT_EQ(readBytes(out), QByteArray("old"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 2);  // the table and the old file
}

// Names and numbers: the report lists the names written and left out and gives the numbers' key,
// which --key writes as CSV; a name without room is named on standard error.
TEST_F(FigureCli, NamesAndNumbersAreReportedAndTheKeyWritten) {
    const QString out = path(QStringLiteral("figure.png"));
    const QString key = path(QStringLiteral("key.csv"));
    const ProcessRun run = figure(
        {QStringLiteral("--out"), out, QStringLiteral("--extent"), QStringLiteral("42,129,50,141"),
         QStringLiteral("--labels"), QStringLiteral("countries,provinces"),
         QStringLiteral("--number-points"), QStringLiteral("all"), QStringLiteral("--key"), key,
         QStringLiteral("--report"), QStringLiteral("--dpi"), QStringLiteral("150")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo(out).isFile());
    EXPECT_TRUE(run.err.contains(QStringLiteral("Название не подписано: «NORTH KOREA»: нет места")))
        << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("JAPAN"))) << "outside the frame is no news";

    const QJsonObject report = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const QJsonObject names = report[QStringLiteral("names")].toObject();
    EXPECT_EQ(names[QStringLiteral("of")].toArray(),
              (QJsonArray{QStringLiteral("countries"), QStringLiteral("divisions")}));
    QStringList drawn;
    for (const QJsonValue& n : names[QStringLiteral("drawn")].toArray()) {
        drawn << n.toObject()[QStringLiteral("text")].toString();
    }
    drawn.sort();
    EXPECT_EQ(drawn,
              (QStringList{QStringLiteral("CHINA"), QStringLiteral("RUSSIA"),
                           QStringLiteral("Приморский край"), QStringLiteral("Хабаровский край")}));
    const QJsonArray leftOut = names[QStringLiteral("left_out")].toArray();
    ASSERT_EQ(leftOut.size(), 2);
    for (const QJsonValue& n : leftOut) {
        const QJsonObject o = n.toObject();
        EXPECT_EQ(o[QStringLiteral("reason")].toString(),
                  o[QStringLiteral("text")].toString() == QStringLiteral("JAPAN")
                      ? QStringLiteral("вне рамки")
                      : QStringLiteral("нет места"));
    }

    const QJsonArray keyRows =
        report[QStringLiteral("numbers")].toObject()[QStringLiteral("key")].toArray();
    ASSERT_EQ(keyRows.size(), 2);
    const QJsonObject first = keyRows[0].toObject();
    EXPECT_EQ(first[QStringLiteral("number")].toInt(), 1);
    EXPECT_EQ(first[QStringLiteral("name")].toString(), QStringLiteral("Дуб монгольский"));
    EXPECT_EQ(first[QStringLiteral("lat")].toDouble(), 45.5);
    EXPECT_TRUE(first[QStringLiteral("drawn")].toBool());
    EXPECT_EQ(readBytes(key), QByteArray("\xEF\xBB\xBFnumber,name,latitude,longitude\r\n"
                                         "1,\"Дуб монгольский\",45.5,134\r\n"
                                         "2,\"filled triangles\",44,132.5\r\n"));
}

// The divisions of 2008 on a map that has none: an error, and neither the figure nor its key.
TEST_F(FigureCli, DivisionsOf2008WhereThereAreNoneWriteNothing) {
    const QString out = path(QStringLiteral("figure.png"));
    const ProcessRun run =
        figure({QStringLiteral("--out"), out, QStringLiteral("--divisions"), QStringLiteral("2008"),
                QStringLiteral("--number-points"), QStringLiteral("column"),
                QStringLiteral("--key"), path(QStringLiteral("key.csv"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("нет границ 2008 года"))) << run.err.toStdString();
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"points.points"});
}

// A figure that fails after its key was written takes the new key with it.
TEST_F(FigureCli, AFailedFigureLeavesNoKey) {
    const QString out = path(QStringLiteral("no such folder/figure.png"));
    const ProcessRun run = figure({QStringLiteral("--out"), out, QStringLiteral("--number-points"),
                                   QStringLiteral("column"), QStringLiteral("--key"),
                                   path(QStringLiteral("key.csv"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"points.points"});
}

}  // namespace

}  // namespace zelkora
