// The figure dialog: opened from the window, its settings and the command line it shows drawing
// the same pixels, its settings remembered, a rectangle drawn on its preview, and its messages.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <memory>

#include "figure/FigureMap.h"
#include "figure/PointKey.h"
#include "shell/FigureDialog.h"
#include "shell/FigurePreview.h"
#include "shell/StringGrid.h"
#include "table/PointTable.h"
#include "table/TableFile.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestProcess.h"

namespace zelkora {

namespace {

const QString kRealData = QStringLiteral(ZELKORA_DATA_DIR);

class FigureDialogTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        forgetSettings();
        writeTable();
    }

    // Two species, typed into the header row, saved in the table's file.
    void writeTable() {
        table_.setShape(PointTable::kDefaultColCount, PointTable::kDefaultRowCount);
        table_.clearCells();
        table_.setCell(0, 0, QStringLiteral("Quercus mongolica"));
        table_.setCell(0, 1, QStringLiteral("43.1155, 131.8855"));
        table_.setCell(0, 2, QStringLiteral("44.60, 132.80"));
        table_.setCell(2, 0, QStringLiteral("Дуб зубчатый"));
        table_.setCell(2, 1, QStringLiteral("45.0, 134.5"));
        table_.setCell(2, 2, QStringLiteral("48.48, 135.07"));
        tableFile_ = path(QStringLiteral("мои точки.points"));
        SaveStringGrid(table_, tableFile_);
    }

    // The settings of the test run only (ShellTestMain.cpp moves them), emptied.
    static void forgetSettings() {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zelkora"),
                           QStringLiteral("zelkora"));
        ASSERT_TRUE(settings.fileName().startsWith(
            QString::fromLocal8Bit(qgetenv("ZELKORA_TEST_SETTINGS"))))
            << settings.fileName().toStdString();
        settings.clear();
    }

    // A dialog on the real maps with the table above, whose save dialog answers saveAs.
    std::unique_ptr<FigureDialog> dialog(int map = kMapFarEast) {
        FigureDialog::Hooks hooks;
        hooks.saveName = [this](const FigureTarget& last) {
            saveDialogs_ << last;
            return saveAs_;
        };
        hooks.replaceKey = [this](const QString& keyFile) {
            keysAsked_ << keyFile;
            return replaceKey_;
        };
        auto d = std::make_unique<FigureDialog>(
            FigureDialog::Source{kRealData, map, kDefaultLayers, &table_, tableFile_}, hooks);
        d->show();
        d->redrawNow();
        return d;
    }

    PointTable table_;
    QString tableFile_;
    std::optional<FigureTarget> saveAs_;
    QList<FigureTarget> saveDialogs_;
    bool replaceKey_ = true;
    QStringList keysAsked_;
};

FigureOptions someOptions() {
    FigureOptions o;
    o.dataDir = kRealData;
    o.map = kMapFarEast;
    o.widthMm = 60;
    o.dpi = 150;
    o.extent = FigureExtent::Box;
    o.box = {42.5, 130.5, 49.0, 137.0};
    o.markerMm = 2.0;
    o.red = true;
    o.legend = FigureCorner::BottomLeft;
    o.italic = true;
    o.fontPt = 6.5;
    o.language = FigureLanguage::Russian;
    o.nameCountries = true;
    o.nameDivisions = true;
    o.numbering = PointNumbering::PerColumn;
    return o;
}

TEST_F(FigureDialogTest, OpensFromTheWindowsButtonAndTableMenuOnItsMapAndTable) {
    TmainForm& form = open();
    form.StringGrid1->table().setCell(0, 1, QStringLiteral("48.5, 135.25"));
    form.ch1->setChecked(false);
    EXPECT_EQ(form.bFigure->geometry(), QRect(294, 772, 83, 42));
    EXPECT_EQ(form.bFigure->text().simplified(), QStringLiteral("Рисунок для статьи…"));

    for (const std::function<void()>& opening : std::initializer_list<std::function<void()>>{
             [&] { QTest::mouseClick(form.bFigure, Qt::LeftButton); },
             [&] { form.acFigure->trigger(); }}) {
        opening();
        auto* dialog = form.findChild<FigureDialog*>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Рисунок для статьи"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->redraws() > 0; }));
        EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();

        // The window's map, layers and table.
        EXPECT_TRUE(dialog->commandLine().contains(QStringLiteral("--map 1 --layers 01011")))
            << dialog->commandLine().toStdString();
        EXPECT_TRUE(dialog->commandLine().contains(QStringLiteral("--table таблица.points")));
        ASSERT_NE(dialog->figure(), nullptr) << dialog->lbError->text().toStdString();
        EXPECT_EQ(dialog->figure()->drawn.size(), 1U);
        EXPECT_FALSE(dialog->pvFigure->picture().isNull());
        // The fixture's map has no vector data: its picture is printed far below 300 dpi.
        EXPECT_TRUE(dialog->lbWarnings->isVisibleTo(dialog));
        EXPECT_TRUE(dialog->lbWarnings->text().contains(QStringLiteral("dpi")));

        dialog->bClose->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(form.findChild<FigureDialog*>(), nullptr);
    }
}

