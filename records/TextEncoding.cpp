#include "records/TextEncoding.h"

#include <cstdint>
#include <cstring>

#include "table/Cp1251.h"

namespace zelkora {

namespace {

bool startsWith(const QByteArray& bytes, std::string_view prefix) {
    return bytes.size() >= static_cast<qsizetype>(prefix.size()) &&
           std::memcmp(bytes.constData(), prefix.data(), prefix.size()) == 0;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    while (p != end) {
        // Plain ASCII eight bytes at a time: most of a file of records is.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if ((word & 0x8080808080808080ULL) != 0) {
                break;
            }
            p += 8;
        }
        if (p == end) {
            break;
        }
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra = 0;
        std::uint32_t min = 0;
        std::uint32_t code = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
            code = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra) {
            return false;
        }
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                return false;
            }
            code = code << 6 | (p[i] & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        p += extra + 1;
    }
    return true;
}

std::optional<QString> whyNotText(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    const bool utf16 = n >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF));
    std::size_t controls = 0;
    for (std::size_t i = utf16 ? 2 : 0; i < n; ++i) {
        const unsigned char c = p[i];
        if (utf16) {
            // Two bytes a character: a NUL character, or a control one, is no text either.
            if (i + 1 < n) {
                const unsigned unit = p[0] == 0xFF ? (c | p[i + 1] << 8) : (c << 8 | p[i + 1]);
                if (unit == 0) {
                    return QStringLiteral("в нём нулевые символы");
                }
                controls += unit < 0x20 && unit != '\t' && unit != '\n' && unit != '\r' &&
                                    unit != '\f' && unit != '\v' && unit != 0x1A
                                ? 1
                                : 0;
            }
            ++i;
            continue;
        }
        if (c == 0) {
            return QStringLiteral("в нём нулевые байты");
        }
        controls +=
            c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v' && c != 0x1A
                ? 1
                : 0;
    }
    if (controls > 0) {
        return QStringLiteral(
            "в нём управляющие символы, которых нет в тексте ни в одной "
            "кодировке (UTF-8, UTF-16, CP1251)");
    }
    return std::nullopt;
}

TextEncoding takeTextEncoding(QByteArray& bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
        return TextEncoding::Utf8Bom;
    }
    const bool littleEndian = startsWith(bytes, "\xFF\xFE");
    if (littleEndian || startsWith(bytes, "\xFE\xFF")) {
        const qsizetype units = (bytes.size() - 2) / 2;
        QString text(units, Qt::Uninitialized);
        const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData()) + 2;
        for (qsizetype i = 0; i < units; ++i, in += 2) {
            text[i] =
                QChar(littleEndian ? char16_t(in[0] | in[1] << 8) : char16_t(in[0] << 8 | in[1]));
        }
        bytes = text.toUtf8();  // a lone surrogate becomes U+FFFD
        return TextEncoding::Utf16;
    }
    return isValidUtf8(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))
               ? TextEncoding::Utf8
               : TextEncoding::Cp1251;
}

QString decodeText(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Cp1251) {
        return decodeCp1251(bytes);
    }
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString decodeTextFile(QByteArray bytes) {
    const TextEncoding encoding = takeTextEncoding(bytes);
    return decodeText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                      encoding);
}

QString encodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return QStringLiteral("UTF-8");
        case TextEncoding::Utf8Bom:
            return QStringLiteral("UTF-8 с BOM");
        case TextEncoding::Utf16:
            return QStringLiteral("UTF-16");
        case TextEncoding::Cp1251:
            return QStringLiteral("CP1251");
    }
    return {};
}

}  // namespace zelkora
