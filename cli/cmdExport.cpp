#include <cstdio>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/VisibleText.h"
#include "records/PointFileExport.h"
#include "table/PointTable.h"
#include "table/TableFile.h"

namespace zelkora {

int runExport(const QStringList& args) {
    const CliArgs cli(
        args, {QStringLiteral("table"), QStringLiteral("out"), QStringLiteral("format")}, {});
    if (!cli.positional().isEmpty()) {
        throw UsageError(QStringLiteral("Лишнее слово: %1").arg(visibleText(cli.positional()[0])));
    }
    const QString tableFile = cli.required(QStringLiteral("table"));
    const QString out = cli.required(QStringLiteral("out"));
    PointTable table;
    LoadStringGrid(table, tableFile);
    const std::vector<SkippedCell> skipped =
        exportTable(table, out, cli.value(QStringLiteral("format")));
    // The table's cells that hold no point are named: nothing is left out without a word.
    for (const SkippedCell& cell : skipped) {
        std::fprintf(stderr, "%s\n",
                     QStringLiteral("Не записана ячейка: столбец %1, строка %2: %3: «%4»")
                         .arg(cell.column)
                         .arg(cell.row)
                         .arg(cell.reason, visibleText(cell.text))
                         .toUtf8()
                         .constData());
    }
    return 0;
}

}  // namespace zelkora
