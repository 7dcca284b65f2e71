#include "records/OccurrenceImport.h"

#include "common/VisibleText.h"
#include "table/CoordFormat.h"
#include "table/HeaderRow.h"

namespace zelkora {

namespace {

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

}  // namespace

void reportOccurrences(const OccurrenceSet& set, const Placement& placement, ImportReport& report) {
    QStringList headers;  // by column
    for (const PlacedColumn& c : placement.columns) {
        while (headers.size() <= c.column) {
            headers << QString();
        }
        headers[c.column] = c.header.trimmed();
    }
    // Both lists are in the order of the file: merged, the report hears of the records in turn.
    auto unread = set.unread.begin();
    for (const PlacedPoint& p : placement.points) {
        for (; unread != set.unread.end() && unread->number < p.number; ++unread) {
            report.addUnread(unread->number, unread->text, unread->reason);
        }
        report.addRead(p.number, headers.value(p.column), p.point.lat, p.point.lon);
    }
    for (; unread != set.unread.end(); ++unread) {
        report.addUnread(unread->number, unread->text, unread->reason);
    }
}

QString importHeading(const OccurrenceSet& set) {
    return set.description + QLatin1Char('.');
}

QStringList placementLines(const OccurrenceSet& set, const Placement& placement,
                           ColumnNumbers numbers) {
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
    return lines + set.notes + placement.notes;
}

}  // namespace zelkora
