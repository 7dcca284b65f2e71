#include <QFile>
#include <QFileInfo>
#include <climits>
#include <cstdio>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/VisibleText.h"
#include "mapimage/DataPaths.h"
#include "mapimage/TPngImage.h"
#include "plot/PictureBounds.h"
#include "projection/Tpar.h"
#include "table/HeaderRow.h"
#include "table/ImportReport.h"
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

void printError(const QString& line) {
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fputc('\n', stderr);
}

}  // namespace

int runImport(const QStringList& args) {
    const CliArgs cli(args,
                      {QStringLiteral("table"), QStringLiteral("column"), QStringLiteral("from"),
                       QStringLiteral("map"), QStringLiteral("data")},
                      {QStringLiteral("hires")});
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
    // Every line without a point, and with --map every point off that map's picture, is named
    // on standard error as it is read; the counts follow at the end. None of them is an error.
    ImportReport report(0);
    report.setUnreadSink([](const UnreadRecord& r) { printError(ImportReport::unreadLine(r)); });
    report.setOutsideSink([](const OutsidePoint& p) { printError(ImportReport::outsideLine(p)); });
    if (cli.has(QStringLiteral("map"))) {
        const int map = cli.mapIndex();
        const bool hiRes = cli.has(QStringLiteral("hires"));
        TPngImage base;
        base.LoadFromFile(baseImagePath(cli.dataDir(), kMapCaptions[map], hiRes));
        report.setPictureCheck(
            PictureBounds(parForMap(map), hiRes, base.Width(), base.Height()).check());
    }
    // Everything is inserted before the file is touched: an error leaves it as it was.
    insertPastedText(table, column, readLinesText(cli.value(QStringLiteral("from"))), &report);
    SaveStringGrid(table, tableFile);
    printError(report.summary());
    return 0;
}

}  // namespace zelkora
