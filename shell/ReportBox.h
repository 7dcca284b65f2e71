#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>
#include <vector>

#include "table/ImportReport.h"

class QAction;
class QLabel;
class QPushButton;
class QTextBrowser;

namespace zelkora {

// The message after a paste or an import of points: how many lines or records gave points and
// how many gave none, the first of those without a point with their numbers and text, and the
// points that fall outside the map, with a hint where a swap or a sign would put one on it; an
// import says besides how its file was read and where each group went. It does not block the
// window, and the user closes it; the points read stay inserted. One box serves every paste and
// import: the next one replaces what it says, and a paste that went well closes it.
class ReportBox : public QDialog {
  public:
    // How many lines the box lists: of a paste, every line up to this many; of a file of
    // records, the records without a point.
    static constexpr int kShownLines = 100;

    // A word of advice under the list, with a button that acts on it ("Переключить на карту
    // «Вьетнам»"); the button runs its action once and goes. No button when buttonText is empty.
    struct Advice {
        QString text;
        QString buttonText;
        std::function<void()> action;
        QString doneText;  // what the advice says once its button was used
    };

    // What the box says: its title, a summary over the list, and the list: lines of text, then
    // the lines of a paste or a text import, each with the words read highlighted, one colour
    // and number a point; and the advice under it.
    struct Content {
        QString title;
        QString summary;
        QStringList details;
        std::vector<LineRecord> lines;
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
    // points outside the map that the report kept; the rest are counted. A report of lines of
    // text names them in its lines (Content::lines) instead, and here only counts the rest.
    static QStringList recordLines(const ImportReport& report);

    // One line of text as the box shows it: its number, its text with each point's words on
    // the point's colour and followed by its number, then the points (or why there is none).
    static QString lineHtml(const LineRecord& line);

    QString summaryText() const;
    QString detailsText() const;
    QString adviceText() const;
    // The advice's button; hidden when there is none.
    QPushButton* adviceButton() const { return adviceButton_; }

  private:
    QLabel* summary_;
    QTextBrowser* details_;
    QLabel* advice_;
    QPushButton* adviceButton_;
    std::function<void()> adviceAction_;
    QString adviceDone_;
};

}  // namespace zelkora
