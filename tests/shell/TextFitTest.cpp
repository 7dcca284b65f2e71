// Text that fits where it is shown: every caption in its control, whatever font the system
// gives, and a long error in its box. Built twice: with Tahoma, and with Tahoma hidden
// (FallbackFontMain.cpp).
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QStyle>

#include "shell/CaptionFit.h"
#include "shell/ErrorBox.h"
#include "tests/shell/ShellFixture.h"

namespace zelkora {

namespace {

QString captionOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    return {};
}

TEST_F(ShellTest, EveryCaptionFitsItsControl) {
    TmainForm& form = open();
    const QString family = QFontInfo(QApplication::font()).family();
    int captions = 0;
    for (const QWidget* widget : form.findChildren<QWidget*>()) {
        SCOPED_TRACE(captionOf(widget).toStdString());
        EXPECT_TRUE(CaptionFit::fits(widget));
        // Smaller if need be, but the same font.
        EXPECT_EQ(QFontInfo(widget->font()).family(), family);
        captions += captionOf(widget).isEmpty() ? 0 : 1;
    }
    EXPECT_GE(captions, 25);

    // The captions cut with a wider font, measured on their own.
    for (const QLabel* label : {form.Label1, form.Label3, form.Label4, form.Label5}) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()),
                  label->contentsRect().width());
    }
    const int indicator = form.style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                          form.style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    EXPECT_LE(QFontMetrics(form.ch2->font()).horizontalAdvance(form.ch2->text()) + indicator,
              form.ch2->width());
}

// A long message is wrapped to the box, inside words that are wider than it too; what does not
// fit in the box's lines is in its details, whole.
TEST(ErrorBoxTest, WrapsLongTextAndKeepsTheRestInItsDetails) {
    const QString quoted = QString(3000, QLatin1Char('7'));
    struct Case {
        const char* name;
        QString message;
        bool details;
    };
    const Case cases[] = {
        {"short", QStringLiteral("'N48' is not a valid floating point value"), false},
        {"two lines",
         QStringLiteral("'N48' is not a valid floating point value\nЯчейка: столбец «круги "
                        "полые», строка 1"),
         false},
        {"many words", QStringLiteral("Ошибка чтения файла карты. ").repeated(20), false},
        {"one long word", QStringLiteral("'%1' is not a valid floating point value").arg(quoted),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto box = ErrorBox::create(nullptr, c.message);
        const QFontMetrics metrics(box->font());
        const QStringList lines = box->text().split(QLatin1Char('\n'));
        EXPECT_LE(lines.size(), ErrorBox::kMaxLines);
        for (const QString& line : lines) {
            EXPECT_LE(metrics.horizontalAdvance(line), ErrorBox::kTextWidth) << line.toStdString();
        }
        if (c.details) {
            EXPECT_EQ(box->detailedText(), c.message);
            EXPECT_TRUE(box->text().endsWith(QStringLiteral("…")));
        } else {
            EXPECT_TRUE(box->detailedText().isEmpty());
            EXPECT_EQ(QString(box->text()).remove(QLatin1Char('\n')).remove(QLatin1Char(' ')),
                      QString(c.message).remove(QLatin1Char('\n')).remove(QLatin1Char(' ')));
        }
    }
}

}  // namespace

}  // namespace zelkora
