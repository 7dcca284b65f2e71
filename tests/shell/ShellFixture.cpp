#include "tests/shell/ShellFixture.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <algorithm>

#include "mapimage/DataPaths.h"
#include "projection/Tpar.h"
#include "shell/StringGrid.h"
#include "table/PointTable.h"

namespace zelkora {

void ShellTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    // The settings of the test run only (ShellTestMain.cpp moves them), emptied.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zelkora"),
                       QStringLiteral("zelkora"));
    const QString ownFolder = QString::fromLocal8Bit(qgetenv("ZELKORA_TEST_SETTINGS"));
    ASSERT_FALSE(ownFolder.isEmpty());
    ASSERT_TRUE(settings.fileName().startsWith(ownFolder)) << settings.fileName().toStdString();
    settings.clear();
    const QString data = dataDir();
    for (const int map : {kMapVietnam, kMapFarEast}) {
        QDir().mkpath(mapFolderPath(data, kMapCaptions[map], false));
    }
    QDir().mkpath(QFileInfo(iconPath(data, 0)).path());
    filled(kFarEastWidth, kFarEastHeight, kFarEast)
        .SaveToFile(baseImagePath(data, kMapCaptions[kMapFarEast], false));
    TPngImage band = TPngImage::CreateBlank(kFarEastWidth, kFarEastHeight);
    for (int y = 100; y < 200; ++y) {
        for (int x = 0; x < kFarEastWidth; ++x) {
            setPixel(band, x, y, kBand);
        }
    }
    band.SaveToFile(layerImagePath(data, kMapCaptions[kMapFarEast], false, kLayerCaptions[2]));
    filled(200, 300, kVietnam).SaveToFile(baseImagePath(data, kMapCaptions[kMapVietnam], false));
    for (int type = 0; type < 9; ++type) {
        filled(8, 8, {0, 0, 0, 255}).SaveToFile(iconPath(data, type));
    }
}

TmainForm& ShellTest::open(const QString& data) {
    TmainForm::Hooks hooks;
    hooks.dataDir = data.isEmpty() ? dataDir() : data;
    hooks.errorBox = [this](const QString& message) { errors_ << message; };
    hooks.saveTableName = [this] { return tableName_; };
    hooks.openTableName = [this] { return tableName_; };
    hooks.askSaveChanges = [this] {
        ++saveQuestions_;
        return saveAnswer_;
    };
    hooks.savePictureName = [this](const PictureTarget& last) {
        pictureDialogsOpened_ << last;
        return pictureTarget_;
    };
    form_ = std::make_unique<TmainForm>(hooks);
    form_->show();
    QApplication::setActiveWindow(form_.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    return *form_;
}

void ShellTest::settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void ShellTest::clickCell(int col, int row) {
    StringGrid& grid = *form_->StringGrid1;
    const QModelIndex cell = grid.model()->index(row, col);
    grid.scrollTo(cell);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(cell).center());
}

void ShellTest::typeIntoCell(int col, int row, const QString& text) {
    StringGrid& grid = *form_->StringGrid1;
    // A click chooses the cell; on a cell already chosen it would open the editor.
    if (!grid.hasFocus() || !grid.userChoseCell() ||
        grid.currentIndex() != grid.model()->index(row, col)) {
        clickCell(col, row);
    }
    ASSERT_FALSE(grid.EditorMode());
    QTest::keyClick(&grid, text.at(0).toLatin1());
    ASSERT_TRUE(grid.EditorMode());
    QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
}

QStringList ShellTest::cells() const {
    const PointTable& table = form_->StringGrid1->table();
    QStringList all;
    for (int c = 0; c < table.ColCount(); ++c) {
        for (int r = 0; r < table.RowCount(); ++r) {
            all << table.cell(c, r);
        }
    }
    return all;
}

}  // namespace zelkora
