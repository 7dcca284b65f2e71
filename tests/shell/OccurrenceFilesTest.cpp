// Files of points in the window: dropped on it, imported and exported from the table's context
// menu through the import dialog, and the report box after an import.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUrl>
#include <functional>

#include "records/OccurrenceFormats.h"
#include "shell/ImportDialog.h"
#include "shell/OccurrenceFiles.h"
#include "shell/RadioGroup.h"
#include "shell/ReportBox.h"
#include "shell/StringGrid.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"
#include "table/TableFile.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/TestFiles.h"

namespace zelkora {

namespace {

// Three species, a decimal comma in quotes, a record without coordinates in the middle and a
// point whose longitude lost its sign, which falls off the map.
const QByteArray kSpeciesCsv =
    "scientificName,decimalLatitude,decimalLongitude\r\n"
    "Papilio maackii,43.1,131.9\r\n"
    "Parnassius stubbendorfii,48.5,135.25\r\n"
    "Papilio maackii,\"48,6\",\"135,3\"\r\n"
    "Lycaena dispar,,\r\n"
    "Lycaena dispar,53,158.6\r\n"
    "Papilio maackii,43.1,-131.9\r\n";

class OccurrenceFilesTest : public ShellTest {
  protected:
    QString file(const QString& name, const QByteArray& bytes) {
        const QString p = path(name);
        writeBytes(p, bytes);
        return p;
    }

    // The drag of files entering target, then, when target takes it, their drop on it.
    // Returns whether the drag was taken.
    static bool drop(QWidget* target, const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        EXPECT_TRUE(dropped.isAccepted());
        settle();
        return true;
    }

    ReportBox* reportBox() const { return form_->findChild<ReportBox*>(); }

    // The hooks of the file dialogs and the import dialog, which answers as dialog says: by
    // default, it takes what the dialog offers with the points off the map kept.
    void answerDialogs(const QString& importName, std::optional<PointFileTarget> exportTarget = {},
                       std::function<bool(ImportDialog&)> dialog = {}) {
        OccurrenceFiles::Hooks hooks;
        hooks.importFileName = [importName] { return importName; };
        hooks.exportTarget = [exportTarget] { return exportTarget; };
        hooks.importDialog = dialog ? std::move(dialog) : keepingAll();
        form_->occurrenceFiles->setHooks(hooks);
    }

    static std::function<bool(ImportDialog&)> keepingAll() {
        return [](ImportDialog& dialog) {
            dialog.rbKeep->click();
            return true;
        };
    }

