#include "records/GeoJsonOccurrences.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "records/CoordinateFields.h"
#include "records/PropertyRecords.h"

namespace zelkora {

namespace {

QString compact(const QJsonValue& value) {
    if (value.isObject()) {
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    }
    if (value.isArray()) {
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    }
    return value.toVariant().toString();
}

QString propertyText(const QJsonValue& value) {
    switch (value.type()) {
        case QJsonValue::String:
            return value.toString();
        case QJsonValue::Double:
            return QString::number(value.toDouble(), 'g', 17);
        case QJsonValue::Bool:
            return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
        case QJsonValue::Null:
        case QJsonValue::Undefined:
            return {};
        default:
            return compact(value);
    }
}

// One GeoJSON position [lon, lat, ...] into the record, or the reason it is none.
bool addPosition(PropertyRecord& record, const QJsonValue& position) {
    const QJsonArray numbers = position.toArray();
    if (!position.isArray() || numbers.size() < 2 || !numbers[0].isDouble() ||
        !numbers[1].isDouble()) {
        record.reason = QStringLiteral("координаты %1 не читаются: нужно [долгота, широта]")
                            .arg(visibleText(compact(position).left(kMaxRecordText)));
        return false;
    }
    const FieldPoint found = pointFromNumbers(numbers[1].toDouble(), numbers[0].toDouble());
    if (!found.point) {
        record.reason = found.reason;
        return false;
    }
    record.points.push_back(*found.point);
    return true;
}

// The points of a geometry; other geometries are named in others.
void addGeometry(PropertyRecord& record, const QJsonObject& geometry, QStringList& others,
                 int nesting) {
    const QString type = geometry.value(QLatin1String("type")).toString();
    const QJsonValue coordinates = geometry.value(QLatin1String("coordinates"));
    if (type == QLatin1String("Point")) {
        addPosition(record, coordinates);
    } else if (type == QLatin1String("MultiPoint")) {
        const QJsonArray positions = coordinates.toArray();
        for (const QJsonValue& position : positions) {
            if (!addPosition(record, position)) {
                break;
            }
        }
    } else if (type == QLatin1String("GeometryCollection") && nesting < 16) {
        const QJsonArray members = geometry.value(QLatin1String("geometries")).toArray();
        for (const QJsonValue& member : members) {
            addGeometry(record, member.toObject(), others, nesting + 1);
        }
    } else {
        others << (type.isEmpty() ? QStringLiteral("без типа") : type);
    }
}

PropertyRecord readFeature(const QJsonObject& feature, qint64 number) {
    PropertyRecord record;
    record.number = number;
    record.text = compact(feature).left(kMaxRecordText + 1);
    const QJsonObject properties = feature.value(QLatin1String("properties")).toObject();
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        record.properties.emplace_back(it.key(), propertyText(it.value()));
    }
    const QJsonValue geometry = feature.value(QLatin1String("geometry"));
    if (!geometry.isObject()) {
        record.reason = QStringLiteral("нет геометрии");
        return record;
    }
    QStringList others;
    addGeometry(record, geometry.toObject(), others, 0);
    if (!record.reason.isEmpty()) {
        record.points.clear();
    } else if (record.points.empty()) {
        record.reason = others.isEmpty()
                            ? QStringLiteral("нет точек")
                            : QStringLiteral("не точка (%1): берутся только Point и MultiPoint")
                                  .arg(others.join(QStringLiteral(", ")));
    }
    return record;
}

// The line on which each element of the root object's "features" array starts, in a text that
// has parsed as JSON: the report numbers features by their lines, as it numbers every other
// record. QJsonDocument keeps no positions, so the text is walked once for them.
std::vector<qint64> featureLines(const QByteArray& json) {
    std::vector<qint64> lines;
    qint64 line = 1;
    int depth = 0;
    int featuresDepth = -1;  // the depth inside the features array, once it is open
    bool inString = false;
    qsizetype stringStart = 0;
    QByteArrayView lastKey;      // the last string closed at the root object's depth
    bool valueExpected = false;  // inside the features array, before an element
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '\n') {
            ++line;
        }
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
                if (depth == 1) {
                    lastKey = QByteArrayView(json).sliced(stringStart, i - stringStart);
                }
            }
            continue;
        }
        if (depth == featuresDepth && valueExpected && c != ' ' && c != '\t' && c != '\r' &&
            c != '\n' && c != ']') {
            lines.push_back(line);
            valueExpected = false;
        }
        switch (c) {
            case '"':
                inString = true;
                stringStart = i + 1;
                break;
            case '{':
            case '[':
                ++depth;
                if (c == '[' && depth == 2 && featuresDepth < 0 && lastKey == "features") {
                    featuresDepth = depth;
                    valueExpected = true;
                }
                break;
            case '}':
            case ']':
                if (depth == featuresDepth) {
                    featuresDepth = -2;  // closed: later arrays are not the features
                }
                --depth;
                break;
            case ',':
                valueExpected = depth == featuresDepth;
                break;
            default:
                break;
        }
    }
    return lines;
}

qint64 lineOfOffset(const QByteArray& bytes, int offset) {
    return bytes.left(offset).count('\n') + 1;
}

}  // namespace

OccurrenceSet readGeoJsonOccurrences(const QByteArray& bytes, const ReadOptions& options) {
    QByteArray json = bytes;
    if (json.startsWith("\xEF\xBB\xBF")) {
        json.remove(0, 3);
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        throw ZelkoraError(QStringLiteral("Файл не читается как GeoJSON: ошибка JSON в строке %1")
                               .arg(lineOfOffset(json, error.offset)));
    }
    const QJsonObject root = document.object();
    const QString type = root.value(QLatin1String("type")).toString();
    std::vector<PropertyRecord> records;
    if (type == QLatin1String("FeatureCollection")) {
        const QJsonArray features = root.value(QLatin1String("features")).toArray();
        records.reserve(static_cast<std::size_t>(features.size()));
        const std::vector<qint64> lines = featureLines(json);
        std::size_t n = 0;
        for (const QJsonValue& feature : features) {
            records.push_back(readFeature(feature.toObject(), n < lines.size() ? lines[n] : 0));
            ++n;
        }
    } else if (type == QLatin1String("Feature")) {
        records.push_back(readFeature(root, lineOfOffset(json, json.indexOf('{'))));
    } else if (!type.isEmpty() && document.isObject()) {
        QJsonObject feature;
        feature.insert(QLatin1String("geometry"), root);
        records.push_back(readFeature(feature, lineOfOffset(json, json.indexOf('{'))));
        records.back().text = compact(root).left(kMaxRecordText + 1);
    } else {
        throw ZelkoraError(QStringLiteral(
            "Файл не читается как GeoJSON: в нём нет объекта с членом \"type\" (FeatureCollection, "
            "Feature или геометрия)"));
    }
    return groupPropertyRecords(std::move(records), options, QStringLiteral("GeoJSON"));
}

}  // namespace zelkora
