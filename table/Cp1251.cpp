#include "table/Cp1251.h"

#include <iconv.h>

#include <array>
#include <memory>

#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

struct Tables {
    std::array<char16_t, 256> decode{};
    std::array<unsigned char, 0x10000> encode{};  // 0 means "not in the code page"
};

Tables buildTables() {
    const iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw ZelkoraError("Кодовая страница CP1251 недоступна: в системе нет её модуля iconv");
    }
    Tables t;
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b);
        unsigned char out[4] = {};
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(out);
        std::size_t inLeft = 1;
        std::size_t outLeft = sizeof out;
        char16_t unit = static_cast<char16_t>(b);  // a byte iconv lacks (0x98) keeps its code
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) &&
            outLeft == 2) {
            unit = static_cast<char16_t>(out[0] | out[1] << 8);
        }
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        t.decode[static_cast<std::size_t>(b)] = unit;
        if (b != 0) {
            t.encode[unit] = static_cast<unsigned char>(b);
        }
    }
    iconv_close(cd);
    return t;
}

const Tables& tables() {
    static const std::unique_ptr<const Tables> t = std::make_unique<const Tables>(buildTables());
    return *t;
}

}  // namespace

QByteArray encodeCp1251(const QString& text) {
    const Tables& t = tables();
    QByteArray out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == 0) {
            out += '\0';
        } else if (const unsigned char b = t.encode[c]; b != 0) {
            out += static_cast<char>(b);
        } else {
            // A surrogate pair is one character and gets one "?".
            if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
                ++i;
            }
            out += '?';
        }
    }
    return out;
}

QString decodeCp1251(std::string_view bytes) {
    const Tables& t = tables();
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* dst = out.data();
    for (const char b : bytes) {
        *dst++ = QChar(t.decode[static_cast<unsigned char>(b)]);
    }
    return out;
}

}  // namespace zelkora
