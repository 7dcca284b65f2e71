#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "records/PointFileWriters.h"

namespace zelkora {

QByteArray geoJsonPointFile(const std::vector<TablePoint>& points) {
    // One feature to a line: a large file stays readable and can be looked through line by line.
    QByteArray out = "{\"type\": \"FeatureCollection\", \"features\": [\n";
    bool first = true;
    for (const TablePoint& p : points) {
        const QJsonObject feature{
            {QStringLiteral("type"), QStringLiteral("Feature")},
            {QStringLiteral("geometry"),
             QJsonObject{{QStringLiteral("type"), QStringLiteral("Point")},
                         {QStringLiteral("coordinates"),
                          QJsonArray{fileLongitude(p.point.lon), p.point.lat}}}},
            {QStringLiteral("properties"),
             QJsonObject{{QStringLiteral("group"), p.group}, {QStringLiteral("marker"), p.marker}}},
        };
        out += first ? "" : ",\n";
        out += QJsonDocument(feature).toJson(QJsonDocument::Compact);
        first = false;
    }
    out += "\n]}\n";
    return out;
}

}  // namespace zelkora
