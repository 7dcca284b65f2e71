#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cmath>

#include "records/OccurrenceSet.h"
#include "tests/support/TestFiles.h"

namespace zelkora {

// A fixture file of tests/records/fixtures.
inline QByteArray fixture(const char* name) {
    return readBytes(QStringLiteral(ZELKORA_RECORDS_FIXTURES) + QLatin1String(name));
}

// The points of a set as "group: lat, lon @number" lines, to the sixth decimal: a whole set is
// checked in one comparison and a difference shows where it is.
inline QStringList pointLines(const OccurrenceSet& set) {
    QStringList lines;
    for (const Occurrence& o : set.points) {
        const QString group = o.group >= 0 ? set.groups[o.group] : QStringLiteral("-");
        lines << QStringLiteral("%1: %2, %3 @%4")
                     .arg(group)
                     .arg(o.point.lat, 0, 'f', 6)
                     .arg(o.point.lon, 0, 'f', 6)
                     .arg(o.number);
    }
    return lines;
}

// The unread records as "number: reason" lines.
inline QStringList unreadLines(const OccurrenceSet& set) {
    QStringList lines;
    for (const UnreadRecord& r : set.unread) {
        lines << QStringLiteral("%1: %2").arg(r.number).arg(r.reason);
    }
    return lines;
}

}  // namespace zelkora
