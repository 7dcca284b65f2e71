#include "shell/CopperTheme.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>

#include "shell/CopperStyle.h"

namespace zelkora {

namespace {

const QString kTahoma = QStringLiteral("Tahoma");

// The family that font() uses; empty until apply has found Tahoma.
QString& tahomaFamily() {
    static QString family;
    return family;
}

QString loadTahoma(const QString& file) {
    const int id = file.isEmpty() ? -1 : QFontDatabase::addApplicationFont(file);
    const QStringList families =
        id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (!families.isEmpty()) {
        return families.first();
    }
    return QFontDatabase::families().contains(kTahoma) ? kTahoma : QString();
}

QPalette copperPalette() {
    const QColor face(0xEA, 0xD9, 0xC8);    // window and group boxes
    const QColor button(0xDD, 0xBC, 0x9E);  // buttons, a shade of copper
    const QColor ink(0x2B, 0x1A, 0x10);     // dark brown text, about 13:1 on the face
    const QColor copper(0x9C, 0x4F, 0x24);  // selection and focus; white on it is above 6:1
    const QColor muted(0x8A, 0x76, 0x68);   // disabled text

    QPalette p(button, face);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::WindowText, ink);
        p.setColor(group, QPalette::Text, ink);
        p.setColor(group, QPalette::ButtonText, ink);
        p.setColor(group, QPalette::Base, Qt::white);
        p.setColor(group, QPalette::AlternateBase, QColor(0xF7, 0xEE, 0xE6));
        p.setColor(group, QPalette::Highlight, copper);
        p.setColor(group, QPalette::HighlightedText, Qt::white);
        p.setColor(group, QPalette::ToolTipBase, QColor(0xFF, 0xF4, 0xE0));
        p.setColor(group, QPalette::ToolTipText, ink);
        p.setColor(group, QPalette::PlaceholderText, muted);
        p.setColor(group, QPalette::Link, copper);
    }
    p.setColor(QPalette::Disabled, QPalette::WindowText, muted);
    p.setColor(QPalette::Disabled, QPalette::Text, muted);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, muted);
    p.setColor(QPalette::Disabled, QPalette::Base, face);
    p.setColor(QPalette::Disabled, QPalette::Highlight, muted);
    return p;
}

}  // namespace

void CopperTheme::apply(QApplication& app, const QString& tahomaFile) {
    tahomaFamily() = loadTahoma(tahomaFile);
    QApplication::setStyle(new CopperStyle);
    QApplication::setPalette(copperPalette());
    app.setFont(font(kFontPixels));
}

QFont CopperTheme::font(int pixelSize) {
    const QString family = tahomaFamily();
    QFont f =
        family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont) : QFont(family);
    if (family.isEmpty()) {
        f.setStyleHint(QFont::SansSerif);
    }
    f.setPixelSize(pixelSize);
    return f;
}

}  // namespace zelkora
