#include "cli/importRecords.h"

#include <climits>
#include <cstdio>
#include <vector>

#include "cli/CliArgs.h"
#include "common/VisibleText.h"
#include "mapimage/DataPaths.h"
#include "mapimage/TPngImage.h"
#include "projection/Tpar.h"
#include "records/OccurrenceFormats.h"
#include "records/OccurrenceImport.h"
#include "table/ImportReport.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

void printLine(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
}

// The check of --map's map, or of both maps: a point off every picture checked is off the map.
PictureCheck pictureCheck(const CliArgs& cli) {
    if (cli.has(QStringLiteral("map"))) {
        return mapPictureBounds(cli, cli.mapIndex()).check();
    }
    std::vector<PictureBounds> pictures;
    for (int map = 0; map < kMapCount; ++map) {
        try {
            pictures.push_back(mapPictureBounds(cli, map));
        } catch (const ZelkoraError& e) {
            printLine(QStringLiteral("Точки вне карты «%1» не проверены: %2")
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

}  // namespace

PictureBounds mapPictureBounds(const CliArgs& cli, int map) {
    const bool hiRes = cli.has(QStringLiteral("hires"));
    TPngImage base;
    base.LoadFromFile(baseImagePath(cli.dataDir(), kMapCaptions[map], hiRes));
    return PictureBounds(parForMap(map), hiRes, base.Width(), base.Height());
}

bool importRecords(const CliArgs& cli, PointTable& table, const QByteArray& bytes,
                   const QString& fileName, ImportReport& report) {
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
    const Placement placement = placeOccurrences(table, *set, place);
    report.setPictureCheck(pictureCheck(cli));
    printLine(importHeading(*set));
    reportOccurrences(*set, placement, report);
    for (const QString& line : placementLines(*set, placement)) {
        printLine(line);
    }
    return true;
}

}  // namespace zelkora
