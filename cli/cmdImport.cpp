#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <set>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/VisibleText.h"
#include "plot/PictureBounds.h"
#include "records/ImportPlan.h"
#include "records/OccurrenceFormats.h"
#include "table/HeaderRow.h"
#include "table/ImportReport.h"
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

ReadOptions readOptionsOf(const CliArgs& cli) {
    ReadOptions read;
    read.format = cli.value(QStringLiteral("format"));
    read.groupBy = cli.value(QStringLiteral("group-by"));
    read.latColumn = cli.value(QStringLiteral("lat"));
    read.lonColumn = cli.value(QStringLiteral("lon"));
    read.coordColumn = cli.value(QStringLiteral("coords"));
    read.tracks = cli.has(QStringLiteral("tracks"));
    read.ungrouped = cli.has(QStringLiteral("ungrouped"));
    return read;
}

// The check of --map's map or, without it, of both maps: a point off every picture checked is
// off the map. A map whose picture is missing is said so and not checked.
PictureCheck pictureCheck(const CliArgs& cli) {
    const bool hiRes = cli.has(QStringLiteral("hires"));
    if (cli.has(QStringLiteral("map"))) {
        return PictureBounds::ofMap(cli.dataDir(), cli.mapIndex(), hiRes).check();
    }
    std::vector<PictureBounds> pictures;
    for (int map = 0; map < kMapCount; ++map) {
        try {
            pictures.push_back(PictureBounds::ofMap(cli.dataDir(), map, hiRes));
        } catch (const ZelkoraError& e) {
            printError(QStringLiteral("Точки вне карты «%1» не проверены: %2")
                           .arg(kMapCaptions[map], e.message()));
        }
    }
    if (pictures.empty()) {
        return {};
    }
    return [pictures](double lat, double lon) {
        return std::any_of(pictures.begin(), pictures.end(),
                           [&](const PictureBounds& p) { return p.contains(lat, lon); });
    };
}

// --off-map keep|drop; drop by default when --map names the map.
OffMap offMapOf(const CliArgs& cli) {
    const QString value = cli.value(QStringLiteral("off-map"));
    if (value.isEmpty()) {
        return cli.has(QStringLiteral("map")) ? OffMap::Drop : OffMap::Keep;
    }
    if (value == QLatin1String("keep")) {
        return OffMap::Keep;
    }
    if (value == QLatin1String("drop")) {
        return OffMap::Drop;
    }
    throw UsageError(QStringLiteral("--off-map: keep или drop, а не «%1»").arg(visibleText(value)));
}

// What the user must do about a refused file, from the command line.
QString refusalMessage(const ImportPlan& plan, const QString& from) {
    switch (plan.refusal) {
        case Refusal::Empty:
            return from.isEmpty() ? QStringLiteral("Стандартный ввод пуст") : plan.message;
        case Refusal::NoCoordinateColumns:
            return plan.message + QStringLiteral(
                                      " Назовите их параметрами --lat ИМЯ --lon ИМЯ или "
                                      "--coords ИМЯ, либо --format text для строк координат");
        default:
            return plan.message;
    }
}

}  // namespace

int runImport(const QStringList& args) {
    const CliArgs cli(
        args,
        {QStringLiteral("table"), QStringLiteral("column"), QStringLiteral("from"),
         QStringLiteral("format"), QStringLiteral("group-by"), QStringLiteral("lat"),
         QStringLiteral("lon"), QStringLiteral("coords"), QStringLiteral("groups"),
         QStringLiteral("map"), QStringLiteral("data"), QStringLiteral("off-map")},
        {QStringLiteral("tracks"), QStringLiteral("ungrouped"), QStringLiteral("hires")});
    if (!cli.positional().isEmpty()) {
        throw UsageError(QStringLiteral("Лишнее слово: %1").arg(visibleText(cli.positional()[0])));
    }
    const QString tableFile = cli.required(QStringLiteral("table"));
    const QString from = cli.value(QStringLiteral("from"));
    const OffMap offMap = offMapOf(cli);

    PointTable table;
    if (QFileInfo::exists(tableFile)) {
        LoadStringGrid(table, tableFile);
    } else {
        fillHeaderRow(table);
    }
    // Where a line's letters leave two readings open, the map chooses, as it does for a paste.
    const PictureCheck onMap = pictureCheck(cli);
    const ImportPlan plan = planImport(readInput(from), from, readOptionsOf(cli), table, onMap);
    if (plan.kind == ImportKind::Refused) {
        throw ZelkoraError(refusalMessage(plan, from));
    }
    ImportChoices choices;
    if (plan.kind == ImportKind::Lines) {
        // Plain lines go into --column, which they must name.
        cli.required(QStringLiteral("column"));
    }
    choices.column = cli.intValue(QStringLiteral("column"), 0, 0, INT_MAX);
    for (const QString& group :
         cli.value(QStringLiteral("groups")).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!group.trimmed().isEmpty()) {
            choices.groups << group.trimmed();
        }
    }
    choices.offMap = offMap;
    choices.onMap = onMap;
    choices.scope = cli.has(QStringLiteral("map")) ? OffMapScope::OneMap : OffMapScope::BothMaps;

    // How the file was read stands before its records; every record without a point, and every
    // point off the map, is named on standard error as it is read, and the counts end it. None
    // of them is an error.
    bool headed = plan.kind != ImportKind::Records;
    const auto head = [&] {
        if (!std::exchange(headed, true)) {
            printError(plan.heading());
        }
    };
    ImportReport report(0);
    report.setPictureCheck(choices.onMap);
    if (plan.kind == ImportKind::Lines) {
        // Lines of text: every line, with the words each point came from in brackets.
        report.setLineSink(
            [](const LineRecord& line) { printError(ImportReport::lineText(line)); });
    } else {
        report.setUnreadSink([&](const UnreadRecord& r) {
            head();
            printError(ImportReport::unreadLine(r));
        });
        report.setOutsideSink([&](const OutsidePoint& p) {
            head();
            printError(ImportReport::outsideLine(p));
        });
    }
    // Everything is inserted before the file is touched: an error (more groups than free
    // columns among them) leaves it as it was.
    const ImportResult result = applyImport(plan, choices, table, report);
    head();
    for (const QString& line : result.lines) {
        printError(line);
    }
    SaveStringGrid(table, tableFile);
    printError(report.summary());
    return 0;
}

}  // namespace zelkora