// Saved from the dialog, and drawn again by the command line it shows, run by a shell as a user
// would paste it: the same pixels, for a raster of each kind.
TEST_F(FigureDialogTest, ItsSettingsAndItsCommandLineGiveIdenticalPixels) {
    qputenv("PATH",
            QFileInfo(QStringLiteral(ZELKORA_CLI)).path().toLocal8Bit() + ':' + qgetenv("PATH"));
    for (const char* name : {"figure.png", "figure.tif"}) {
        SCOPED_TRACE(name);
        const auto d = dialog();
        d->setOptions(someOptions());
        const QString out = path(QString::fromLatin1(name));
        saveAs_ = FigureTarget{out, FigureFormat::Png};
        d->bSave->click();
        ASSERT_TRUE(d->lbError->isHidden()) << d->lbError->text().toStdString();
        const QString fromDialog = path(QStringLiteral("dialog-") + QString::fromLatin1(name));
        ASSERT_TRUE(QFile::rename(out, fromDialog));

        const QString line = d->commandLine();
        EXPECT_TRUE(line.contains(QStringLiteral("--table '") + tableFile_ + '\''))
            << line.toStdString();
        const ProcessRun run = runProcess(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), line});
        ASSERT_EQ(run.exitCode, 0) << line.toStdString() << "\n" << run.err.toStdString();

        // The key beside each, the same.
        const QString key = path(QFileInfo(out).completeBaseName() + QStringLiteral("-key.csv"));
        EXPECT_TRUE(line.contains(QStringLiteral("--key ") + key)) << line.toStdString();
        EXPECT_EQ(readBytes(key), pointKeyCsv(*d->figure()));

        const QImage a(fromDialog);
        const QImage b(out);
        ASSERT_FALSE(a.isNull());
        EXPECT_EQ(a.size(), QSize(354, d->figure()->pixels.height()));
        EXPECT_EQ(a.convertToFormat(QImage::Format_RGB32), b.convertToFormat(QImage::Format_RGB32));
    }
}

TEST_F(FigureDialogTest, RemembersItsSettingsAcrossAReopen) {
    FigureOptions chosen;
    QString line;
    {
        const auto d = dialog();
        // As a user sets them.
        d->cbPreset->setCurrentIndex(d->cbPreset->findData(QStringLiteral("nature-1")));
        d->rbMap->click();
        d->edMarker->setValue(3.5);
        d->cbRed->click();
        d->cbLegend->setCurrentIndex(static_cast<int>(FigureCorner::TopLeft));
        d->cbItalic->click();
        d->edFont->setValue(6);
        d->cbScaleBar->setCurrentIndex(static_cast<int>(FigureCorner::None));
        d->cbLanguage->setCurrentIndex(1);
        d->cbPanels->click();
        d->cbCountryNames->click();
        d->cbNumbers->setCurrentIndex(static_cast<int>(PointNumbering::Continuous));
        saveAs_ = FigureTarget{path(QStringLiteral("plate.pdf")), FigureFormat::Tiff};
        d->bSave->click();
        ASSERT_TRUE(d->lbError->isHidden()) << d->lbError->text().toStdString();
        chosen = d->options();
        line = d->commandLine();
    }
    EXPECT_EQ(chosen.preset, QStringLiteral("nature-1"));
    EXPECT_EQ(chosen.format, FigureFormat::Pdf);
    EXPECT_TRUE(line.contains(QStringLiteral("--out ") + path(QStringLiteral("plate.pdf"))));

    const auto again = dialog();
    EXPECT_EQ(again->options(), chosen);
    EXPECT_EQ(again->commandLine(), line);
    // The save dialog opens on the last file.
    again->bSave->click();
    ASSERT_FALSE(saveDialogs_.isEmpty());
    EXPECT_EQ(saveDialogs_.last().fileName, path(QStringLiteral("plate.pdf")));
    EXPECT_EQ(saveDialogs_.last().format, FigureFormat::Pdf);

    // Settings that no longer read give the defaults.
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zelkora"),
              QStringLiteral("zelkora"))
        .setValue(QStringLiteral("figure/arguments"),
                  QStringList{QStringLiteral("--width"), QStringLiteral("wide")});
    FigureOptions defaults;
    defaults.dataDir = kRealData;
    EXPECT_EQ(dialog()->options(), defaults);

    // Settings remembered before names and numbers were offered read as they were, without them.
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zelkora"),
              QStringLiteral("zelkora"))
        .setValue(QStringLiteral("figure/arguments"),
                  QStringList{"--map", "1", "--layers", "11011", "--format", "png", "--width",
                              "120", "--dpi", "300", "--extent", "points", "--legend", "top-right",
                              "--inset", "bottom-left"});
    FigureOptions older = defaults;
    older.widthMm = 120;
    older.dpi = 300;
    older.format = FigureFormat::Png;
    older.legend = FigureCorner::TopRight;
    older.inset = FigureCorner::BottomLeft;
    EXPECT_EQ(dialog()->options(), older);
}

