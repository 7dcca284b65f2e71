#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/requiredMap.h"
#include "common/VisibleText.h"

namespace zelkora {

int runAssemble(const QStringList& args) {
    const CliArgs cli(args,
                      {QStringLiteral("data"), QStringLiteral("map"), QStringLiteral("layers"),
                       QStringLiteral("out")},
                      {QStringLiteral("hires")});
    const int map = cli.mapIndex();
    const QString out = cli.required(QStringLiteral("out"));
    if (!cli.positional().isEmpty()) {
        throw UsageError("assemble не принимает лишних слов: " +
                         visibleText(cli.positional().join(' ')));
    }
    const bool hiRes = cli.has(QStringLiteral("hires"));
    const QString dataDir = cli.dataDir();
    requiredMap(dataDir, map, hiRes, cli.layers()).SaveToFile(out);
    return 0;
}

}  // namespace zelkora
