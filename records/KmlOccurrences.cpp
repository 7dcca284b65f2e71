#include "records/KmlOccurrences.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include "common/VisibleText.h"
#include "records/CoordinateFields.h"
#include "records/PropertyRecords.h"
#include "records/XmlRecords.h"

namespace zelkora {

namespace {

bool is(const QXmlStreamReader& xml, const char* name) {
    return xml.name() == QLatin1String(name);
}

// The first "lon,lat[,alt]" tuple of a coordinates element, as a point or the reason for none.
void readCoordinates(PropertyRecord& record, const QString& text) {
    static const QRegularExpression kBlanksAfterComma(QStringLiteral(",\\s+"));
    QString tuples = text.trimmed();
    tuples.replace(kBlanksAfterComma, QStringLiteral(","));
    const QString first = tuples.section(QRegularExpression(QStringLiteral("\\s+")), 0, 0);
    const QStringList parts = first.split(QLatin1Char(','));
    if (parts.size() < 2) {
        record.reason = QStringLiteral("координаты «%1» не читаются: нужно «долгота,широта»")
                            .arg(visibleText(text.trimmed().left(kMaxRecordText)));
        return;
    }
    PropertyRecord one;
    setPointFromTexts(one, parts[1], parts[0]);
    if (one.points.empty()) {
        record.reason = one.reason;
    } else {
        record.points.push_back(one.points.front());
    }
}

// One Placemark, read up to its end.
PropertyRecord readPlacemark(QXmlStreamReader& xml, const QString& folder) {
    PropertyRecord record;
    record.number = xml.lineNumber();
    QStringList otherGeometries;
    QString dataName;  // the name of the Data element being read
    int depth = 0;     // elements open inside the Placemark
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            if (depth-- == 0) {
                break;
            }
            continue;
        }
        if (!xml.isStartElement()) {
            continue;
        }
        if (depth == 0 && (is(xml, "name") || is(xml, "description"))) {
            record.properties.emplace_back(
                xml.name().toString(),
                xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
        } else if (is(xml, "Data")) {
            dataName = xml.attributes().value(QLatin1String("name")).toString();
            ++depth;
        } else if (is(xml, "value") && !dataName.isEmpty()) {
            record.properties.emplace_back(dataName, xml.readElementText().trimmed());
            dataName.clear();
        } else if (is(xml, "SimpleData")) {
            const QString name = xml.attributes().value(QLatin1String("name")).toString();
            record.properties.emplace_back(name, xml.readElementText().trimmed());
        } else if (is(xml, "Point")) {
            ++depth;
        } else if (is(xml, "coordinates")) {
            // Only a Point's coordinates get here: every other geometry is skipped whole.
            PropertyRecord point;
            readCoordinates(point, xml.readElementText());
            if (point.points.empty()) {
                record.reason = point.reason;
            } else if (record.reason.isEmpty()) {
                record.points.push_back(point.points.front());
            }
        } else if (is(xml, "MultiGeometry") || is(xml, "ExtendedData") || is(xml, "SchemaData")) {
            ++depth;
        } else {
            if (is(xml, "LineString") || is(xml, "LinearRing") || is(xml, "Polygon") ||
                is(xml, "Track") || is(xml, "MultiTrack") || is(xml, "Model")) {
                otherGeometries << xml.name().toString();
            }
            xml.skipCurrentElement();
        }
    }
    if (!folder.isEmpty()) {
        record.properties.emplace_back(QStringLiteral("folder"), folder);
    }
    const QString* name = valueOf(record, QStringLiteral("name"));
    record.text =
        QStringLiteral("<Placemark>%1").arg(name ? QStringLiteral(" ") + *name : QString());
    if (!record.reason.isEmpty()) {
        record.points.clear();
    } else if (record.points.empty()) {
        record.reason = otherGeometries.isEmpty()
                            ? QStringLiteral("нет точки (элемента Point)")
                            : QStringLiteral("не точка (%1): берутся только точки")
                                  .arg(otherGeometries.join(QStringLiteral(", ")));
    }
    return record;
}

}  // namespace

OccurrenceSet readKmlOccurrences(const QByteArray& bytes, const ReadOptions& options) {
    QXmlStreamReader xml(bytes);
    expectRoot(xml, "kml", "KML");
    std::vector<PropertyRecord> records;
    // The elements open around the reading place, with a Folder's name once it is read.
    struct Open {
        bool folder = false;
        QString name;
    };
    std::vector<Open> open;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            if (!open.empty()) {
                open.pop_back();
            }
            continue;
        }
        if (!xml.isStartElement()) {
            continue;
        }
        if (is(xml, "Placemark")) {
            QString folder;
            for (auto it = open.rbegin(); it != open.rend() && folder.isEmpty(); ++it) {
                if (it->folder) {
                    folder = it->name.simplified();
                }
            }
            records.push_back(readPlacemark(xml, folder));
        } else if (is(xml, "name") && !open.empty() && open.back().folder) {
            open.back().name = xml.readElementText();
        } else {
            open.push_back({is(xml, "Folder"), {}});
        }
    }
    if (xml.hasError()) {
        endWithXmlError(xml, records, "KML");
    }
    return groupPropertyRecords(std::move(records), options, QStringLiteral("KML, метки"));
}

}  // namespace zelkora
