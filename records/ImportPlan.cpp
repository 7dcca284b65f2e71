#include "records/ImportPlan.h"

#include <QSet>
#include <algorithm>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "coordtext/Normaliser.h"
#include "records/ColumnRoles.h"
#include "records/DelimitedOccurrences.h"
#include "records/OccurrenceFormats.h"
#include "records/TextEncoding.h"
#include "table/CoordFormat.h"
#include "table/HeaderRow.h"
#include "table/PointInsert.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

bool isBlankText(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
    });
}

ImportPlan refused(Refusal refusal, QString message) {
    ImportPlan plan;
    plan.refusal = refusal;
    plan.message = std::move(message);
    return plan;
}

QString coordinateText(double lat, double lon) {
    return formatPointCell(lat, lon);
}

// Lines of coordinates, each read as a pasted line is: every point of it, with the line.
void readLines(ImportPlan& plan, const QByteArray& bytes, const MapCheck& onMap) {
    QByteArray text = bytes;
    const TextEncoding encoding = takeTextEncoding(text);
    plan.encoding = encodingName(encoding);
    plan.layout = QStringLiteral("строки координат");
    plan.format = QStringLiteral("text");
    plan.kind = ImportKind::Lines;
    plan.sample.columns =
        QStringList{QStringLiteral("Строка"), QStringLiteral("Текст"), QStringLiteral("Прочитано")};
    const QString decoded = decodeText(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())), encoding);
    qint64 number = 0;
    forEachPastedLine(decoded, [&](QStringView line) {
        ++number;
        if (isBlankLine(line)) {
            return;
        }
        LinePoints reading = readLinePoints(line, onMap);
        QStringList read;
        if (reading.points.empty()) {
            read << noPointReasonText(reading.reason);
            plan.set.addUnread(number, line.toString(), read.last());
        } else {
            std::vector<GeoPoint> points;
            for (const LinePoint& p : reading.points) {
                points.push_back({.lat = p.lat, .lon = p.lon});
                read << coordinateText(p.lat, p.lon);
            }
            plan.set.addPoints(number, -1, -1, points);
        }
        if (static_cast<int>(plan.sample.rows.size()) < kSampleRows) {
            plan.sample.rows.push_back(
                {QString::number(number), line.toString(), read.join(QStringLiteral("; "))});
        }
        plan.lines.push_back({number, line.toString(), std::move(reading)});
    });
    plan.set.description = plan.layout + QStringLiteral(", кодировка ") + plan.encoding;
}

// The points of a GPX, KML or GeoJSON file as a table.
FileSample sampleOfPoints(const OccurrenceSet& set) {
    FileSample sample;
    sample.columns = QStringList{
        set.groupField.isEmpty() ? QStringLiteral("Группа") : visibleText(set.groupField),
        QStringLiteral("Широта"), QStringLiteral("Долгота")};
    for (const Occurrence& o : set.points) {
        if (static_cast<int>(sample.rows.size()) == kSampleRows) {
            break;
        }
        sample.rows.push_back({o.group >= 0 ? set.groups[o.group] : QString(),
                               QString::number(o.point.lat, 'f', 6),
                               QString::number(o.point.lon, 'f', 6)});
    }
    return sample;
}

// Whether the head of a delimited file that names no coordinates is a table's header (so the
// file is refused until its columns are named) rather than the first of lines of coordinates: a
// header has several fields and gives no point.
bool looksLikeHeader(const DelimitedSample& sample) {
    return sample.header.size() >= 2 && !readPointLine(sample.headerLine).point;
}

// "1 точка", "3 точки", "5 точек".
QString pointCount(qint64 n) {
    const qint64 tens = n % 100;
    const qint64 units = n % 10;
    const char* word = "точек";
    if (tens < 11 || tens > 14) {
        word = units == 1 ? "точка" : (units >= 2 && units <= 4 ? "точки" : "точек");
    }
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
}

