#include <QFile>
#include <QFileInfo>
#include <climits>
#include <cstdio>
#include <iterator>
#include <set>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/importRecords.h"
#include "common/VisibleText.h"
#include "table/HeaderRow.h"
#include "table/PointInsert.h"
#include "table/PointTable.h"
#include "table/TableFile.h"

namespace zelkora {

namespace {

QByteArray readInput(const QString& fromFile) {
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
    return bytes;
}

}  // namespace

int runImport(const QStringList& args) {
    std::set<QString> options = {QStringLiteral("table"), QStringLiteral("column"),
                                 QStringLiteral("from")};
    std::set<QString> flags;
    options.insert(std::begin(kRecordOptions), std::end(kRecordOptions));
    flags.insert(std::begin(kRecordFlags), std::end(kRecordFlags));
    const CliArgs cli(args, options, flags);
    if (!cli.positional().isEmpty()) {
        throw UsageError(QStringLiteral("Лишнее слово: %1").arg(visibleText(cli.positional()[0])));
    }
    const QString tableFile = cli.required(QStringLiteral("table"));
    const QString from = cli.value(QStringLiteral("from"));

    PointTable table;
    if (QFileInfo::exists(tableFile)) {
        LoadStringGrid(table, tableFile);
    } else {
        fillHeaderRow(table);
    }
    // Everything is inserted before the file is touched: an error leaves it as it was.
    const QByteArray input = readInput(from);
    if (!importRecords(cli, table, input, from)) {
        cli.required(QStringLiteral("column"));
        const int column = cli.intValue(QStringLiteral("column"), 0, 0, INT_MAX);
        insertPastedText(table, column, QString::fromUtf8(input));
    }
    SaveStringGrid(table, tableFile);
    return 0;
}

}  // namespace zelkora
