#include "coordtext/Sexagesimal.h"

#include <cmath>

namespace zelkora {

double halfUnit(int decimals, double scale) {
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
    return c;
}

}  // namespace zelkora
