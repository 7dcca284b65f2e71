#include "records/GpxOccurrences.h"

#include <QXmlStreamReader>

#include "records/PropertyRecords.h"
#include "records/XmlRecords.h"

namespace zelkora {

namespace {

bool isPathPoint(QStringView name) {
    return name == QLatin1String("trkpt") || name == QLatin1String("rtept");
}

// One point element, read up to its end: its leaf elements become properties.
PropertyRecord readPoint(QXmlStreamReader& xml) {
    PropertyRecord record;
    record.number = xml.lineNumber();
    const QString element = xml.name().toString();
    const QString lat = xml.attributes().value(QLatin1String("lat")).toString();
    const QString lon = xml.attributes().value(QLatin1String("lon")).toString();

    struct Open {
        QString name;
        QString text;
        bool hasChildren = false;
    };
    std::vector<Open> open;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (!open.empty()) {
                open.back().hasChildren = true;
            }
            open.push_back({xml.name().toString(), {}, false});
        } else if (xml.isCharacters() && !open.empty()) {
            open.back().text += xml.text();
        } else if (xml.isEndElement()) {
            if (open.empty()) {
                break;  // the point's own end
            }
            Open leaf = std::move(open.back());
            open.pop_back();
            if (!leaf.hasChildren && !valueOf(record, leaf.name)) {
                record.properties.emplace_back(leaf.name, leaf.text.trimmed());
            }
        }
    }
    const QString* name = valueOf(record, QStringLiteral("name"));
    record.text = QStringLiteral("<%1 lat=\"%2\" lon=\"%3\">%4")
                      .arg(element, lat, lon, name ? QStringLiteral(" ") + *name : QString());
    setPointFromTexts(record, lat, lon);
    return record;
}

}  // namespace

OccurrenceSet readGpxOccurrences(const QByteArray& bytes, const ReadOptions& options) {
    QXmlStreamReader xml(bytes);
    expectRoot(xml, "gpx", "GPX");
    std::vector<PropertyRecord> records;
    qint64 pathPointsLeft = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        const QStringView name = xml.name();
        if (name == QLatin1String("wpt") || (options.tracks && isPathPoint(name))) {
            records.push_back(readPoint(xml));
        } else if (isPathPoint(name)) {
            ++pathPointsLeft;
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError()) {
        endWithXmlError(xml, records, "GPX");
    }
    OccurrenceSet set = groupPropertyRecords(
        std::move(records), options,
        options.tracks ? QStringLiteral("GPX, путевые точки, точки треков и маршрутов")
                       : QStringLiteral("GPX, путевые точки"));
    if (pathPointsLeft > 0) {
        set.notes << QStringLiteral(
                         "Точки треков и маршрутов не взяты: %1 (берутся только "
                         "путевые точки, если не попросить и их)")
                         .arg(pathPointsLeft);
    }
    return set;
}

}  // namespace zelkora
