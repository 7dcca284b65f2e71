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
        saveVectorMap(smallVectorMap(kMapFarEast), vectorMapPath(data_, caption));

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

}  // namespace

}  // namespace zelkora
