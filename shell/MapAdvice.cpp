#include "shell/MapAdvice.h"

#include "mapimage/DataPaths.h"
#include "table/PointTable.h"

namespace zelkora {

ReportBox::Advice mapAdvice(const MapTally& tally, int map, bool chosen,
                            std::function<void(int map)> switchTo) {
    const std::optional<int> most = mapOfMost(tally);
    if (!most) {
        return {};
    }
    const auto on = [&](int m) { return tally.onMap[static_cast<std::size_t>(m)]; };
    if (chosen && *most == map) {
        return {QStringLiteral("Выбрана карта «%1»: на ней %2 из %3 точек.")
                    .arg(kMapCaptions[map])
                    .arg(on(map))
                    .arg(tally.points),
                {},
                {},
                {}};
    }
    if (*most == map) {
        return {};
    }
    const int other = *most;
    return {QStringLiteral("Из %1 точек на карте «%2» лежат %3, а на карте «%4» — %5.")
                .arg(tally.points)
                .arg(kMapCaptions[other])
                .arg(on(other))
                .arg(kMapCaptions[map])
                .arg(on(map)),
            QStringLiteral("Переключить на карту «%1»").arg(kMapCaptions[other]),
            [switchTo = std::move(switchTo), other] { switchTo(other); },
            QStringLiteral("Показана карта «%1»; таблица та же (отмена вернёт прежнюю карту).")
                .arg(kMapCaptions[other])};
}

bool tableHoldsPoints(const PointTable& table) {
    for (int c = 0; c < table.ColCount(); ++c) {
        for (int r = 1; r < table.RowCount(); ++r) {
            if (!table.cell(c, r).isEmpty()) {
                return true;
            }
        }
    }
    return false;
}

QString keepTableStep(int map) {
    return QStringLiteral("Переключение на карту «%1»").arg(kMapCaptions[map]);
}

}  // namespace zelkora
