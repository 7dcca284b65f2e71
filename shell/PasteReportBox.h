#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;

namespace zelkora {

class ImportReport;

// The message after a paste that left something to say: how many lines gave points and how
// many gave none, the first lines without a point with their numbers and text, and the points
// that fall outside the map, with a hint where a swap or a sign would put one on it. It does
// not block the window, and the user closes it; the points read stay inserted. One box serves
// every paste: a new paste replaces what it says, or closes it when all went well.
class PasteReportBox : public QDialog {
  public:
    // How many lines without a point the box lists.
    static constexpr int kShownLines = 20;

    explicit PasteReportBox(QWidget* parent);

    // Shows the report of the paste just made in the window's box, or closes the box when the
    // paste needs no word.
    static void showFor(QWidget* window, const ImportReport& report);

    QString summaryText() const;
    QString detailsText() const;

  private:
    void fill(const ImportReport& report);

    QLabel* summary_;
    QPlainTextEdit* details_;
};

}  // namespace zelkora