// Where each group went: its column's header, marker type and count.
QStringList placementLines(const Placement& placement, ColumnNumbers numbers) {
    QStringList lines;
    for (const PlacedColumn& c : placement.columns) {
        // Once the header holds the group's name, the report is where the user learns which
        // marker type the group was given.
        const QString marker = markerTypeName(c.column);
        const QString group = visibleText(c.header.trimmed());
        const QString count = pointCount(c.points);
        // A column still headed by its marker type's name (no groups) is named once.
        const bool named = group == marker || group == marker + QLatin1Char('.');
        if (numbers == ColumnNumbers::Shown) {
            lines << (named ? QStringLiteral("Столбец %1 «%2»: %3.").arg(c.column).arg(group, count)
                            : QStringLiteral("Столбец %1 «%2» (%3): %4.")
                                  .arg(c.column)
                                  .arg(group, marker, count));
        } else {
            lines << (named ? QStringLiteral("«%1»: %2.").arg(group, count)
                            : QStringLiteral("«%1» — %2: %3.").arg(group, marker, count));
        }
    }
    return lines;
}

// Every point read of the groups taken, placed or left off the map, and every record without a
// point, in the file's order; a point is quoted by its column's header or its group.
void reportRecords(const ImportPlan& plan, const ImportChoices& choices,
                   const PlacementOptions& place, const Placement& placement,
                   const PointTable& table, ImportReport& report) {
    const OccurrenceSet& set = plan.set;
    const bool grouped = !set.groupField.isEmpty();
    QSet<QString> chosen;
    for (const QString& name : choices.groups) {
        chosen.insert(name.simplified());
    }
    const auto taken = [&](const Occurrence& o) {
        return !grouped || o.group < 0 || chosen.isEmpty() || chosen.contains(set.groups[o.group]);
    };
    QStringList headers;
    for (const PlacedColumn& c : placement.columns) {
        while (headers.size() <= c.column) {
            headers << QString();
        }
        headers[c.column] = c.header.trimmed();
    }
    const auto quoted = [&](std::size_t index, int column) {
        const Occurrence& o = set.points[index];
        if (column >= 0) {
            return headers.value(column);
        }
        if (o.group >= 0) {
            return set.groups[o.group];
        }
        const int at = o.marker >= 0 ? o.marker : choices.column;
        return at < table.ColCount() ? table.cell(at, 0).trimmed() : QString();
    };
    auto unread = set.unread.begin();
    auto placed = placement.points.begin();
    for (std::size_t i = 0; i < set.points.size(); ++i) {
        const Occurrence& o = set.points[i];
        for (; unread != set.unread.end() && unread->number < o.number; ++unread) {
            report.addUnread(unread->number, unread->text, unread->reason);
        }
        int column = -1;
        if (placed != placement.points.end() && placed->index == i) {
            column = placed->column;
            ++placed;
        } else if (place.leftOut.empty() || !place.leftOut[i] || !taken(o)) {
            continue;  // a group not chosen
        }
        report.addRead(o.number, quoted(i, column), o.point.lat, o.point.lon);
    }
    for (; unread != set.unread.end(); ++unread) {
        report.addUnread(unread->number, unread->text, unread->reason);
    }
}

}  // namespace

// The marker type of a column as a sentence names it: "круги залитые", "звездочки".
QString markerTypeName(int column) {
    if (column < 0 || column >= static_cast<int>(kMarkerTypeNames.size())) {
        return QStringLiteral("без типа маркеров");
    }
    const std::u16string_view name = kMarkerTypeNames[static_cast<std::size_t>(column)];
    QString text = QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size())).trimmed();
    if (text.endsWith(QLatin1Char('.'))) {
        text.chop(1);
    }
    return text;
}

QString ImportPlan::heading() const {
    return set.description + QLatin1Char('.');
}

