#include "projection/Tpar.h"

#include "common/ZelkoraError.h"

namespace zelkora {

const std::array<Tpar, kMapCount> PAR_map = {{
    // "Вьетнам"
    {.x = 0.0,
     .y = 0.01,
     .tx = 5805,
     .ty = 5815,
     .ttx = 0,
     .tty = 3,
     .alpha = 0,
     .left_Bottom_x = 8,
     .left_Bottom_y = 101.73},
    // "Дальний Восток"
    {.x = 0.172,
     .y = 0.458,
     .tx = 2664,
     .ty = 2584,
     .ttx = 12,
     .tty = 12,
     .alpha = 14.6,
     .left_Bottom_x = 46.5,
     .left_Bottom_y = 115},
}};

const Tpar& parForMap(int mapIndex) {
    if (mapIndex < 0 || mapIndex >= kMapCount) {
        throw ZelkoraError(
            QStringLiteral("Неизвестный номер карты: %1 (есть 0 и 1)").arg(mapIndex));
    }
    return PAR_map[static_cast<std::size_t>(mapIndex)];
}

}  // namespace zelkora
