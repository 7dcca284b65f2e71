#include "table/StrToFloat.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <system_error>
#include <type_traits>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

[[noreturn]] void fail(const QString& item) {
    throw ZelkoraError(
        QStringLiteral("'%1' is not a valid floating point value").arg(visibleText(item)));
}

// No more of an item than a message can show is turned into text for it.
[[noreturn]] void fail(std::string_view item) {
    fail(QString::fromLatin1(item.substr(0, kMaxQuotedCharacters + 1)));
}

template <typename Char>
constexpr bool isDigit(Char c) {
    return c >= '0' && c <= '9';
}

// Where an item's number stands once the grammar is checked: from the first digit or point to
// the end of a complete exponent, without blanks, sign or an exponent that has no digits.
template <typename Char>
struct NumberText {
    const Char* begin = nullptr;
    const Char* end = nullptr;
    bool negative = false;
    bool hasDigits = false;
};

template <typename Char>
std::optional<NumberText<Char>> scan(const Char* p, const Char* const end) {
    NumberText<Char> number;
    while (p != end && *p == ' ') {
        ++p;
    }
    if (p != end && (*p == '+' || *p == '-')) {
        number.negative = *p == '-';
        ++p;
    }
    number.begin = p;
    bool mantissa = false;  // a digit or the "." stands between sign and exponent
    while (p != end && isDigit(*p)) {
        ++p;
        mantissa = number.hasDigits = true;
    }
    if (p != end && *p == '.') {
        ++p;
        mantissa = true;
        while (p != end && isDigit(*p)) {
            ++p;
            number.hasDigits = true;
        }
    }
    if (!mantissa) {
        return std::nullopt;
    }
    number.end = p;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p != end && (*p == '+' || *p == '-')) {
            ++p;
        }
        const Char* const digits = p;
        while (p != end && isDigit(*p)) {
            ++p;
        }
        if (p != digits) {
            number.end = p;  // "1e" and "1e+" read as 1
        }
    }
    while (p != end && *p == ' ') {
        ++p;
    }
    if (p != end) {
        return std::nullopt;
    }
    return number;
}

// Whether a number beyond a double's range is too large rather than too small: the power of ten
// of its first significant digit, its exponent included, is positive.
bool isTooLarge(std::string_view text) {
    const std::size_t e = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return false;
    }
    long long power = first < point ? static_cast<long long>(point - first) - 1
                                    : -static_cast<long long>(first - point);
    if (e != std::string_view::npos) {
        std::size_t i = e + 1;
        const bool negative = i < text.size() && text[i] == '-';
        i += i < text.size() && (text[i] == '-' || text[i] == '+') ? 1 : 0;
        long long exponent = 0;
        for (; i < text.size(); ++i) {
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000'000'000LL);
        }
        power += negative ? -exponent : exponent;
    }
    return power > 0;
}

// The value of a checked number's ASCII text, correctly rounded and whatever the locale, or
// nothing when it is too large for a double. One too small reads as zero.
std::optional<double> valueOf(std::string_view text, bool negative) {
    double value = 0;
    const std::from_chars_result result =
        std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (isTooLarge(text)) {
            return std::nullopt;
        }
        value = 0;
    }
    return negative ? -value : value;
}

template <typename Char>
std::optional<double> convert(const Char* begin, const Char* end) {
    const std::optional<NumberText<Char>> number = scan(begin, end);
    if (!number) {
        return std::nullopt;
    }
    if (!number->hasDigits) {
        return number->negative ? -0.0 : 0.0;  // a lone "." reads as zero
    }
    if constexpr (std::is_same_v<Char, char>) {
        // Read where it stands: a number of many digits costs no copy.
        return valueOf(std::string_view(number->begin, number->end), number->negative);
    } else {
        const std::string ascii(number->begin, number->end);  // only ASCII passed the check
        return valueOf(ascii, number->negative);
    }
}

}  // namespace

double StrToFloat(const QString& item) {
    const auto* begin = reinterpret_cast<const char16_t*>(item.utf16());
    if (const std::optional<double> value = convert(begin, begin + item.size())) {
        return *value;
    }
    fail(item);
}

double StrToFloat(std::string_view item) {
    if (const std::optional<double> value = convert(item.data(), item.data() + item.size())) {
        return *value;
    }
    fail(item);
}

}  // namespace zelkora