    const PointTable& table() const { return form_->StringGrid1->table(); }
};

// A CSV dropped on the window goes in by species, one column each, as one undo step, and the
// box tells how the file was read, where each species went, the record without a point with
// its line, and the point off the map.
TEST_F(OccurrenceFilesTest, ADroppedCsvIsImportedBySpeciesAsOneStepWithItsReport) {
    TmainForm& form = open();
    answerDialogs(QString());
    const QStringList before = cells();
    const int steps = form.undoStack().count();
    const QString name = file(QStringLiteral("species.csv"), kSpeciesCsv);
    ASSERT_TRUE(drop(&form, {QUrl::fromLocalFile(name)}));
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();

    EXPECT_EQ(table().cell(0, 0), QStringLiteral("Papilio maackii"));
    EXPECT_EQ(table().cell(0, 1), QStringLiteral("43.100000, 131.900000"));
    EXPECT_EQ(table().cell(0, 2), QStringLiteral("48.600000, 135.300000"));
    EXPECT_EQ(table().cell(0, 3), QStringLiteral("43.100000, -131.900000"));
    EXPECT_EQ(table().cell(1, 0), QStringLiteral("Parnassius stubbendorfii"));
    EXPECT_EQ(table().cell(1, 1), QStringLiteral("48.500000, 135.250000"));
    EXPECT_EQ(table().cell(2, 0), QStringLiteral("Lycaena dispar"));
    EXPECT_EQ(table().cell(2, 1), QStringLiteral("53.000000, 158.600000"));
    EXPECT_EQ(table().cell(3, 0), markerTypeNames()[3]);
    EXPECT_EQ(form.points.num, 4) << "the point off the map takes no place in the list";
    EXPECT_EQ(form.undoStack().count(), steps + 1);
    EXPECT_EQ(form.acUndo->text(), QStringLiteral("Отменить: Импорт «species.csv»"));

    ReportBox* box = reportBox();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Импорт точек"));
    EXPECT_EQ(box->summaryText(), QStringLiteral("Импорт «species.csv». Прочитано строк с точками: "
                                                 "5, без точки: 1. Вне карты: 1."));
    const QString details = box->detailsText();
    for (const char* line : {
             "«species.csv»: CSV, разделитель «,», кодировка UTF-8",
             "«Papilio maackii» — круги залитые: 3 точки.",
             "«Parnassius stubbendorfii» — круги полые: 1 точка.",
             "«Lycaena dispar» — треугольники залитые: 1 точка.",
             "Строка 5: ",
             "Строка 7: точка 43.100000, -131.900000 вне карты",
         }) {
        EXPECT_TRUE(details.contains(QString::fromUtf8(line))) << line << "\n"
                                                               << details.toStdString();
    }

    form.acUndo->trigger();
    EXPECT_EQ(cells(), before);
}

// The drag is taken only of local files the window reads, wherever on the window it ends: over
// a field that takes dropped text too, the file is imported and the field keeps its text.
TEST_F(OccurrenceFilesTest, TakesOnlyTheFilesItReadsWhereverTheyAreDropped) {
    TmainForm& form = open();
    answerDialogs(QString());
    const QString gpx = file(QStringLiteral("way.GPX"),
                             "<?xml version=\"1.0\"?><gpx version=\"1.1\" creator=\"t\" "
                             "xmlns=\"http://www.topografix.com/GPX/1/1\">"
                             "<wpt lat=\"48.5\" lon=\"135.25\"><name>a</name></wpt></gpx>");
    const QString png = file(QStringLiteral("map.png"), "\x89PNG");
    const QString csv = file(QStringLiteral("species.csv"), kSpeciesCsv);
    struct Case {
        const char* name;
        QWidget* target;
        QList<QUrl> urls;
        bool taken;
    };
    const Case cases[] = {
        {"a picture", &form, {QUrl::fromLocalFile(png)}, false},
        {"a picture among files of points",
         &form,
         {QUrl::fromLocalFile(csv), QUrl::fromLocalFile(png)},
         false},
        {"a web address", &form, {QUrl(QStringLiteral("https://example.org/a.csv"))}, false},
        {"a GPX file with its extension in capitals, over the latitude field",
         form.edX,
         {QUrl::fromLocalFile(gpx)},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList before = cells();
        EXPECT_EQ(drop(c.target, c.urls), c.taken);
        EXPECT_EQ(cells() != before, c.taken);
        EXPECT_EQ(form.edX->text(), QStringLiteral("0.000000"));
    }
    EXPECT_EQ(table().cell(0, 1), QStringLiteral("48.500000, 135.250000"));
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
}

// A dropped table opens as "Открыть таблицу" opens it; several files of points are imported in
// turn, a file that does not read in its own error box; a table with other files is refused.
TEST_F(OccurrenceFilesTest, DroppedTablesOpenAndSeveralFilesImportInTurn) {
    TmainForm& form = open();
    answerDialogs(QString());
    PointTable saved;
    fillHeaderRow(saved);
    saved.setCell(4, 1, QStringLiteral("46.5, 135"));
    const QString points = path(QStringLiteral("t.points"));
    SaveStringGrid(saved, points);
    ASSERT_TRUE(drop(&form, {QUrl::fromLocalFile(points)}));
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(table().cell(4, 1), QStringLiteral("46.5, 135"));
    EXPECT_EQ(form.acUndo->text(), QStringLiteral("Отменить: Открыть таблицу"));

    const QStringList opened = cells();
    const QString csv = file(QStringLiteral("species.csv"), kSpeciesCsv);
    ASSERT_TRUE(drop(&form, {QUrl::fromLocalFile(points), QUrl::fromLocalFile(csv)}));
    ASSERT_EQ(errors_.size(), 1);
    EXPECT_TRUE(errors_[0].startsWith(QStringLiteral("Таблица открывается одна")))
        << errors_[0].toStdString();
    EXPECT_EQ(cells(), opened);

    errors_.clear();
    const QString missing = path(QStringLiteral("missing.csv"));
    const QString lines = file(QStringLiteral("lines.txt"), "43.2 131.9\n");
    const int steps = form.undoStack().count();
    ASSERT_TRUE(drop(&form, {QUrl::fromLocalFile(csv), QUrl::fromLocalFile(missing),
                             QUrl::fromLocalFile(lines)}));
    ASSERT_EQ(errors_.size(), 1);
    EXPECT_TRUE(errors_[0].contains(QStringLiteral("missing.csv"))) << errors_[0].toStdString();
    EXPECT_EQ(form.undoStack().count(), steps + 2);
    // The table's own column 4 keeps its point; the species take the free columns.
    EXPECT_EQ(table().cell(4, 1), QStringLiteral("46.5, 135"));
    EXPECT_EQ(table().cell(0, 0), QStringLiteral("Papilio maackii"));
    EXPECT_EQ(table().cell(form.rgType->ItemIndex(), 4), QStringLiteral("43.200000, 131.900000"));
    const QString summary = reportBox()->summaryText();
    EXPECT_TRUE(summary.contains(QStringLiteral("Импорт «species.csv».")));
    EXPECT_TRUE(summary.contains(QStringLiteral("Импорт «lines.txt».")));
}

// The context menu imports lines of coordinates in CP1251 into the chosen marker type's column,
// as a paste would; a cancelled dialog changes nothing.
TEST_F(OccurrenceFilesTest, TheMenuImportsLinesOfCoordinatesIntoTheChosenColumn) {
    TmainForm& form = open();
    ASSERT_TRUE(form.StringGrid1->actions().contains(form.occurrenceFiles->acImport));
    ASSERT_TRUE(form.StringGrid1->actions().contains(form.occurrenceFiles->acExport));
    const QStringList before = cells();
    const int steps = form.undoStack().count();
    answerDialogs(QString());
    form.occurrenceFiles->acImport->trigger();
    EXPECT_EQ(cells(), before);
    EXPECT_EQ(form.undoStack().count(), steps);
    EXPECT_FALSE(reportBox());

    // "48°28'N 135°04'E" with the degree sign of CP1251, and a line with no point.
    const QString name = file(QStringLiteral("lines.txt"),
                              "48\xB0"
                              "28'N 135\xB0"
                              "04'E\r\nnothing here\r\n");
    form.rgType->setItemIndex(6);
    answerDialogs(name);
    form.occurrenceFiles->acImport->trigger();
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(table().cell(6, 1), QStringLiteral("48.466667, 135.066667"));
    EXPECT_EQ(form.undoStack().count(), steps + 1);
    ASSERT_TRUE(reportBox());
    EXPECT_EQ(reportBox()->summaryText(),
              QStringLiteral("Импорт «lines.txt». Прочитано строк с точками: 1, без точки: 1."));
    EXPECT_TRUE(reportBox()->detailsText().contains(
        QStringLiteral("«lines.txt»: строки координат, точки — в столбец «ромбы залитые».")))
        << reportBox()->detailsText().toStdString();
    EXPECT_TRUE(reportBox()->detailsText().contains(QStringLiteral("Строка 2: ")));
}

// The table written out from the menu in each format and imported again into a new map gives
// the same table; cells that hold no point are named, and an empty table is not written.
TEST_F(OccurrenceFilesTest, TheMenuExportsEachFormatAndItsImportGivesTheSameTable) {
    TmainForm& form = open();
    answerDialogs(QString(),
                  PointFileTarget{path(QStringLiteral("none.csv")), QStringLiteral("csv")});
    form.occurrenceFiles->acExport->trigger();
    ASSERT_EQ(errors_.size(), 1);
    EXPECT_EQ(errors_[0], QStringLiteral("В таблице нет точек: экспортировать нечего."));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("none.csv"))));
    errors_.clear();

