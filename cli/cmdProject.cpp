#include <cmath>
#include <cstdio>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "projection/geo.h"

namespace zelkora {

int runProject(const QStringList& args) {
    const CliArgs cli(args, {QStringLiteral("map"), QStringLiteral("height")},
                      {QStringLiteral("hires")});
    const int map = cli.mapIndex();
    const int height = cli.intValue(QStringLiteral("height"), -1, 0, 1 << 30);
    if (!cli.has(QStringLiteral("height"))) {
        throw UsageError("Не задан параметр --height");
    }
    if (cli.positional().size() != 2) {
        throw UsageError("project ждёт широту и долготу: LAT LON");
    }
    Tpoint point;
    point.x = parseNumberArg(cli.positional()[0], QStringLiteral("Широта"));
    point.y = parseNumberArg(cli.positional()[1], QStringLiteral("Долгота"));
    const Tpoint projected = geo(point, parForMap(map), cli.has(QStringLiteral("hires")), height);
    if (!std::isfinite(projected.xImg) || !std::isfinite(projected.yImg)) {
        throw ZelkoraError(
            QStringLiteral("Точку %1, %2 нельзя спроецировать на эту карту")
                .arg(visibleText(cli.positional()[0]), visibleText(cli.positional()[1])));
    }
    std::printf("%.9f %.9f\n", projected.xImg, projected.yImg);
    return 0;
}

}  // namespace zelkora
