#include "table/CoordFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace zelkora {

namespace {

constexpr int kDecimals = 6;
constexpr int kSignificant = 9;

// 10^0 .. 10^22, every one exact in a double.
constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};

// floor(log10(a)) for a finite a > 0, read off 17 correctly rounded significant digits.
int decimalExponent(double a) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 16);
    *res.ptr = '\0';
    return std::atoi(std::find(buf, res.ptr, 'e') + 1);
}

// Whether a > 0 lies exactly half-way between two multiples of 10^-places. The conversions
// below round such ties to even; the caller nudges them away from zero instead.
bool isDecimalTie(double a, int places) {
    if (places >= 0) {
        // a * 10^p ends in exactly .5 iff a * 2^(p+1) is an odd integer (a is dyadic).
        const double x = std::ldexp(a, places + 1);
        return x < 0x1p53 && std::floor(x) == x && std::fmod(x, 2.0) == 1.0;
    }
    const int q = -places;
    // A tie at 10^q needs 5^q in the significand, impossible beyond 10^22.
    if (q >= static_cast<int>(kExactPowersOfTen.size())) {
        return false;
    }
    const double unit = kExactPowersOfTen[static_cast<std::size_t>(q)];
    return std::fmod(a, unit) == unit / 2;
}

std::string exponentForm(double a) {
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, kSignificant - 1);
    const std::string text(buf, res.ptr);
    const std::size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    if (mantissa.find('.') != std::string::npos) {
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
        if (mantissa.back() == '.') {
            mantissa.pop_back();
        }
    }
    return mantissa + 'E' + std::to_string(std::atoi(text.c_str() + e + 1));
}

std::string formatMagnitude(double a) {
    if (a == 0) {
        return "0.000000";
    }
    const int e0 = decimalExponent(a);
    const int places = std::min(kDecimals, kSignificant - 1 - e0);
    if (isDecimalTie(a, places)) {
        a = std::nextafter(a, std::numeric_limits<double>::infinity());
    }
    if (places >= 0) {
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, places);
        std::string text(buf, res.ptr);
        const std::size_t point = text.find('.');
        const std::size_t intDigits = point == std::string::npos ? text.size() : point;
        if (intDigits <= static_cast<std::size_t>(kSignificant)) {
            if (point == std::string::npos) {
                text += '.';
            }
            text.append(static_cast<std::size_t>(kDecimals - places), '0');
            return text;
        }
        // Rounding carried into the tenth integer digit: 999999999.5 becomes "1E9".
    }
    return exponentForm(a);
}

}  // namespace

QString formatCoordinate(double v) {
    if (std::isnan(v)) {
        return QStringLiteral("NAN");
    }
    if (std::isinf(v)) {
        return v > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    }
    const std::string text = formatMagnitude(std::fabs(v));
    const bool zero = text.find_first_of("123456789") == std::string::npos;
    return QString::fromLatin1((std::signbit(v) && !zero ? "-" : "") + text);
}

QString formatPointCell(double lat, double lon) {
    return formatCoordinate(lat) + QStringLiteral(", ") + formatCoordinate(lon);
}

}  // namespace zelkora
