#include "records/PointFileExport.h"

#include <QFileInfo>

#include "common/SavedFile.h"
#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "records/PointFileWriters.h"

namespace zelkora {

namespace {

struct PointFileFormat {
    const char* name;
    QStringList extensions;
    QByteArray (*write)(const std::vector<TablePoint>& points);
};

const std::vector<PointFileFormat>& formats() {
    static const std::vector<PointFileFormat> kFormats = {
        {"csv", {QStringLiteral("csv")}, csvPointFile},
        {"geojson", {QStringLiteral("geojson"), QStringLiteral("json")}, geoJsonPointFile},
        {"kml", {QStringLiteral("kml")}, kmlPointFile},
        {"gpx", {QStringLiteral("gpx")}, gpxPointFile},
    };
    return kFormats;
}

}  // namespace

QStringList pointFileFormatNames() {
    QStringList names;
    for (const PointFileFormat& f : formats()) {
        names << QLatin1String(f.name);
    }
    return names;
}

QString pointFileFormatOf(const QString& fileName) {
    const QString extension = QFileInfo(fileName).suffix().toLower();
    for (const PointFileFormat& f : formats()) {
        if (f.extensions.contains(extension)) {
            return QLatin1String(f.name);
        }
    }
    return {};
}

std::vector<SkippedCell> exportTable(const PointTable& table, const QString& fileName,
                                     const QString& format) {
    const QString name = format.isEmpty() ? pointFileFormatOf(fileName) : format.toLower();
    for (const PointFileFormat& f : formats()) {
        if (name == QLatin1String(f.name)) {
            TablePoints points = pointsOfTable(table);
            saveFile(fileName, f.write(points.points));
            return std::move(points.skipped);
        }
    }
    if (format.isEmpty()) {
        throw ZelkoraError(QStringLiteral("По имени «%1» не понять, в каком формате писать точки: "
                                          "нужно расширение .csv, .geojson, .kml или .gpx")
                               .arg(visibleText(QFileInfo(fileName).fileName())));
    }
    throw ZelkoraError(QStringLiteral("Неизвестный формат «%1»: можно %2")
                           .arg(visibleText(format), pointFileFormatNames().join(", ")));
}

}  // namespace zelkora