ImportPlan planImport(const QByteArray& bytes, const QString& fileName, const ReadOptions& options,
                      const PointTable& table, const MapCheck& onMap) {
    {
        QByteArray text = bytes;
        takeTextEncoding(text);
        if (isBlankText(text)) {
            return refused(Refusal::Empty, QStringLiteral("Файл пуст"));
        }
    }
    if (!bytes.startsWith("PK\x03\x04")) {
        if (const std::optional<QString> why = whyNotText(
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
            return refused(Refusal::Binary, QStringLiteral("Файл не текстовый: %1").arg(*why));
        }
    }
    const OccurrenceFormat format = occurrenceFormatOf(bytes, fileName, options);
    ImportPlan plan;
    plan.options = options;
    if (format.name == QLatin1String("text")) {
        readLines(plan, bytes, onMap);
        return plan;
    }
    std::optional<OccurrenceSet> set = readOccurrencesOrLines(bytes, fileName, options);
    const std::optional<DelimitedDialect> dialect = delimitedDialect(format.name);
    std::optional<DelimitedSample> sample;
    if (dialect) {
        sample = sampleDelimited(bytes, *dialect, kSampleRows);
        if (sample) {
            plan.layout = sample->layout;
            plan.separator = sample->separator;
            plan.encoding = encodingName(sample->encoding);
            plan.columns = sample->header;
            plan.sample.columns = sample->header;
            plan.sample.rows = sample->rows;
            const ColumnRoles roles = findColumnRoles(sample->header, options);
            if (!roles.sources.empty()) {
                const CoordinateSource& first = roles.sources.front();
                plan.latColumn = first.lat;
                plan.lonColumn = first.lon;
                plan.textColumn = first.text;
            }
            plan.groupColumn = roles.group;
        }
    }
    if (!set) {
        if (!dialect || !sample || (!format.named && !looksLikeHeader(*sample))) {
            plan.separator.clear();
            plan.columns.clear();
            plan.sample = {};
            readLines(plan, bytes, onMap);
            return plan;
        }
        plan.refusal = Refusal::NoCoordinateColumns;
        plan.message = QStringLiteral("В заголовке не найдены столбцы координат. Есть столбцы: %1.")
                           .arg(quotedNames(sample->header));
        return plan;
    }
    plan.format = format.name;
    plan.set = std::move(*set);
    if (!dialect) {
        plan.layout = format.name == QLatin1String("geojson") ? QStringLiteral("GeoJSON")
                                                              : format.name.toUpper();
        plan.sample = sampleOfPoints(plan.set);
    } else if (plan.set.points.empty() && plan.set.unread.empty()) {
        return refused(Refusal::Empty,
                       QStringLiteral("В файле только заголовок, записей в нём нет"));
    }
    plan.kind = ImportKind::Records;
    plan.groupsNeedingChoice = groupChoiceNeeded(table, plan.set);
    return plan;
}

ImportResult applyImport(const ImportPlan& plan, const ImportChoices& choices, PointTable& table,
                         ImportReport& report, ColumnNumbers numbers) {
    if (plan.kind == ImportKind::Refused) {
        throw ZelkoraError(plan.message);
    }
    const OccurrenceSet& set = plan.set;
    const bool grouped = !set.groupField.isEmpty();
    QSet<QString> chosen;
    for (const QString& name : choices.groups) {
        chosen.insert(name.simplified());
    }
    const auto taken = [&](const Occurrence& o) {
        return !grouped || o.group < 0 || chosen.isEmpty() || chosen.contains(set.groups[o.group]);
    };

    PlacementOptions place;
    place.column = choices.column;
    place.chosenGroups = choices.groups;
    ImportResult result;
    if (choices.offMap == OffMap::Drop && choices.onMap) {
        place.leftOut.resize(set.points.size());
        for (std::size_t i = 0; i < set.points.size(); ++i) {
            const GeoPoint& p = set.points[i].point;
            if (!choices.onMap(p.lat, p.lon)) {
                place.leftOut[i] = true;
                result.leftOffMap += taken(set.points[i]) ? 1 : 0;
            }
        }
    }
    result.placement = placeOccurrences(table, set, place);
    const Placement& placement = result.placement;
    if (plan.kind == ImportKind::Lines) {
        // Every line with its points, as a paste's report has them.
        for (const ImportPlan::Line& line : plan.lines) {
            report.addLine(line.number, line.text, line.reading);
        }
    } else {
        reportRecords(plan, choices, place, placement, table, report);
    }

    if (plan.kind == ImportKind::Records) {
        result.lines << placementLines(placement, numbers) << set.notes << placement.notes;
    }
    if (result.leftOffMap > 0) {
        result.lines << (choices.scope == OffMapScope::BothMaps
                             ? QStringLiteral("Точки вне обеих карт не вставлены: %1.")
                             : QStringLiteral("Точки вне карты не вставлены: %1."))
                            .arg(result.leftOffMap);
    }
    return result;
}

}  // namespace zelkora
