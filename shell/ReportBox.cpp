#include "shell/ReportBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "common/VisibleText.h"
#include "table/CoordFormat.h"

namespace zelkora {

namespace {

const QString kObjectName = QStringLiteral("reportBox");

ReportBox* boxOf(QWidget* window) {
    return window->findChild<ReportBox*>(kObjectName, Qt::FindDirectChildrenOnly);
}

}  // namespace

ReportBox::ReportBox(QWidget* parent) : QDialog(parent) {
    setObjectName(kObjectName);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    details_ = new QTextBrowser(this);
    details_->setReadOnly(true);
    details_->setOpenLinks(false);
    details_->setLineWrapMode(QTextEdit::WidgetWidth);
    advice_ = new QLabel(this);
    advice_->setWordWrap(true);
    advice_->hide();
    auto* buttons = new QDialogButtonBox(this);
    adviceButton_ = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    adviceButton_->hide();
    connect(adviceButton_, &QPushButton::clicked, this, [this] {
        adviceButton_->hide();
        if (!adviceDone_.isEmpty()) {
            advice_->setText(adviceDone_);
        }
        if (const std::function<void()> action = std::exchange(adviceAction_, {})) {
            action();
        }
    });
    QPushButton* close =
        buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(summary_);
    layout->addWidget(details_, 1);
    layout->addWidget(advice_);
    layout->addWidget(buttons);
    resize(640, 360);
}

void ReportBox::showFor(QWidget* window, const ImportReport& report,
                        const QList<QAction*>& windowActions, const Advice& advice) {
    // A paste that needs no word closes the box; one with lines without a point, points off
    // the map, several points in a line or points among words shows what was read, and so does
    // one whose map was chosen or that would rather be on the other.
    if (!report.hasNews() && !report.hasReadings() && advice.text.isEmpty()) {
        if (ReportBox* box = boxOf(window)) {
            box->hide();
        }
        return;
    }
    QString summary = report.summary();
    if (report.unreadCount() > 0) {
        summary += QStringLiteral(" Точки из прочитанных строк вставлены.");
    }
    present(window,
            {QStringLiteral("Вставка точек"), summary, recordLines(report), report.lines(), advice},
            windowActions);
}

void ReportBox::present(QWidget* window, const Content& content,
                        const QList<QAction*>& windowActions) {
    ReportBox* box = boxOf(window);
    if (!box) {
        box = new ReportBox(window);
    }
    box->setWindowTitle(content.title);
    box->summary_->setText(content.summary);
    QString html;
    for (const QString& line : content.details) {
        html += QStringLiteral("<p style=\"margin:0\">%1</p>").arg(line.toHtmlEscaped());
    }
    for (const LineRecord& line : content.lines) {
        html += lineHtml(line);
    }
    box->details_->setHtml(html);
    box->advice_->setText(content.advice.text);
    box->advice_->setVisible(!content.advice.text.isEmpty());
    box->adviceButton_->setText(content.advice.buttonText);
    box->adviceButton_->setVisible(!content.advice.buttonText.isEmpty());
    box->adviceAction_ = content.advice.action;
    box->adviceDone_ = content.advice.doneText;
    box->addActions(windowActions);
    // The keyboard stays with the window, so the next key (an undo, a typed cell) goes where the
    // user was working; the box is closed with its button.
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->show();
    box->raise();
}

namespace {

// The colours of the points of one line, in turn: light enough for the text on them.
const char* const kPointColours[] = {"#ffe08a", "#b5e8a0", "#a8d8ff", "#ffc2dc", "#d9c4ff"};

QString colourOf(std::size_t point) {
    return QString::fromLatin1(kPointColours[point % std::size(kPointColours)]);
}

QString escaped(QStringView text) {
    return visibleText(text).toHtmlEscaped();
}

}  // namespace

QString ReportBox::lineHtml(const LineRecord& line) {
    // Where each point's words begin and end.
    struct Mark {
        qsizetype at;
        bool open;
        std::size_t point;
    };
    std::vector<Mark> marks;
    for (std::size_t p = 0; p < line.points.size(); ++p) {
        for (const TextSpan& span : line.points[p].spans) {
            if (span.end() <= line.text.size()) {
                marks.push_back({span.start, true, p});
                marks.push_back({span.end(), false, p});
            }
        }
    }
    std::stable_sort(marks.begin(), marks.end(), [](const Mark& a, const Mark& b) {
        return a.at < b.at || (a.at == b.at && !a.open && b.open);
    });
    QString text;
    qsizetype from = 0;
    for (const Mark& m : marks) {
        text += escaped(QStringView(line.text).sliced(from, m.at - from));
        from = m.at;
        text += m.open
                    ? QStringLiteral("<span style=\"background-color:%1\">").arg(colourOf(m.point))
                    : QStringLiteral("</span><sup><b>%1</b></sup>").arg(m.point + 1);
    }
    text += escaped(QStringView(line.text).sliced(from));
    if (line.cut) {
        text += QStringLiteral("…");
    }
    if (line.points.empty()) {
        return QStringLiteral("<p style=\"margin:0 0 8px 0\">Строка %1: %2 — «%3»</p>")
            .arg(line.number)
            .arg(line.reason.toHtmlEscaped(), text);
    }
    QStringList points;
    for (std::size_t p = 0; p < line.points.size(); ++p) {
        const LinePointRecord& point = line.points[p];
        QString item = QStringLiteral("<span style=\"background-color:%1\"><b>%2</b></span> %3")
                           .arg(colourOf(p))
                           .arg(p + 1)
                           .arg(formatPointCell(point.lat, point.lon));
        if (point.byMap) {
            item += QStringLiteral(" <i>(выбрано по карте)</i>");
        }
        if (point.outside) {
            item += QStringLiteral(" <span style=\"color:#b00000\">вне карты</span>");
            if (!point.hint.isEmpty()) {
                item += QStringLiteral("; ") + point.hint.toHtmlEscaped();
            }
        }
        points << item;
    }
    return QStringLiteral("<p style=\"margin:0 0 8px 0\">Строка %1: «%2» → %3</p>")
        .arg(line.number)
        .arg(text, points.join(QStringLiteral("; ")));
}

QStringList ReportBox::recordLines(const ImportReport& report) {
    QStringList lines;
    if (report.lineCount() > 0) {
        const auto kept = static_cast<qsizetype>(report.lines().size());
        if (report.lineCount() > kept) {
            lines << QStringLiteral("Показаны первые строки: %1; ещё строк: %2.")
                         .arg(kept)
                         .arg(report.lineCount() - kept);
        }
        return lines;
    }
    if (report.unreadCount() > 0) {
        lines << QStringLiteral("Строки без точки:");
        const auto& unread = report.unread();
        for (std::size_t k = 0; k < unread.size() && k < kShownLines; ++k) {
            lines << ImportReport::unreadLine(unread[k]);
        }
        if (report.unreadCount() > kShownLines) {
            lines << QStringLiteral("…и ещё строк без точки: %1.")
                         .arg(report.unreadCount() - kShownLines);
        }
    }
    if (report.outsideCount() > 0) {
        if (!lines.isEmpty()) {
            lines << QString();
        }
        lines << QStringLiteral("Точки вне карты:");
        for (const OutsidePoint& point : report.outside()) {
            lines << ImportReport::outsideLine(point);
        }
        if (report.outsideCount() > static_cast<qsizetype>(report.outside().size())) {
            lines << QStringLiteral("…и ещё точек вне карты: %1.")
                         .arg(report.outsideCount() -
                              static_cast<qsizetype>(report.outside().size()));
        }
    }
    return lines;
}

QString ReportBox::summaryText() const {
    return summary_->text();
}

QString ReportBox::detailsText() const {
    return details_->toPlainText();
}

QString ReportBox::adviceText() const {
    return advice_->text();
}

}  // namespace zelkora
