#include "records/OccurrenceImport.h"

#include "common/VisibleText.h"
#include "table/CoordFormat.h"

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

QStringList placementLines(const OccurrenceSet& set, const Placement& placement) {
    QStringList lines;
    for (const PlacedColumn& c : placement.columns) {
        lines << QStringLiteral("Столбец %1 «%2»: %3.")
                     .arg(c.column)
                     .arg(visibleText(c.header.trimmed()), pointCount(c.points));
    }
    return lines + set.notes + placement.notes;
}

}  // namespace zelkora