    answerDialogs(file(QStringLiteral("species.csv"), kSpeciesCsv));
    form.occurrenceFiles->acImport->trigger();
    const QStringList imported = cells();
    for (const char* format : {"csv", "geojson", "kml", "gpx"}) {
        SCOPED_TRACE(format);
        // A name without the type's extension: the chosen type decides.
        const QString out = path(QStringLiteral("out-%1.points-export").arg(format));
        answerDialogs(QString(), PointFileTarget{out, QString::fromLatin1(format)});
        form.occurrenceFiles->acExport->trigger();
        EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
        ASSERT_TRUE(readOccurrences(readBytes(out), out, {})) << "read back";

        QTest::mouseClick(form.bNewMap, Qt::LeftButton);
        answerDialogs(out);
        form.occurrenceFiles->acImport->trigger();
        EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
        EXPECT_EQ(cells(), imported);
    }

    form.StringGrid1->table().setCell(5, 1, QStringLiteral("not a point"));
    answerDialogs(QString(),
                  PointFileTarget{path(QStringLiteral("skipped.csv")), QStringLiteral("csv")});
    form.occurrenceFiles->acExport->trigger();
    ASSERT_TRUE(reportBox());
    EXPECT_EQ(reportBox()->windowTitle(), QStringLiteral("Экспорт точек"));
    EXPECT_EQ(reportBox()->summaryText(),
              QStringLiteral("Файл «skipped.csv» записан. Ячейки без точки не записаны: 1."));
    EXPECT_TRUE(reportBox()->detailsText().startsWith(
        QStringLiteral("Столбец «квадраты полые», строка 1: ")))
        << reportBox()->detailsText().toStdString();
}

