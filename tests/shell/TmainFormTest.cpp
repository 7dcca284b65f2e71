#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <functional>
#include <vector>

#include "mapimage/DataPaths.h"
#include "plot/zelkora.h"
#include "projection/geo.h"
#include "shell/PictureView.h"
#include "shell/RadioGroup.h"
#include "shell/ReportBox.h"
#include "shell/StringGrid.h"
#include "table/HeaderRow.h"
#include "table/PointInsert.h"
#include "table/PointTable.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/TestFiles.h"

namespace zelkora {

namespace {

// Where the point 48.5, 135.25 lands on the fixture's map of the Far East.
Tpoint farEastPoint() {
    return geo(Tpoint{0, 48.5, 135.25, 0, 0}, PAR_map[kMapFarEast], false, 2000);
}

TEST_F(ShellTest, StartsOnTheFarEastWithAnEmptyTableAndSize60) {
    TmainForm& form = open();
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Zelkora v0.2"));
    EXPECT_EQ(form.size(), QSize(TmainForm::kClientWidth, TmainForm::kClientHeight));
    EXPECT_EQ(form.cbMap->currentIndex(), kMapFarEast);
    EXPECT_EQ(form.cbMap->currentText(), QStringLiteral("Дальний Восток"));
    EXPECT_EQ(form.PAR, PAR_map[kMapFarEast]);

    const PointTable& table = form.StringGrid1->table();
    ASSERT_EQ(table.ColCount(), 9);
    ASSERT_EQ(table.RowCount(), 70);
    QStringList expected = markerTypeNames();
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(table.cell(c, 0), expected[c]) << "header " << c;
        for (int r = 1; r < 70; ++r) {
            ASSERT_TRUE(table.cell(c, r).isEmpty()) << c << "," << r;
        }
    }
    EXPECT_EQ(form.points.num, 0);

    // The size the field shows is the size drawn.
    EXPECT_EQ(form.pntSize, 60);
    EXPECT_EQ(form.Edit3->text(), QStringLiteral("60"));
    EXPECT_EQ(form.ScrollBar1->value(), 42);

    // The assembled map, shown whole in the view's top-left corner.
    EXPECT_EQ(form.a.Width(), kFarEastWidth);
    EXPECT_EQ(form.a.Height(), kFarEastHeight);
    EXPECT_EQ(form.Image1->picture(), form.a);
    EXPECT_EQ(form.Image1->shownSize(), QSize(435, 782));
    EXPECT_FALSE(form.pnLoad->isVisible());
}

TEST_F(ShellTest, StartsWithoutMapsFolderQuietly) {
    QDir(dataDir() + QStringLiteral("maps")).removeRecursively();
    TmainForm& form = open();
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_TRUE(form.a.isEmpty());
    EXPECT_TRUE(form.Image1->picture().isEmpty());
    EXPECT_EQ(form.PAR, PAR_map[kMapFarEast]);
}

// However the editor closes, and whether or not the text changed, one refresh follows the
// close and none comes from the keys typed.
TEST_F(ShellTest, TypedCellRefreshesOnceWhenItsEditorCloses) {
    struct Close {
        const char* name;
        std::function<void(TmainForm&)> close;
    };
    const Close closes[] = {
        {"Enter", [](TmainForm&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }},
        {"move to another cell",
         [](TmainForm&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); }},
        {"focus lost", [](TmainForm& form) { form.edX->setFocus(); }},
    };
    TmainForm& form = open();
    for (const Close& c : closes) {
        SCOPED_TRACE(c.name);
        form.StringGrid1->table().setCell(3, 1, QString());
        const int before = form.markerPasses();
        typeIntoCell(3, 1, QStringLiteral("48.5, 135.25"));
        settle();
        EXPECT_EQ(form.markerPasses(), before) << "a refresh while typing";
        c.close(form);
        settle();
        EXPECT_FALSE(form.StringGrid1->EditorMode());
        EXPECT_EQ(form.StringGrid1->table().cell(3, 1), QStringLiteral("48.5, 135.25"));
        EXPECT_EQ(form.markerPasses(), before + 1);
        ASSERT_EQ(form.points.num, 1);
        EXPECT_EQ(form.points.p[0].t, 3);
        EXPECT_EQ(form.points.p[0].x, 48.5);
        EXPECT_EQ(form.points.p[0].y, 135.25);
    }

