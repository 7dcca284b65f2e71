#include "table/CommaText.h"

namespace zelkora {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kDelimiter = u',';

constexpr bool isBlank(char16_t c) {
    return c >= 1 && c <= 32;
}

}  // namespace

QStringList SplitCommaText(const QString& text) {
    QStringList items;
    const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* const end = p + text.size();
    const char16_t* const last = end - 1;
    auto skipBlanks = [&] {
        while (p != end && isBlank(*p)) {
            ++p;
        }
    };
    skipBlanks();
    while (p != end) {
        QString item;
        if (*p == kQuote) {
            ++p;
            while (p != end) {
                if (*p == kQuote) {
                    if (p + 1 != end && p[1] == kQuote) {
                        item += QChar(kQuote);
                        p += 2;
                        continue;
                    }
                    ++p;  // the closing quote
                    break;
                }
                item += QChar(*p++);
            }
        } else {
            const char16_t* start = p;
            while (p != end && !isBlank(*p) && *p != kDelimiter) {
                ++p;
            }
            item = QString(reinterpret_cast<const QChar*>(start), p - start);
        }
        items << item;
        skipBlanks();
        if (p != end && *p == kDelimiter) {
            if (p == last) {
                items << QString();  // "a," ends in an empty item, "a, " does not
            }
            ++p;
            skipBlanks();
        }
    }
    return items;
}

QString JoinCommaText(const QStringList& items) {
    if (items.size() == 1 && items[0].isEmpty()) {
        return QStringLiteral("\"\"");
    }
    QString result;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0) {
            result += QChar(kDelimiter);
        }
        const QString& item = items[i];
        bool quote = false;
        for (QChar c : item) {
            const char16_t u = c.unicode();
            if (isBlank(u) || u == kDelimiter || u == kQuote) {
                quote = true;
                break;
            }
        }
        if (!quote) {
            result += item;
            continue;
        }
        result += QChar(kQuote);
        for (QChar c : item) {
            result += c;
            if (c.unicode() == kQuote) {
                result += QChar(kQuote);
            }
        }
        result += QChar(kQuote);
    }
    return result;
}

}  // namespace zelkora
