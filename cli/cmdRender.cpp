#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/requiredMap.h"
#include "common/VisibleText.h"
#include "mapimage/DataPaths.h"
#include "plot/PictureBounds.h"
#include "plot/SaveMapImage.h"
#include "plot/zelkora.h"
#include "projection/Tpar.h"
#include "table/CommaText.h"
#include "table/HeaderRow.h"
#include "table/ImportReport.h"
#include "table/PointTable.h"
#include "table/StrToFloat.h"
#include "table/TableFile.h"

namespace zelkora {

namespace {

ExportFormat chosenFormat(const CliArgs& cli, const QString& out) {
    if (cli.has(QStringLiteral("format"))) {
        const QString name = cli.value(QStringLiteral("format"));
        if (const auto format = exportFormatFromName(name)) {
            return *format;
        }
        throw UsageError(
            QStringLiteral("--format ждёт jpeg, png или bmp, а не \"%1\"").arg(visibleText(name)));
    }
    if (const auto format = exportFormatFromExtension(out)) {
        return *format;
    }
    throw UsageError(QStringLiteral("По имени \"%1\" не понять тип файла: нужно расширение "
                                    ".jpg, .jpeg, .png или .bmp либо параметр --format")
                         .arg(visibleText(QFileInfo(out).fileName())));
}

// Any whole number, held to the limits of the size controls.
int markerSize(const CliArgs& cli) {
    if (!cli.has(QStringLiteral("size"))) {
        return 60;
    }
    const QString text = cli.value(QStringLiteral("size"));
    bool ok = false;
    const qlonglong size = text.toLongLong(&ok);
    if (!ok) {
        throw UsageError(
            QStringLiteral("--size ждёт целое число, а не \"%1\"").arg(visibleText(text)));
    }
    return static_cast<int>(std::clamp<qlonglong>(size, pntSizeMin, pntSizeMax));
}

// Names on standard error every point of the table that falls outside the picture, by its
// column and row, with a hint where a swap or a sign would put it on the map.
void reportPointsOutside(const PointTable& table, const PictureBounds& bounds) {
    for (int column = 0; column < table.ColCount(); ++column) {
        ImportReport report(0);
        report.setPictureCheck(bounds.check());
        report.setOutsideSink([column](const OutsidePoint& p) {
            const QByteArray line = QStringLiteral("Столбец %1, строка %2: %3")
                                        .arg(column)
                                        .arg(p.number)
                                        .arg(ImportReport::outsideText(p))
                                        .toUtf8();
            std::fprintf(stderr, "%s\n", line.constData());
        });
        for (int row = 1; row < table.RowCount(); ++row) {
            const QString& cell = table.cell(column, row);
            const QStringList items = cell.size() > 2 ? SplitCommaText(cell) : QStringList();
            if (items.size() == 2) {
                report.addRead(row, cell, StrToFloat(items[0]), StrToFloat(items[1]));
            }
        }
    }
}

}  // namespace

int runRender(const QStringList& args) {
    const CliArgs cli(args,
                      {QStringLiteral("data"), QStringLiteral("map"), QStringLiteral("layers"),
                       QStringLiteral("size"), QStringLiteral("table"), QStringLiteral("out"),
                       QStringLiteral("format")},
                      {QStringLiteral("hires"), QStringLiteral("red")});
    const int map = cli.mapIndex();
    const QString out = cli.required(QStringLiteral("out"));
    const ExportFormat format = chosenFormat(cli, out);
    const int pntSize = markerSize(cli);
    const auto layers = cli.layers();
    if (!cli.positional().isEmpty()) {
        throw UsageError("render не принимает лишних слов: " +
                         visibleText(cli.positional().join(' ')));
    }
    const bool hiRes = cli.has(QStringLiteral("hires"));
    const QString dataDir = cli.dataDir();

    PointTable table;
    if (cli.has(QStringLiteral("table"))) {
        LoadStringGrid(table, cli.value(QStringLiteral("table")));
    } else {
        fillHeaderRow(table);
    }
    const TPngImage a = requiredMap(dataDir, map, hiRes, layers);
    const auto points = std::make_unique<Tpoints>();
    const TPngImage picture = zelkora(*points, table, parForMap(map), hiRes, a, pntSize,
                                      cli.has(QStringLiteral("red")), dataDir, {});
    SaveMapImage(picture, out, format);
    reportPointsOutside(table, PictureBounds(parForMap(map), hiRes, a.Width(), a.Height()));
    // The window shows only what fits the list; a script is told what was left out.
    if (points->num >= Tpoints::kCapacity) {
        const auto inTable = static_cast<int>(
            pointCells(table, PictureBounds(parForMap(map), hiRes, a.Width(), a.Height())).size());
        if (inTable > points->num) {
            std::fprintf(stderr,
                         "Внимание: на карту взяты первые %d точек из %d, что на неё попадают, "
                         "остальные не нарисованы\n",
                         points->num, inTable);
        }
    }
    return 0;
}

}  // namespace zelkora