    // An editor opened and closed without a change refreshes too.
    const int before = form.markerPasses();
    form.StringGrid1->setFocus();
    form.StringGrid1->setCurrentIndex(form.StringGrid1->model()->index(1, 3));
    QTest::keyClick(form.StringGrid1, Qt::Key_F2);
    ASSERT_TRUE(form.StringGrid1->EditorMode());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    settle();
    EXPECT_EQ(form.markerPasses(), before + 1);
    EXPECT_EQ(form.StringGrid1->table().cell(3, 1), QStringLiteral("48.5, 135.25"));
}

TEST_F(ShellTest, OnePointFromTheFieldsWithDecimalCommas) {
    TmainForm& form = open();
    QTest::mouseClick(form.rgType->button(2), Qt::LeftButton);
    ASSERT_EQ(form.rgType->ItemIndex(), 2);
    form.edX->setText(QStringLiteral("48,5"));
    form.edY->setText(QStringLiteral("135,25"));
    const int before = form.markerPasses();
    QTest::mouseClick(form.bInsertOne, Qt::LeftButton);

    EXPECT_EQ(form.StringGrid1->table().cell(2, 1), QStringLiteral("48.5, 135.25"));
    EXPECT_EQ(form.edX->text(), QStringLiteral("48.5"));
    EXPECT_EQ(form.edY->text(), QStringLiteral("135.25"));
    EXPECT_EQ(form.markerPasses(), before + 1);
    ASSERT_EQ(form.points.num, 1);
    const Tpoint expected = farEastPoint();
    EXPECT_EQ(form.points.p[0].t, 2);
    EXPECT_EQ(form.points.p[0].xImg, expected.xImg);
    EXPECT_EQ(form.points.p[0].yImg, expected.yImg);
    // A black marker over the map where the point lands; the map itself stays clean.
    const int x = static_cast<int>(expected.xImg);
    const int y = static_cast<int>(expected.yImg);
    EXPECT_EQ(pixelAt(form.Image1->picture(), x, y), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(form.a, x, y), kFarEast);
}

TEST_F(ShellTest, PasteOfSeveralLinesFillsTheChosenColumnAndRefreshesOnce) {
    TmainForm& form = open();
    QTest::mouseClick(form.rgType->button(4), Qt::LeftButton);
    // CR LF, a lone CR and a lone LF all end lines; "junk" gives no point and leaves no gap.
    QGuiApplication::clipboard()->setText(
        QStringLiteral("N 43°36'29,0\" E 132°14'59,5\"\r\n (43°N 146°E)\rjunk\n53,1 158,2\n"));
    const int before = form.markerPasses();
    QTest::mouseClick(form.bInsertPoints, Qt::LeftButton);

    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(splitPastedLines(form.Memo1).size(), 4);
    const PointTable& table = form.StringGrid1->table();
    EXPECT_EQ(table.cell(4, 1), QStringLiteral("43.608056, 132.249861"));
    EXPECT_EQ(table.cell(4, 2), QStringLiteral("43.000000, 146.000000"));
    EXPECT_EQ(table.cell(4, 3), QStringLiteral("53.100000, 158.200000"));
    EXPECT_TRUE(table.cell(4, 4).isEmpty());
    EXPECT_EQ(form.markerPasses(), before + 1);
    EXPECT_EQ(form.points.num, 3);
}

