#include "shell/ReportBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "table/ImportReport.h"

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
    details_ = new QPlainTextEdit(this);
    details_->setReadOnly(true);
    details_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
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
    if (!report.hasNews() && advice.text.isEmpty()) {
        if (ReportBox* box = boxOf(window)) {
            box->hide();
        }
        return;
    }
    QString summary = report.summary();
    if (report.unreadCount() > 0) {
        summary += QStringLiteral(" Точки из прочитанных строк вставлены.");
    }
    present(window, {QStringLiteral("Вставка точек"), summary, recordLines(report), advice},
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
    box->details_->setPlainText(content.details.join(QLatin1Char('\n')));
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

QStringList ReportBox::recordLines(const ImportReport& report) {
    QStringList lines;
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