// Eleven species for nine free columns: the dialog checks the nine largest and no more can be
// checked; the user picks some, and only those go in; a cancelled dialog changes nothing. With
// every column taken, nothing can be imported by species, but all of it into one column.
TEST_F(OccurrenceFilesTest, TooManyGroupsAreChosenInTheDialog) {
    TmainForm& form = open();
    QByteArray csv = "species\tlat\tlon\n";
    for (int s = 1; s <= 11; ++s) {
        for (int k = 0; k < s; ++k) {
            csv += QStringLiteral("S%1\t4%2.5\t135\n").arg(s).arg(k % 10).toUtf8();
        }
    }
    const QString name = file(QStringLiteral("eleven.tsv"), csv);
    int asked = 0;
    answerDialogs(name, {}, [&](ImportDialog& dialog) {
        ++asked;
        QTreeWidget* groups = dialog.twGroups;
        EXPECT_EQ(groups->topLevelItemCount(), 11);
        EXPECT_EQ(groups->topLevelItem(10)->text(1), QStringLiteral("11"));
        // S3 to S11 are checked, and S1 and S2 cannot be.
        EXPECT_EQ(groups->topLevelItem(0)->checkState(0), Qt::Unchecked);
        EXPECT_FALSE(groups->topLevelItem(0)->flags() & Qt::ItemIsUserCheckable);
        EXPECT_EQ(groups->topLevelItem(2)->checkState(0), Qt::Checked);
        EXPECT_EQ(groups->topLevelItem(2)->text(2), QStringLiteral("круги залитые"));
        EXPECT_TRUE(dialog.lbGroups->text().contains(QStringLiteral("отмечено 9 из 9")));
        EXPECT_TRUE(dialog.canImport());
        return false;
    });
    const QStringList before = cells();
    const int steps = form.undoStack().count();
    form.occurrenceFiles->acImport->trigger();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(cells(), before);
    EXPECT_EQ(form.undoStack().count(), steps);
    EXPECT_TRUE(errors_.isEmpty());

    answerDialogs(name, {}, [&](ImportDialog& dialog) {
        QTreeWidget* groups = dialog.twGroups;
        for (int g = 0; g < groups->topLevelItemCount(); ++g) {
            const QString group = groups->topLevelItem(g)->text(0);
            const bool take = group == QLatin1String("S11") || group == QLatin1String("S2");
            if ((groups->topLevelItem(g)->checkState(0) == Qt::Checked) != take) {
                groups->topLevelItem(g)->setCheckState(0, take ? Qt::Checked : Qt::Unchecked);
            }
        }
        EXPECT_TRUE(dialog.commandLine().contains(QStringLiteral("--groups 'S2;S11'")))
            << dialog.commandLine().toStdString();
        dialog.rbKeep->click();
        return true;
    });
    form.occurrenceFiles->acImport->trigger();
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    // In the file's order.
    EXPECT_EQ(table().cell(0, 0), QStringLiteral("S2"));
    EXPECT_EQ(table().cell(0, 2), QStringLiteral("41.500000, 135.000000"));
    EXPECT_EQ(table().cell(1, 0), QStringLiteral("S11"));
    EXPECT_EQ(table().cell(1, 11), QStringLiteral("40.500000, 135.000000"));
    EXPECT_EQ(form.undoStack().count(), steps + 1);
    EXPECT_TRUE(reportBox()->detailsText().contains(
        QStringLiteral("Точки групп, которых нет в выборе, не взяты: 53")))
        << reportBox()->detailsText().toStdString();

    // Every column holds points now: S2 and S11 keep theirs, and no other group can go in.
    for (int c = 2; c < 9; ++c) {
        form.StringGrid1->table().setCell(c, 1, QStringLiteral("50, 140"));
    }
    answerDialogs(name, {}, [&](ImportDialog& dialog) {
        EXPECT_EQ(dialog.choices().groups, (QStringList{"S2", "S11"}));
        EXPECT_TRUE(dialog.lbGroups->text().contains(QStringLiteral("отмечено 2 из 2")))
            << dialog.lbGroups->text().toStdString();
        EXPECT_FALSE(dialog.twGroups->topLevelItem(5)->flags() & Qt::ItemIsUserCheckable);
        EXPECT_TRUE(dialog.canImport());
        return false;
    });
    form.occurrenceFiles->acImport->trigger();

    // Groups new to the table find no column; all their points can go into one.
    answerDialogs(file(QStringLiteral("newcomers.csv"), "species,lat,lon\nX,50.5,141\nY,51,142\n"),
                  {}, [&](ImportDialog& dialog) {
                      EXPECT_FALSE(dialog.canImport());
                      EXPECT_TRUE(dialog.lbMessage->text().startsWith(
                          QStringLiteral("Свободных столбцов в таблице нет")))
                          << dialog.lbMessage->text().toStdString();
                      dialog.cbGroup->setCurrentIndex(0);  // no groups
                      EXPECT_TRUE(dialog.canImport());
                      dialog.cbColumn->setCurrentIndex(5);
                      EXPECT_TRUE(dialog.commandLine().contains(QStringLiteral("--ungrouped")));
                      EXPECT_TRUE(dialog.commandLine().contains(QStringLiteral("--column 5")));
                      return true;
                  });
    form.occurrenceFiles->acImport->trigger();
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(table().cell(5, 2), QStringLiteral("50.500000, 141.000000"));
}