// After a paste that left lines unread or points off the map, a box says so without blocking
// the window; the points read stay in. The next paste that goes well closes it.
TEST_F(ShellTest, APasteWithUnreadLinesShowsItsReportAndKeepsThePoints) {
    TmainForm& form = open();
    QGuiApplication::clipboard()->setText(
        QStringLiteral("43.1155 131.8855\njunk\n43.1155 -131.8855\n48 \u00B0 28'N\n"));
    QTest::mouseClick(form.bInsertPoints, Qt::LeftButton);
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    const PointTable& table = form.StringGrid1->table();
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("43.115500, 131.885500"));
    EXPECT_EQ(table.cell(0, 2), QStringLiteral("43.115500, -131.885500"));

    auto* box = form.findChild<ReportBox*>();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->summaryText(),
              QStringLiteral("Прочитано строк с точками: 2, без точки: 2. Вне карты: 1. Точки из "
                             "прочитанных строк вставлены."));
    const QString details = box->detailsText();
    EXPECT_TRUE(details.contains(QStringLiteral("Строка 2: в строке нет координат — «junk»")))
        << details.toStdString();
    EXPECT_TRUE(details.contains(QStringLiteral("Строка 4: ")));
    EXPECT_TRUE(details.contains(QStringLiteral("Строка 1: «43.1155 131.8855")));
    EXPECT_TRUE(details.contains(
        QStringLiteral("→ 1 43.115500, -131.885500 вне карты; если сменить знак долготы")))
        << details.toStdString();

    QGuiApplication::clipboard()->setText(QStringLiteral("43.2 131.9"));
    QTest::mouseClick(form.bInsertPoints, Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(table.cell(0, 3), QStringLiteral("43.200000, 131.900000"));
}

// The box lists the first hundred lines and counts the rest.
TEST_F(ShellTest, ThePasteReportListsTheFirstHundredLines) {
    TmainForm& form = open();
    QGuiApplication::clipboard()->setText(QStringLiteral("junk\n").repeated(105));
    QTest::mouseClick(form.bInsertPoints, Qt::LeftButton);
    auto* box = form.findChild<ReportBox*>();
    ASSERT_TRUE(box);
    const QString details = box->detailsText();
    EXPECT_TRUE(details.contains(QStringLiteral("Строка 100:")));
    EXPECT_FALSE(details.contains(QStringLiteral("Строка 101:")));
    EXPECT_TRUE(details.contains(QStringLiteral("Показаны первые строки: 100; ещё строк: 5.")));
}

// A line of several points gives each its cell, and the box shows which words became which
// point: each on its own colour, numbered as the points are listed.
TEST_F(ShellTest, APasteOfAParagraphShowsWhichWordsBecameWhichPoint) {
    TmainForm& form = open();
    QGuiApplication::clipboard()->setText(QStringLiteral(
        "Sa Pa, 22°21′N, 103°46′E, 1900 m, 12 May 2010; ibid., 22°20′45″N, 103°47′10″E."));
    QTest::mouseClick(form.bInsertPoints, Qt::LeftButton);
    const PointTable& table = form.StringGrid1->table();
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("22.350000, 103.766667"));
    EXPECT_EQ(table.cell(0, 2), QStringLiteral("22.345833, 103.786111"));
    auto* box = form.findChild<ReportBox*>();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->detailsText().contains(QStringLiteral("→ 1 22.350000, 103.766667")))
        << box->detailsText().toStdString();
    EXPECT_TRUE(box->detailsText().contains(QStringLiteral("; 2 22.345833, 103.786111")));
    const QString html = box->findChild<QTextBrowser*>()->toHtml();
    EXPECT_TRUE(html.contains(QStringLiteral("background-color:#ffe08a;\">22°21′N, 103°46′E")))
        << html.toStdString();
    EXPECT_TRUE(
        html.contains(QStringLiteral("background-color:#b5e8a0;\">22°20′45″N, 103°47′10″E")));
}

TEST_F(ShellTest, LayerToggleReassemblesAndKeepsTheTable) {
    TmainForm& form = open();
    form.edX->setText(QStringLiteral("48.5"));
    form.edY->setText(QStringLiteral("135.25"));
    QTest::mouseClick(form.bInsertOne, Qt::LeftButton);
    const QStringList table = cells();
    const TPngImage bare = form.a;
    const int assemblies = form.assemblies();

    QTest::mouseClick(form.ch3, Qt::LeftButton);
    ASSERT_TRUE(form.ch3->isChecked());
    EXPECT_EQ(form.assemblies(), assemblies + 1);
    EXPECT_EQ(cells(), table);
    EXPECT_EQ(pixelAt(form.a, 5, 150), kBand);
    EXPECT_EQ(pixelAt(form.a, 5, 250), kFarEast);
    EXPECT_EQ(form.points.num, 1);
    const Tpoint p = farEastPoint();
    EXPECT_EQ(pixelAt(form.Image1->picture(), static_cast<int>(p.xImg), static_cast<int>(p.yImg)),
              (Rgba{0, 0, 0, 255}));

    QTest::mouseClick(form.ch3, Qt::LeftButton);
    EXPECT_EQ(form.assemblies(), assemblies + 2);
    EXPECT_EQ(form.a, bare);
    EXPECT_EQ(cells(), table);
}

