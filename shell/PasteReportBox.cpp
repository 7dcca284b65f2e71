#include "shell/PasteReportBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "table/ImportReport.h"

namespace zelkora {

PasteReportBox::PasteReportBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("pasteReport"));
    setWindowTitle(QStringLiteral("Вставка точек"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    details_ = new QPlainTextEdit(this);
    details_->setReadOnly(true);
    details_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close =
        buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(summary_);
    layout->addWidget(details_, 1);
    layout->addWidget(buttons);
    resize(640, 360);
}

void PasteReportBox::showFor(QWidget* window, const ImportReport& report) {
    auto* box = window->findChild<PasteReportBox*>(QStringLiteral("pasteReport"),
                                                   Qt::FindDirectChildrenOnly);
    if (!report.hasNews()) {
        if (box) {
            box->hide();
        }
        return;
    }
    if (!box) {
        box = new PasteReportBox(window);
    }
    box->fill(report);
    box->show();
    box->raise();
    box->activateWindow();
}

void PasteReportBox::fill(const ImportReport& report) {
    QString summary = report.summary();
    if (report.unreadCount() > 0) {
        summary += QStringLiteral(" Точки из прочитанных строк вставлены.");
    }
    summary_->setText(summary);
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
    details_->setPlainText(lines.join(QLatin1Char('\n')));
}

QString PasteReportBox::summaryText() const {
    return summary_->text();
}

QString PasteReportBox::detailsText() const {
    return details_->toPlainText();
}

}  // namespace zelkora
