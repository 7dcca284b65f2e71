#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "mapimage/TPngImage.h"
#include "shell/TmainForm.h"
#include "tests/support/TestImages.h"

namespace zelkora {

// A data folder beside a window under test: "Дальний Восток" as a 1113 x 2000 opaque base with
// one layer, "Границы районов", an opaque red band over rows 100 to 199; "Вьетнам" as a small
// base of another colour; and black 8 x 8 icons for all nine marker types. The window opens on
// it with every dialog and the error box replaced by the fixture, and with the settings of a
// first run: each test starts from none remembered.
class ShellTest : public testing::Test {
  protected:
    static constexpr Rgba kFarEast = {230, 220, 200, 255};
    static constexpr Rgba kVietnam = {180, 200, 220, 255};
    static constexpr Rgba kBand = {200, 0, 0, 255};
    static constexpr int kFarEastWidth = 1113;
    static constexpr int kFarEastHeight = 2000;

    void SetUp() override;

    // Opens the window, shown and active, on dataDir (the fixture's when empty).
    TmainForm& open(const QString& dataDir = QString());
    QString dataDir() const { return dir_.path() + QLatin1Char('/'); }
    QString path(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }

    // Lets queued events run, as the event loop would next.
    static void settle();
    // Clicks the cell as a user does.
    void clickCell(int col, int row);
    // Types text into the cell as a user does: the first key opens the editor, the others go
    // into it. The editor is left open.
    void typeIntoCell(int col, int row, const QString& text);
    // Every cell of the table, column by column.
    QStringList cells() const;

    QTemporaryDir dir_;
    std::unique_ptr<TmainForm> form_;
    QStringList errors_;
    QString tableName_;  // what the table dialogs answer
    // What the question on closing a changed table answers, and how often it was asked.
    TmainForm::SaveAnswer saveAnswer_ = TmainForm::SaveAnswer::Discard;
    int saveQuestions_ = 0;
    std::optional<PictureTarget> pictureTarget_;  // what the picture dialog answers
    QList<PictureTarget> pictureDialogsOpened_;   // what it was opened with
};

}  // namespace zelkora
