#include <cstdio>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "mapimage/DataPaths.h"
#include "mapimage/MapAssembly.h"

int runAssemble(const QStringList& args) {
    const CliArgs cli(args,
                      {QStringLiteral("data"), QStringLiteral("map"), QStringLiteral("layers"),
                       QStringLiteral("out")},
                      {QStringLiteral("hires")});
    const int map = cli.mapIndex();
    const QString out = cli.required(QStringLiteral("out"));
    if (!cli.positional().isEmpty()) {
        throw UsageError("assemble не принимает лишних слов: " + cli.positional().join(' '));
    }
    const bool hiRes = cli.has(QStringLiteral("hires"));
    const QString dataDir = cli.dataDir();
    TPngImage a;
    if (!assembleMap(a, dataDir, kMapCaptions[map], hiRes, cli.layers())) {
        throw ZelkoraError(QStringLiteral("Нет основы карты: файл «%1» не найден")
                               .arg(baseImagePath(dataDir, kMapCaptions[map], hiRes)));
    }
    a.SaveToFile(out);
    return 0;
}
