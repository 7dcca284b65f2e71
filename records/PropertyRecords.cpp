#include "records/PropertyRecords.h"

#include <QStringList>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "records/ColumnRoles.h"
#include "records/CoordinateFields.h"

namespace zelkora {

const QString* valueOf(const PropertyRecord& record, const QString& name) {
    for (const auto& [key, value] : record.properties) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

OccurrenceSet groupPropertyRecords(std::vector<PropertyRecord> records, const ReadOptions& options,
                                   const QString& description) {
    // Every property name of the file, in order of first appearance.
    QStringList names;
    for (const PropertyRecord& record : records) {
        for (const auto& property : record.properties) {
            if (!names.contains(property.first)) {
                names << property.first;
            }
        }
    }
    QString groupName;
    if (!options.groupBy.isEmpty()) {
        const int at = findColumn(names, options.groupBy);
        if (at < 0) {
            throw ZelkoraError(
                QStringLiteral("У объектов файла нет свойства «%1» (--group-by). Есть: %2")
                    .arg(visibleText(options.groupBy),
                         names.isEmpty() ? QStringLiteral("никаких") : quotedNames(names)));
        }
        groupName = names[at];
    } else if (!options.ungrouped) {
        const int at = findGroupColumn(names);
        groupName = at >= 0 ? names[at] : QString();
    }
    const int markerAt = groupName.isEmpty() ? -1 : findColumn(names, QStringLiteral("marker"));
    const QString markerName = markerAt >= 0 ? names[markerAt] : QString();

    OccurrenceSet set;
    set.description = description;
    if (!groupName.isEmpty()) {
        set.description += QStringLiteral("; группы по свойству «%1»").arg(visibleText(groupName));
    }
    set.groupField = groupName;
    for (PropertyRecord& record : records) {
        if (!record.reason.isEmpty()) {
            set.addUnread(record.number, std::move(record.text), std::move(record.reason));
            continue;
        }
        const QString* markerValue = markerName.isEmpty() ? nullptr : valueOf(record, markerName);
        const int marker = markerType(markerValue ? readDecimal(*markerValue) : std::nullopt);
        int group = -1;
        if (!groupName.isEmpty()) {
            const QString* value = valueOf(record, groupName);
            const QString name = value ? value->simplified() : QString();
            // The program's own files name a column without a header by its marker alone.
            if (name.isEmpty() && marker < 0) {
                set.addUnread(record.number, std::move(record.text),
                              QStringLiteral("не указана группа: нет свойства «%1»")
                                  .arg(visibleText(groupName)));
                continue;
            }
            group = name.isEmpty() ? -1 : set.groupIndex(name);
        }
        set.addPoints(record.number, group, marker, record.points);
    }
    return set;
}

}  // namespace zelkora