// Names, the divisions' year and numbers, as a user sets them: the preview shows them, the
// dialog lists the names written and left out and where the key goes, the command line has
// their words. The divisions of 2008 are offered on the Vietnam map only.
TEST_F(FigureDialogTest, OffersNamesTheDivisionsYearAndNumbers) {
    {
        const auto d = dialog();
        EXPECT_FALSE(d->cbDivisions->isEnabled());
        EXPECT_FALSE(d->lbNames->isVisibleTo(d.get()));
        d->rbBox->click();
        d->edSouth->setValue(42);
        d->edNorth->setValue(49);
        d->edWest->setValue(130);
        d->edEast->setValue(137);
        d->cbCountryNames->click();
        d->cbDivisionNames->click();
        d->cbNumbers->setCurrentIndex(static_cast<int>(PointNumbering::PerColumn));
        d->redrawNow();
        ASSERT_NE(d->figure(), nullptr) << d->lbError->text().toStdString();
        EXPECT_EQ(d->figure()->numbers.size(), 4u);
        EXPECT_FALSE(d->figure()->names.empty());
        EXPECT_TRUE(d->lbNames->isVisibleTo(d.get()));
        const QString text = d->lbNames->text();
        EXPECT_TRUE(text.contains(QStringLiteral("RUSSIA"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Приморский край"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Вне рамки:"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("«рисунок-key.csv»"))) << text.toStdString();
        EXPECT_TRUE(d->commandLine().contains(
            QStringLiteral("--labels countries,provinces --number-points column --table")))
            << d->commandLine().toStdString();
        EXPECT_TRUE(d->commandLine().endsWith(QStringLiteral("--key рисунок-key.csv")))
            << d->commandLine().toStdString();
        // Without numbers there is no key.
        d->cbNumbers->setCurrentIndex(static_cast<int>(PointNumbering::None));
        EXPECT_FALSE(d->commandLine().contains(QStringLiteral("--key")));
    }
    const auto vietnam = dialog(kMapVietnam);
    EXPECT_TRUE(vietnam->cbDivisions->isEnabled());
    EXPECT_EQ(vietnam->cbDivisionNames->text(), QStringLiteral("названия провинций"));
    vietnam->cbDivisions->setCurrentIndex(static_cast<int>(FigureDivisions::Of2008));
    EXPECT_EQ(vietnam->options().divisions, FigureDivisions::Of2008);
    EXPECT_TRUE(vietnam->commandLine().contains(QStringLiteral("--divisions 2008")));
}

// The save dialog asks about the figure's file; the numbers' key beside it replaces a file of
// its name only when the user says so, and otherwise nothing is written.
TEST_F(FigureDialogTest, AsksBeforeItsKeyReplacesAFile) {
    const auto d = dialog();
    d->setOptions(someOptions());
    ASSERT_FALSE(d->options().numbering == PointNumbering::None);
    const QString out = path(QStringLiteral("plate.png"));
    const QString key = path(QStringLiteral("plate-key.csv"));
    {
        QFile mine(key);
        ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
        mine.write("my own notes\n");
    }
    saveAs_ = FigureTarget{out, FigureFormat::Png};

    replaceKey_ = false;
    d->bSave->click();
    EXPECT_EQ(keysAsked_, QStringList{key});
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(readBytes(key), QByteArray("my own notes\n"));
    EXPECT_TRUE(d->lbSize->text().contains(QStringLiteral("Не сохранено")))
        << d->lbSize->text().toStdString();

    replaceKey_ = true;
    d->bSave->click();
    EXPECT_EQ(keysAsked_.size(), 2);
    EXPECT_TRUE(QFileInfo::exists(out));
    EXPECT_EQ(readBytes(key), pointKeyCsv(*d->figure()));

    // A figure whose key is not there yet asks nothing.
    saveAs_ = FigureTarget{path(QStringLiteral("other.png")), FigureFormat::Png};
    d->bSave->click();
    EXPECT_EQ(keysAsked_.size(), 2);
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("other-key.csv"))));
}

