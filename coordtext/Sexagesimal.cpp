#include "coordtext/Sexagesimal.h"

#include <cmath>
#include <iterator>

namespace zelkora {

double halfUnit(int decimals, double scale) {
    static constexpr double kHalves[] = {0.5,   0.05,  0.005, 5e-4,  5e-5,  5e-6,
                                         5e-7,  5e-8,  5e-9,  5e-10, 5e-11, 5e-12,
                                         5e-13, 5e-14, 5e-15, 5e-16, 5e-17, 5e-18};
    if (decimals >= 0 && decimals < static_cast<int>(std::size(kHalves))) {
        return kHalves[decimals] * scale;
    }
    return 0.5 * std::pow(10.0, -decimals) * scale;
}

std::optional<Coordinate> sexagesimal(const Token& degrees, const Token* minutes,
                                      const Token* seconds, int first, int last) {
    const auto field = [](const Token* t) {
        return !t || (!t->negative && !t->plus && t->value < 60);
    };
    if (!field(minutes) || !field(seconds) || (minutes && degrees.decimals > 0) ||
        (seconds && (!minutes || minutes->decimals > 0)) || !std::isfinite(degrees.value)) {
        return std::nullopt;
    }
    Coordinate c;
    c.degrees =
        degrees.value + (minutes ? minutes->value / 60 : 0) + (seconds ? seconds->value / 3600 : 0);
    c.negative = degrees.negative;
    if (seconds) {
        c.tolerance = halfUnit(seconds->decimals, 1.0 / 3600);
    } else if (minutes) {
        c.tolerance = halfUnit(minutes->decimals, 1.0 / 60);
    } else {
        c.tolerance = halfUnit(degrees.decimals);
    }
    c.first = first;
    c.last = last;
    c.notation = seconds   ? Notation::degreesMinutesSeconds
                 : minutes ? Notation::degreesMinutes
                           : Notation::decimalDegrees;
    return c;
}

}  // namespace zelkora
