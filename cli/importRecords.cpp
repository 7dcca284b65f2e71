#include "cli/importRecords.h"

#include <QImageReader>
#include <cstdio>
#include <vector>

#include "cli/CliArgs.h"
#include "common/VisibleText.h"
#include "mapimage/DataPaths.h"
#include "records/ImportReport.h"
#include "records/OccurrenceFormats.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

void printLine(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
}

// The pictures of the maps to check points against, at normal resolution, read from the data
// folder: the map of --map, or both. A map whose picture is missing is said so and not checked.
std::vector<MapPicture> mapPictures(const CliArgs& cli) {
    std::vector<int> maps = {0, 1};
    if (cli.has(QStringLiteral("map"))) {
        maps = {cli.mapIndex()};
    }
    std::vector<MapPicture> pictures;
    for (const int map : maps) {
        const QString path = baseImagePath(cli.dataDir(), kMapCaptions[map], false);
        const QSize size = QImageReader(path).size();
        if (size.isValid()) {
            pictures.push_back({map, size, kMapCaptions[map]});
        } else {
            printLine(QStringLiteral("Карта «%1» не найдена (%2): точки вне неё не проверены.")
                          .arg(kMapCaptions[map], visibleText(path)));
        }
    }
    return pictures;
}

}  // namespace

bool importRecords(const CliArgs& cli, PointTable& table, const QByteArray& bytes,
                   const QString& fileName) {
    ReadOptions read;
    read.format = cli.value(QStringLiteral("format"));
    read.groupBy = cli.value(QStringLiteral("group-by"));
    read.latColumn = cli.value(QStringLiteral("lat"));
    read.lonColumn = cli.value(QStringLiteral("lon"));
    read.coordColumn = cli.value(QStringLiteral("coords"));
    read.tracks = cli.has(QStringLiteral("tracks"));
    read.ungrouped = cli.has(QStringLiteral("ungrouped"));
    const std::optional<OccurrenceSet> set = readOccurrences(bytes, fileName, read);
    if (!set) {
        return false;
    }
    PlacementOptions place;
    place.column = cli.intValue(QStringLiteral("column"), 0, 0, INT_MAX);
    const QString groups = cli.value(QStringLiteral("groups"));
    for (const QString& group : groups.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!group.trimmed().isEmpty()) {
            place.chosenGroups << group.trimmed();
        }
    }
    const ImportReport report = importOccurrences(table, *set, place, mapPictures(cli));
    for (const QString& line : report.lines()) {
        printLine(line);
    }
    return true;
}

}  // namespace zelkora