// The dialog shows the file as it reads (its first rows, format, encoding, separator) with the
// columns found chosen; choosing a grouping column the program does not know by name lists its
// groups with their counts and marker types, and the command line follows every choice.
TEST_F(OccurrenceFilesTest, TheDialogShowsTheFileAndTakesTheColumnsChosen) {
    TmainForm& form = open();
    const QString name = file(QStringLiteral("compendium.csv"),
                              "VECTOR;OCCURRENCE_ID;Y;X;COUNTRY\r"
                              "Aedes albopictus;1;48,5;135,25;Russia\r"
                              "Aedes aegypti;2;49;136;Russia\r"
                              "Aedes albopictus;3;50;137;Russia\r");
    answerDialogs(name, {}, [&](ImportDialog& dialog) {
        EXPECT_EQ(dialog.lbFormat->text(),
                  QStringLiteral("«compendium.csv»: CSV, кодировка UTF-8, разделитель «;». "
                                 "Записей с точками: 3, без точки: 0."));
        EXPECT_EQ(dialog.twSample->columnCount(), 5);
        EXPECT_EQ(dialog.twSample->rowCount(), 3);
        EXPECT_EQ(dialog.twSample->item(1, 0)->text(), QStringLiteral("Aedes aegypti"));
        EXPECT_TRUE(dialog.rbPair->isChecked());
        EXPECT_EQ(dialog.cbLat->currentText(), QStringLiteral("«Y»"));
        EXPECT_EQ(dialog.cbLon->currentText(), QStringLiteral("«X»"));
        EXPECT_EQ(dialog.cbGroup->currentIndex(), 0) << "VECTOR is not found by its name";
        EXPECT_FALSE(dialog.twGroups->isVisibleTo(&dialog));
        EXPECT_EQ(dialog.commandWords(),
                  (QStringList{"import", "--table", "таблица.points", "--from", name, "--column",
                               "0", "--off-map", "drop"}));

        dialog.cbGroup->setCurrentIndex(dialog.cbGroup->findText(QStringLiteral("«VECTOR»")));
        EXPECT_TRUE(dialog.twGroups->isVisibleTo(&dialog));
        EXPECT_EQ(dialog.twGroups->topLevelItemCount(), 2);
        EXPECT_EQ(dialog.twGroups->topLevelItem(0)->text(0), QStringLiteral("Aedes albopictus"));
        EXPECT_EQ(dialog.twGroups->topLevelItem(0)->text(1), QStringLiteral("2"));
        EXPECT_EQ(dialog.twGroups->topLevelItem(0)->text(2), QStringLiteral("круги залитые"));
        EXPECT_EQ(dialog.twGroups->topLevelItem(1)->text(2), QStringLiteral("круги полые"));
        dialog.rbKeep->click();
        EXPECT_EQ(dialog.commandWords(),
                  (QStringList{"import", "--table", "таблица.points", "--from", name, "--group-by",
                               "VECTOR", "--off-map", "keep"}));
        // Other coordinate columns: named on the command line too.
        dialog.cbLat->setCurrentIndex(dialog.cbLat->findText(QStringLiteral("«X»")));
        dialog.cbLon->setCurrentIndex(dialog.cbLon->findText(QStringLiteral("«Y»")));
        EXPECT_TRUE(dialog.commandLine().contains(QStringLiteral("--lat X --lon Y")))
            << dialog.commandLine().toStdString();
        dialog.cbLat->setCurrentIndex(dialog.cbLat->findText(QStringLiteral("«Y»")));
        dialog.cbLon->setCurrentIndex(dialog.cbLon->findText(QStringLiteral("«X»")));
        EXPECT_FALSE(dialog.commandLine().contains(QStringLiteral("--lat")));
        return true;
    });
    form.occurrenceFiles->acImport->trigger();
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(table().cell(0, 0), QStringLiteral("Aedes albopictus"));
    EXPECT_EQ(table().cell(0, 2), QStringLiteral("50.000000, 137.000000"));
    EXPECT_EQ(table().cell(1, 0), QStringLiteral("Aedes aegypti"));
}

