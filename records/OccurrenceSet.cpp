#include "records/OccurrenceSet.h"

#include "table/HeaderRow.h"

namespace zelkora {

int OccurrenceSet::groupIndex(const QString& name) {
    const auto it = groupIndex_.constFind(name);
    if (it != groupIndex_.constEnd()) {
        return it.value();
    }
    const int index = static_cast<int>(groups.size());
    groups << name;
    groupCounts.push_back(0);
    groupIndex_.insert(name, index);
    return index;
}

void OccurrenceSet::addPoints(qint64 number, int group, int marker,
                              std::span<const GeoPoint> recordPoints) {
    for (const GeoPoint& point : recordPoints) {
        points.push_back({number, group, marker, point});
    }
    ++recordsWithPoints;
    if (group >= 0) {
        ++groupCounts[static_cast<std::size_t>(group)];
    }
}

void OccurrenceSet::addUnread(qint64 number, QString text, QString reason) {
    unread.push_back({number, recordTextForReport(text), std::move(reason)});
}

int markerType(std::optional<double> value) {
    if (value && *value >= 0 && *value < static_cast<double>(kMarkerTypeNames.size()) &&
        *value == static_cast<double>(static_cast<int>(*value))) {
        return static_cast<int>(*value);
    }
    return -1;
}

QString recordTextForReport(const QString& text) {
    if (text.size() <= kMaxRecordText) {
        return text;
    }
    return text.left(kMaxRecordText) + QChar(0x2026);
}

}  // namespace zelkora