// The command line reads the table's file: the dialog says when that file would draw other points
// than the window's table, or there is none.
TEST_F(FigureDialogTest, SaysWhenTheCommandsTableFileHoldsOtherPoints) {
    struct Case {
        const char* name;
        std::function<void()> change;
        QString note;  // empty: no note
    };
    const Case cases[] = {
        {"the file as saved", [] {}, QString()},
        {"more empty rows than the file", [this] { table_.setShape(9, 500); }, QString()},
        {"a cell changed since", [this] { table_.setCell(2, 2, QStringLiteral("42.9, 131.1")); },
         QStringLiteral("Таблица изменена после сохранения")},
        {"the file gone", [this] { QFile::remove(tableFile_); }, QStringLiteral("не читается")},
        {"no file", [this] { tableFile_.clear(); }, QStringLiteral("Таблица не сохранена")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeTable();
        c.change();
        const auto d = dialog();
        EXPECT_EQ(d->lbTableNote->isVisibleTo(d.get()), !c.note.isEmpty());
        EXPECT_TRUE(d->lbTableNote->text().contains(c.note))
            << d->lbTableNote->text().toStdString();
    }
}

// A rectangle drawn on the preview's map becomes the extent: the figure then shows that part of
// the map. In the window's projection the frame is the rectangle drawn.
TEST_F(FigureDialogTest, ARectangleDrawnOnThePreviewGivesTheExtent) {
    const auto d = dialog();
    d->rbMap->click();
    d->cbProjection->setCurrentIndex(static_cast<int>(FigureProjectionKind::Map));
    d->redrawNow();
    const FigureLayout before = *d->figure();
    const FigurePanel& panel = before.panels.front();
    const QTransform toMm = before.mmFromPlane(panel);
    // Around Primorye, in the map's pixels, from one corner to the other.
    const QRectF drawn(QPointF(250, 1400), QPointF(400, 1560));
    const QPoint from = d->pvFigure->widgetFromMm(toMm.map(drawn.topLeft())).toPoint();
    const QPoint to = d->pvFigure->widgetFromMm(toMm.map(drawn.bottomRight())).toPoint();
    // As near as the preview's pixels tell, each about 3 of the map's.
    const QRectF pointed(toMm.inverted().map(d->pvFigure->mmFromWidget(from)),
                         toMm.inverted().map(d->pvFigure->mmFromWidget(to)));
    QTest::mousePress(d->pvFigure, Qt::LeftButton, {}, from);
    QTest::mouseMove(d->pvFigure, (from + to) / 2);
    QTest::mouseMove(d->pvFigure, to);
    QTest::mouseRelease(d->pvFigure, Qt::LeftButton, {}, to);

    EXPECT_TRUE(d->rbBox->isChecked());
    ASSERT_NE(d->figure(), nullptr) << d->lbError->text().toStdString();
    const QRectF extent = d->figure()->extent;
    EXPECT_NEAR(extent.left(), pointed.left(), 0.5);
    EXPECT_NEAR(extent.top(), pointed.top(), 0.5);
    EXPECT_NEAR(extent.right(), pointed.right(), 0.5);
    EXPECT_NEAR(extent.bottom(), pointed.bottom(), 0.5);
    const DegreeBox box = d->options().box;
    const auto shortest = [](double v) {
        return QString::number(v, 'g', QLocale::FloatingPointShortest);
    };
    EXPECT_TRUE(d->commandLine().contains(
        QStringLiteral("--extent %1,%2,%3,%4")
            .arg(shortest(box.south), shortest(box.west), shortest(box.north), shortest(box.east))))
        << d->commandLine().toStdString();

    // A click draws nothing.
    const int redraws = d->redraws();
    QTest::mouseClick(d->pvFigure, Qt::LeftButton, {}, d->pvFigure->rect().center());
    EXPECT_EQ(d->options().box, box);
    EXPECT_EQ(d->redraws(), redraws);

    // North up, the box runs through the middles of the rectangle's sides.
    d->cbProjection->setCurrentIndex(static_cast<int>(FigureProjectionKind::NorthUp));
    d->rbMap->click();
    d->redrawNow();
    const FigureLayout northUp = *d->figure();
    const QTransform northUpToMm = northUp.mmFromPlane(northUp.panels.front());
    const QRectF frame = northUp.panels.front().frame;
    const QPoint a = d->pvFigure->widgetFromMm(frame.center() - QPointF(20, 10)).toPoint();
    const QPoint b = d->pvFigure->widgetFromMm(frame.center() + QPointF(10, 20)).toPoint();
    const QRectF plane(northUpToMm.inverted().map(d->pvFigure->mmFromWidget(a)),
                       northUpToMm.inverted().map(d->pvFigure->mmFromWidget(b)));
    QTest::mousePress(d->pvFigure, Qt::LeftButton, {}, a);
    QTest::mouseMove(d->pvFigure, b);
    QTest::mouseRelease(d->pvFigure, Qt::LeftButton, {}, b);
    const DegreeBox drawnBox = d->options().box;
    const double scale = 0.01;  // degrees: the box is written to four decimals
    EXPECT_NEAR(drawnBox.south, northUp.projection.toGeo({plane.center().x(), plane.bottom()}).lat,
                scale);
    EXPECT_NEAR(drawnBox.north, northUp.projection.toGeo({plane.center().x(), plane.top()}).lat,
                scale);
    EXPECT_NEAR(drawnBox.west, northUp.projection.toGeo({plane.left(), plane.center().y()}).lon,
                scale);
}

// Settings that give no figure say why in the dialog and keep everything as it was; warnings show
// beside a figure that is drawn.
TEST_F(FigureDialogTest, ShowsWhatStopsTheFigureAndWhatItLeavesOut) {
    struct Case {
        const char* name;
        std::function<void(FigureDialog&)> change;
        QString error;
        QString warning;
    };
    const Case cases[] = {
        {"too deep for the preset",
         [](FigureDialog& d) {
             d.cbPreset->setCurrentIndex(d.cbPreset->findData(QStringLiteral("nature-2")));
             d.cbProjection->setCurrentIndex(static_cast<int>(FigureProjectionKind::Map));
             d.rbMap->click();
         },
         QStringLiteral("247 мм"), QString()},
        {"a box off the map",
         [](FigureDialog& d) {
             d.rbBox->click();
             d.edSouth->setValue(-40);
             d.edNorth->setValue(-30);
         },
         QStringLiteral("не задевают карту"), QString()},
        {"points outside the box",
         [](FigureDialog& d) {
             d.rbBox->click();
             d.edSouth->setValue(42);
             d.edNorth->setValue(46);
             d.edWest->setValue(130);
             d.edEast->setValue(136);
         },
         QString(), QStringLiteral("Не нарисовано точек: 1\n    столбец 3, строка 3")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        forgetSettings();
        const auto d = dialog();
        c.change(*d);
        const FigureOptions changed = d->options();
        d->redrawNow();
        EXPECT_EQ(d->options(), changed);
        if (!c.error.isEmpty()) {
            EXPECT_TRUE(d->lbError->isVisibleTo(d.get()));
            EXPECT_TRUE(d->lbError->text().contains(c.error)) << d->lbError->text().toStdString();
            EXPECT_FALSE(d->bSave->isEnabled());
            EXPECT_EQ(d->figure(), nullptr);
            EXPECT_TRUE(d->pvFigure->picture().isNull());
        } else {
            EXPECT_FALSE(d->lbError->isVisibleTo(d.get())) << d->lbError->text().toStdString();
            EXPECT_TRUE(d->bSave->isEnabled());
            EXPECT_TRUE(d->lbWarnings->text().contains(c.warning))
                << d->lbWarnings->text().toStdString();
        }
    }
}

}  // namespace

}  // namespace zelkora