TEST_F(ShellTest, MapSwitchEmptiesTheTableAndTakesTheMapsConstants) {
    TmainForm& form = open();
    form.edX->setText(QStringLiteral("48.5"));
    form.edY->setText(QStringLiteral("135.25"));
    QTest::mouseClick(form.bInsertOne, Qt::LeftButton);
    ASSERT_EQ(form.points.num, 1);

    form.cbMap->setFocus();
    QTest::keyClick(form.cbMap, Qt::Key_Up);
    ASSERT_EQ(form.cbMap->currentText(), QStringLiteral("Вьетнам"));
    EXPECT_EQ(form.PAR, PAR_map[kMapVietnam]);
    EXPECT_EQ(form.points.num, 0);
    EXPECT_EQ(form.StringGrid1->table().cell(2, 0), markerTypeNames()[2]);
    EXPECT_TRUE(form.StringGrid1->table().cell(0, 1).isEmpty());
    EXPECT_EQ(form.a.Width(), 200);
    EXPECT_EQ(pixelAt(form.Image1->picture(), 0, 0), kVietnam);

    QTest::keyClick(form.cbMap, Qt::Key_Down);
    EXPECT_EQ(form.PAR, PAR_map[kMapFarEast]);
    EXPECT_EQ(form.a.Width(), kFarEastWidth);
}

TEST_F(ShellTest, RedMarkersRedrawWithoutReassembly) {
    TmainForm& form = open();
    form.edX->setText(QStringLiteral("48.5"));
    form.edY->setText(QStringLiteral("135.25"));
    QTest::mouseClick(form.bInsertOne, Qt::LeftButton);
    const int assemblies = form.assemblies();
    const int passes = form.markerPasses();

    QTest::mouseClick(form.cbRedPoint, Qt::LeftButton);
    EXPECT_EQ(form.assemblies(), assemblies);
    EXPECT_EQ(form.markerPasses(), passes + 1);
    const Tpoint p = farEastPoint();
    // A black icon keeps the map's red sample.
    EXPECT_EQ(pixelAt(form.Image1->picture(), static_cast<int>(p.xImg), static_cast<int>(p.yImg)),
              (Rgba{kFarEast[0], 0, 0, 255}));
}