// Files with nothing to import get their own message and change nothing; a table whose header
// names no coordinates opens the dialog, which says which columns it has and waits for them to
// be chosen.
TEST_F(OccurrenceFilesTest, BadFilesAreSaidSoAndColumnsCanBeChosen) {
    TmainForm& form = open();
    const QStringList before = cells();
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* error;
    };
    const Case cases[] = {
        {"empty.csv", "", "«empty.csv»: Файл пуст"},
        {"blank.txt", "\r\n \r\n", "«blank.txt»: Файл пуст"},
        {"picture.csv", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
         "picture.csv\" — не текстовый файл"},
    };
    int dialogs = 0;
    for (const Case& c : cases) {
        errors_.clear();
        answerDialogs(file(QLatin1String(c.name), c.bytes), {}, [&](ImportDialog&) {
            ++dialogs;
            return true;
        });
        form.occurrenceFiles->acImport->trigger();
        ASSERT_EQ(errors_.size(), 1) << c.name;
        EXPECT_TRUE(errors_[0].contains(QString::fromUtf8(c.error))) << errors_[0].toStdString();
    }
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(cells(), before);

    errors_.clear();
    answerDialogs(
        file(QStringLiteral("sites.csv"), "site,north,east\nA,48.5,135.25\nB,49,136\n"), {},
        [&](ImportDialog& dialog) {
            EXPECT_FALSE(dialog.canImport());
            EXPECT_FALSE(dialog.bImport->isEnabled());
            EXPECT_EQ(dialog.lbMessage->text(),
                      QStringLiteral("В заголовке не найдены столбцы координат. Есть "
                                     "столбцы: «site», «north», «east». Выберите их в "
                                     "списках выше."));
            dialog.cbLat->setCurrentIndex(2);  // after "—": site, north
            EXPECT_FALSE(dialog.canImport());
            dialog.cbLon->setCurrentIndex(3);
            EXPECT_TRUE(dialog.canImport());
            EXPECT_TRUE(dialog.lbMessage->text().isEmpty());
            EXPECT_TRUE(dialog.commandLine().contains(QStringLiteral("--lat north --lon east")));
            return true;
        });
    form.occurrenceFiles->acImport->trigger();
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(table().cell(0, 1), QStringLiteral("48.500000, 135.250000"));
    EXPECT_EQ(table().cell(0, 2), QStringLiteral("49.000000, 136.000000"));
}

