#include "common/VisibleText.h"

namespace zelkora {

namespace {

bool isInvisible(char32_t c) {
    if (c == U' ') {
        return false;
    }
    switch (QChar::category(c)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Other_NotAssigned:
        case QChar::Separator_Space:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            return false;
    }
}

QString escaped(char32_t c) {
    const bool beyondFirstPlane = c > 0xFFFF;
    const QString hex = QString::number(static_cast<uint>(c), 16).toUpper();
    return (beyondFirstPlane ? QStringLiteral("\\U") : QStringLiteral("\\u")) +
           hex.rightJustified(beyondFirstPlane ? 8 : 4, QLatin1Char('0'));
}

}  // namespace

QString visibleText(QStringView text) {
    const bool cut = text.size() > kMaxQuotedCharacters;
    if (cut) {
        text = text.first(kMaxQuotedCharacters);
    }
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        char32_t c = text[i].unicode();
        qsizetype width = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            width = 2;
        }
        if (isInvisible(c)) {
            out += escaped(c);
        } else {
            out += text.sliced(i, width);
        }
        i += width;
    }
    if (cut) {
        out += QChar(u'\u2026');
    }
    return out;
}

}  // namespace zelkora