// The examples of the two coupled size controls, each from the state after start-up.
TEST_F(ShellTest, SizeFieldAndSliderFollowEachOther) {
    struct Case {
        const char* name;
        std::function<void(TmainForm&)> change;
        const char* field;
        int bar;
        int size;
        int passes;
    };
    const auto typed = [](const char* text) {
        return [text](TmainForm& form) { form.Edit3->setText(QString::fromUtf8(text)); };
    };
    const auto slid = [](std::vector<int> positions) {
        return [positions](TmainForm& form) {
            for (const int position : positions) {
                form.ScrollBar1->setValue(position);
            }
        };
    };
    const Case cases[] = {
        {"5 becomes the minimum, drawn twice", typed("5"), "10", 0, 10, 2},
        {"text counts as 0", typed("abc"), "10", 0, 10, 2},
        {"empty counts as 0", typed(""), "10", 0, 10, 2},
        {"500 becomes the maximum", typed("500"), "128", 100, 128, 2},
        {"75 within the limits", typed("75"), "75", 55, 75, 1},
        {"slider 42 to 50 writes the field", slid({50}), "69", 50, 69, 1},
        {"slider on to 51 stays in the dead band", slid({50, 51}), "69", 51, 70, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TmainForm& form = open();
        ASSERT_EQ(form.pntSize, 60);
        const int before = form.markerPasses();
        c.change(form);
        EXPECT_EQ(form.Edit3->text(), QString::fromLatin1(c.field));
        EXPECT_EQ(form.ScrollBar1->value(), c.bar);
        EXPECT_EQ(form.pntSize, c.size);
        EXPECT_EQ(form.markerPasses(), before + c.passes);
    }
}

TEST_F(ShellTest, BadCellShowsTheConversionErrorAndTheWindowGoesOn) {
    TmainForm& form = open();
    form.edX->setText(QStringLiteral("48.5"));
    form.edY->setText(QStringLiteral("135.25"));
    QTest::mouseClick(form.bInsertOne, Qt::LeftButton);
    const TPngImage shown = form.Image1->picture();

    typeIntoCell(1, 1, QStringLiteral("N48, E135"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    settle();
    // The message, then the cell by its column's header and its row.
    EXPECT_EQ(errors_, QStringList{QStringLiteral("'N48' is not a valid floating point value\n"
                                                  "Ячейка: столбец «круги полые», строка 1")});
    EXPECT_EQ(form.StringGrid1->table().cell(1, 1), QStringLiteral("N48, E135"));
    EXPECT_EQ(form.Image1->picture(), shown);

    // Corrected, the cell draws again.
    errors_.clear();
    typeIntoCell(1, 1, QStringLiteral("46.5, 115"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    settle();
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(form.StringGrid1->table().cell(1, 1), QStringLiteral("46.5, 115"));
    EXPECT_EQ(form.points.num, 2);
}

TEST_F(ShellTest, ErrorDuringStartUpIsShownAndTheWindowOpens) {
    writeBytes(baseImagePath(dataDir(), kMapCaptions[kMapFarEast], false), "not a picture");
    TmainForm& form = open();
    ASSERT_EQ(errors_.size(), 1);
    EXPECT_TRUE(errors_[0].contains(QStringLiteral("blank.png"))) << errors_[0].toStdString();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.pnLoad->isVisible());
    EXPECT_EQ(form.PAR, PAR_map[kMapFarEast]);
    EXPECT_EQ(form.StringGrid1->table().cell(0, 0), markerTypeNames()[0]);
}

// Requests that arrive while an assembly gives the event loop its turns wait for it, merge, and
// run once after it: the picture then shows the state of the last request.
TEST_F(ShellTest, RequestsDuringAnAssemblyAreDeferredAndMerged) {
    TmainForm& form = open();
    const int assemblies = form.assemblies();
    bool arrived = false;
    QTimer::singleShot(0, &form, [&] {
        arrived = true;
        EXPECT_TRUE(form.pnLoad->isVisible());
        const TPngImage before = form.a;
        QTest::mouseClick(form.ch3, Qt::LeftButton);         // an assembly without the band
        QTest::mouseClick(form.cbRedPoint, Qt::LeftButton);  // a marker pass
        QTest::mouseClick(form.bNewMap, Qt::LeftButton);     // another assembly
        EXPECT_EQ(form.assemblies(), assemblies + 1) << "a request ran inside the assembly";
        EXPECT_EQ(form.a, before) << "the map changed under the running blend";
    });
    // A layer switched on is blended, so the assembly yields; an assembly of what was assembled
    // before blends nothing again.
    QTest::mouseClick(form.ch3, Qt::LeftButton);

    ASSERT_TRUE(arrived);
    EXPECT_EQ(form.assemblies(), assemblies + 2);
    EXPECT_FALSE(form.ch3->isChecked());
    EXPECT_EQ(pixelAt(form.a, 5, 150), kFarEast);
    EXPECT_EQ(form.Image1->picture(), form.a);
    EXPECT_FALSE(form.pnLoad->isVisible());
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
}

TEST_F(ShellTest, SavedTableOpensAgainAndIsDrawn) {
    TmainForm& form = open();
    form.edX->setText(QStringLiteral("48.5"));
    form.edY->setText(QStringLiteral("135.25"));
    QTest::mouseClick(form.bInsertOne, Qt::LeftButton);
    QTest::mouseClick(form.rgType->button(8), Qt::LeftButton);
    form.edX->setText(QStringLiteral("46.5"));
    form.edY->setText(QStringLiteral("115"));
    QTest::mouseClick(form.bInsertOne, Qt::LeftButton);
    const QStringList saved = cells();

    tableName_ = path(QStringLiteral("t.points"));
    QTest::mouseClick(form.bSeveProject, Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(tableName_));
    EXPECT_EQ(readBytes(tableName_).left(8), QByteArray("9\r\n70\r\n\xEA", 8));  // then CP1251 "к"

    QTest::mouseClick(form.bNewMap, Qt::LeftButton);
    ASSERT_EQ(form.points.num, 0);
    int assemblies = form.assemblies();
    QTest::mouseClick(form.bOpenProject, Qt::LeftButton);
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(cells(), saved);
    EXPECT_EQ(form.assemblies(), assemblies + 1);
    EXPECT_EQ(form.points.num, 2);

    // A cancelled dialog keeps the table and still rebuilds the map.
    tableName_.clear();
    assemblies = form.assemblies();
    QTest::mouseClick(form.bOpenProject, Qt::LeftButton);
    EXPECT_EQ(cells(), saved);
    EXPECT_EQ(form.assemblies(), assemblies + 1);
    QTest::mouseClick(form.bSeveProject, Qt::LeftButton);
    EXPECT_TRUE(errors_.isEmpty());
}

// The name's extension decides the format when it names one of the three types, the chosen
// file type otherwise; the dialog opens with the name and the type of the export before.
TEST_F(ShellTest, ExportWritesTheTypeTheNameSays) {
    struct Case {
        const char* name;
        ExportFormat chosen;
        ExportFormat written;
        QByteArray magic;
    };
    const QByteArray jpeg("\xFF\xD8\xFF", 3);
    const QByteArray png("\x89PNG", 4);
    const QByteArray bmp("BM", 2);
    const Case cases[] = {
        {"map.png", ExportFormat::Bmp, ExportFormat::Png, png},
        {"map2.JPEG", ExportFormat::Png, ExportFormat::Jpeg, jpeg},
        {"map3.bmp", ExportFormat::Jpeg, ExportFormat::Bmp, bmp},
        {"map4.tif", ExportFormat::Png, ExportFormat::Png, png},
    };
    TmainForm& form = open();
    form.edX->setText(QStringLiteral("48.5"));
    form.edY->setText(QStringLiteral("135.25"));
    QTest::mouseClick(form.bInsertOne, Qt::LeftButton);
    PictureTarget last;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pictureTarget_ = PictureTarget{path(QString::fromLatin1(c.name)), c.chosen};
        QTest::mouseClick(form.bSaveImage, Qt::LeftButton);
        ASSERT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
        EXPECT_EQ(pictureDialogsOpened_.last().fileName, last.fileName);
        EXPECT_EQ(pictureDialogsOpened_.last().format, last.format);
        EXPECT_EQ(readBytes(pictureTarget_->fileName).left(c.magic.size()), c.magic);
        // Full size, not the size on the screen.
        EXPECT_EQ(QImage(pictureTarget_->fileName).size(), QSize(kFarEastWidth, kFarEastHeight));
        last = {pictureTarget_->fileName, c.written};
    }

    // Cancelled: nothing is written.
    pictureTarget_.reset();
    QTest::mouseClick(form.bSaveImage, Qt::LeftButton);
    EXPECT_EQ(QDir(dir_.path()).entryList({QStringLiteral("map*")}, QDir::Files).size(), 4);
}

// Without a map there is nothing to save: the button says so before any dialog.
TEST_F(ShellTest, ExportWithoutAMapIsRefusedBeforeTheDialog) {
    QDir(dataDir() + QStringLiteral("maps")).removeRecursively();
    TmainForm& form = open();
    pictureTarget_ = PictureTarget{path(QStringLiteral("map.png")), ExportFormat::Png};
    QTest::mouseClick(form.bSaveImage, Qt::LeftButton);
    EXPECT_TRUE(pictureDialogsOpened_.isEmpty());
    EXPECT_EQ(errors_,
              QStringList{QStringLiteral("Нет изображения для сохранения: карта ещё не собрана")});
    EXPECT_FALSE(QFile::exists(pictureTarget_->fileName));
}

}  // namespace

}  // namespace zelkora
