#include "table/StrToFloat.h"

#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <string>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"

namespace {

[[noreturn]] void fail(const QString& item) {
    throw ZelkoraError(
        QStringLiteral("'%1' is not a valid floating point value").arg(visibleText(item)));
}

constexpr bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// strtod in the "C" locale, so a desktop locale with a decimal comma changes nothing. Made once;
// a failure throws and is tried again on the next call.
locale_t cLocale() {
    static const locale_t loc = [] {
        const locale_t made = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
        if (made == static_cast<locale_t>(0)) {
            throw ZelkoraError("Не удаётся подготовить числовой формат \"C\" для чтения чисел");
        }
        return made;
    }();
    return loc;
}

}  // namespace

double StrToFloat(const QString& item) {
    const char16_t* p = reinterpret_cast<const char16_t*>(item.utf16());
    const char16_t* const end = p + item.size();
    // The grammar is checked here; strtod only converts the ASCII text that passed, so it
    // never sees hex floats, "inf" or "nan".
    std::string text;
    text.reserve(static_cast<std::size_t>(item.size()) + 1);
    while (p != end && *p == u' ') {
        ++p;
    }
    if (p != end && (*p == u'+' || *p == u'-')) {
        text += static_cast<char>(*p++);
    }
    bool mantissa = false;  // a digit or the "." stands between sign and exponent
    std::size_t digits = 0;
    while (p != end && isDigit(*p)) {
        text += static_cast<char>(*p++);
        mantissa = true;
        ++digits;
    }
    if (p != end && *p == u'.') {
        text += '.';
        ++p;
        mantissa = true;
        while (p != end && isDigit(*p)) {
            text += static_cast<char>(*p++);
            ++digits;
        }
    }
    if (!mantissa) {
        fail(item);
    }
    std::string exponent;
    if (p != end && (*p == u'e' || *p == u'E')) {
        ++p;
        exponent += 'e';
        if (p != end && (*p == u'+' || *p == u'-')) {
            exponent += static_cast<char>(*p++);
        }
        std::size_t expDigits = 0;
        while (p != end && isDigit(*p)) {
            exponent += static_cast<char>(*p++);
            ++expDigits;
        }
        if (expDigits == 0) {
            exponent.clear();  // "1e" and "1e+" read as 1
        }
    }
    while (p != end && *p == u' ') {
        ++p;
    }
    if (p != end) {
        fail(item);
    }
    if (digits == 0) {
        return text.starts_with('-') ? -0.0 : 0.0;  // a lone "." reads as zero
    }
    text += exponent;
    const double value = strtod_l(text.c_str(), nullptr, cLocale());
    if (std::isinf(value)) {
        fail(item);
    }
    return value;
}
