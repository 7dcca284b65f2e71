#include <QFile>
#include <QFileInfo>
#include <climits>
#include <cstdio>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/VisibleText.h"
#include "table/HeaderRow.h"
#include "table/PointInsert.h"
#include "table/PointTable.h"
#include "table/TableFile.h"

namespace zelkora {

namespace {

QString readLinesText(const QString& fromFile) {
    QFile file;
    bool opened = false;
    if (fromFile.isEmpty()) {
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(fromFile);
        opened = file.open(QIODevice::ReadOnly);
    }
    const QString source = fromFile.isEmpty() ? QStringLiteral("стандартный ввод")
                                              : QStringLiteral("\"%1\"").arg(visibleText(fromFile));
    if (!opened) {
        throw ZelkoraError(
            QStringLiteral("Не удалось открыть %1: %2").arg(source, file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw ZelkoraError(
            QStringLiteral("Не удалось прочитать %1: %2").arg(source, file.errorString()));
    }
    return QString::fromUtf8(bytes);
}

}  // namespace

int runImport(const QStringList& args) {
    const CliArgs cli(
        args, {QStringLiteral("table"), QStringLiteral("column"), QStringLiteral("from")}, {});
    if (!cli.positional().isEmpty()) {
        throw UsageError(QStringLiteral("Лишнее слово: %1").arg(visibleText(cli.positional()[0])));
    }
    const QString tableFile = cli.required(QStringLiteral("table"));
    cli.required(QStringLiteral("column"));
    const int column = cli.intValue(QStringLiteral("column"), 0, 0, INT_MAX);

    PointTable table;
    if (QFileInfo::exists(tableFile)) {
        LoadStringGrid(table, tableFile);
    } else {
        fillHeaderRow(table);
    }
    // Everything is inserted before the file is touched: an error leaves it as it was.
    insertPastedText(table, column, readLinesText(cli.value(QStringLiteral("from"))));
    SaveStringGrid(table, tableFile);
    return 0;
}

}  // namespace zelkora
