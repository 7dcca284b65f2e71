#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>

class QAction;
class QLabel;
class QPushButton;
class QPlainTextEdit;

namespace zelkora {

class ImportReport;

// The message after a paste or an import of points: how many lines or records gave points and
// how many gave none, the first of those without a point with their numbers and text, and the
// points that fall outside the map, with a hint where a swap or a sign would put one on it; an
// import says besides how its file was read and where each group went. It does not block the
// window, and the user closes it; the points read stay inserted. One box serves every paste and
// import: the next one replaces what it says, and a paste that went well closes it.
class ReportBox : public QDialog {
  public:
    // How many lines without a point the box lists.
    static constexpr int kShownLines = 20;

    // A word of advice under the list, with a button that acts on it ("Переключить на карту
    // «Вьетнам»"); the button runs its action once and goes. No button when buttonText is empty.
    struct Advice {
        QString text;
        QString buttonText;
        std::function<void()> action;
        QString doneText;  // what the advice says once its button was used
    };

    // What the box says: its title, a summary over the list, the list, and the advice.
    struct Content {
        QString title;
        QString summary;
        QStringList details;
        Advice advice;
    };

    explicit ReportBox(QWidget* parent);

    // Shows the report of the paste just made in the window's box, or closes the box when the
    // paste needs no word. The window's actions given (undo and redo) work in the box too, so
    // Ctrl+Z takes the paste back wherever the keyboard is.
    static void showFor(QWidget* window, const ImportReport& report,
                        const QList<QAction*>& windowActions = {}, const Advice& advice = {});

    // Shows content in the window's box, whatever it said before.
    static void present(QWidget* window, const Content& content,
                        const QList<QAction*>& windowActions = {});

    // The lines that name a report's records: the first kShownLines without a point, and the
    // points outside the map that the report kept; the rest are counted.
    static QStringList recordLines(const ImportReport& report);

    QString summaryText() const;
    QString detailsText() const;
    QString adviceText() const;
    // The advice's button; hidden when there is none.
    QPushButton* adviceButton() const { return adviceButton_; }

  private:
    QLabel* summary_;
    QPlainTextEdit* details_;
    QLabel* advice_;
    QPushButton* adviceButton_;
    std::function<void()> adviceAction_;
    QString adviceDone_;
};

}  // namespace zelkora
