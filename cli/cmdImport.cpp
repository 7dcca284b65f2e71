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
#include "records/OccurrenceFormats.h"
#include "records/TextEncoding.h"
#include "table/HeaderRow.h"
#include "table/ImportReport.h"
#include "table/PointInsert.h"
#include "table/PointTable.h"
#include "table/TableFile.h"

namespace zelkora {

namespace {

QByteArray readInput(const QString& fromFile) {
    if (!fromFile.isEmpty()) {
        return readRecordsFile(fromFile);
    }
    QFile file;
    if (!file.open(stdin, QIODevice::ReadOnly)) {
        throw ZelkoraError(
            QStringLiteral("Не удалось открыть стандартный ввод: %1").arg(file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw ZelkoraError(
            QStringLiteral("Не удалось прочитать стандартный ввод: %1").arg(file.errorString()));
    }
    requireText(bytes, QStringLiteral("Стандартный ввод"));
    return bytes;
}

void printError(const QString& line) {
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fputc('\n', stderr);
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
    // Every record without a point, and every point off the map's picture (with --map; a file of
    // records without it is checked against both maps), is named on standard error as it is
    // read; the counts follow at the end. None of them is an error.
    ImportReport report(0);
    report.setUnreadSink([](const UnreadRecord& r) { printError(ImportReport::unreadLine(r)); });
    report.setOutsideSink([](const OutsidePoint& p) { printError(ImportReport::outsideLine(p)); });
    // Everything is inserted before the file is touched: an error leaves it as it was. A file of
    // records goes by its groups; plain lines go into --column.
    const QByteArray input = readInput(from);
    if (!importRecords(cli, table, input, from, report)) {
        cli.required(QStringLiteral("column"));
        const int column = cli.intValue(QStringLiteral("column"), 0, 0, INT_MAX);
        if (cli.has(QStringLiteral("map"))) {
            report.setPictureCheck(mapPictureBounds(cli, cli.mapIndex()).check());
        }
        // Lines of text: every line, with the words each point came from in brackets.
        report.setUnreadSink({});
        report.setOutsideSink({});
        report.setLineSink(
            [](const LineRecord& line) { printError(ImportReport::lineText(line)); });
        insertPastedText(table, column, decodeTextFile(input), &report);
    }
    SaveStringGrid(table, tableFile);
    printError(report.summary());
    return 0;
}

}  // namespace zelkora