// Without a hook the real dialog opens over the window, and its choice is imported.
TEST_F(OccurrenceFilesTest, TheRealDialogImports) {
    TmainForm& form = open();
    QByteArray csv = "species;latitude;longitude\n";
    for (int s = 0; s < 10; ++s) {
        csv += QStringLiteral("Sp%1;48,5;135,%2\n").arg(s).arg(s).toUtf8();
    }
    csv += "Sp9;48,5;136\n";
    answerDialogs(file(QStringLiteral("ten.csv"), csv));
    OccurrenceFiles::Hooks hooks;
    hooks.importFileName = [this] { return path(QStringLiteral("ten.csv")); };
    form.occurrenceFiles->setHooks(hooks);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<ImportDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        seen = true;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Импорт точек"));
        // Sp9 has two records and is checked; the first eight of the others are too.
        EXPECT_TRUE(dialog->canImport());
        EXPECT_EQ(dialog->twGroups->topLevelItem(8)->checkState(0), Qt::Unchecked);
        QTest::mouseClick(dialog->bImport, Qt::LeftButton);
    });
    form.occurrenceFiles->acImport->trigger();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(table().cell(0, 0), QStringLiteral("Sp0"));
    EXPECT_EQ(table().cell(8, 0), QStringLiteral("Sp9"));
    EXPECT_EQ(table().cell(8, 2), QStringLiteral("48.500000, 136.000000"));
}

}  // namespace

}  // namespace zelkora
