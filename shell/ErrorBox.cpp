#include "shell/ErrorBox.h"

#include <QFontMetrics>
#include <QMessageBox>
#include <QTextLayout>

namespace zelkora {

QStringList ErrorBox::wrap(const QString& message, const QFont& font, int width) {
    QStringList lines;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString& paragraph : message.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        if (paragraph.isEmpty()) {
            lines << QString();
        }
    }
    return lines;
}

std::unique_ptr<QMessageBox> ErrorBox::create(QWidget* parent, const QString& message) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, QStringLiteral("Zelkora"),
                                             QString(), QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    QStringList lines = wrap(message, box->font(), kTextWidth);
    if (lines.size() > kMaxLines) {
        lines.resize(kMaxLines);
        const QString more = QStringLiteral(" …");
        const QFontMetrics metrics(box->font());
        QString& last = lines.last();
        while (!last.isEmpty() && metrics.horizontalAdvance(last + more) > kTextWidth) {
            last.chop(1);
        }
        last += more;
        box->setDetailedText(message);
    }
    box->setText(lines.join(QLatin1Char('\n')));
    return box;
}

}  // namespace zelkora
