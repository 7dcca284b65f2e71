#include "records/ImportReport.h"

#include <algorithm>

#include "common/VisibleText.h"
#include "table/PointCell.h"

namespace zelkora {

namespace {

// "1 точка", "3 точки", "5 точек".
QString countOf(qint64 n, const char* one, const char* few, const char* many) {
    const qint64 tens = n % 100;
    const qint64 units = n % 10;
    const char* word = many;
    if (tens < 11 || tens > 14) {
        word = units == 1 ? one : (units >= 2 && units <= 4 ? few : many);
    }
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
}

}  // namespace

ImportReport reportOf(const OccurrenceSet& set, const Placement& placement,
                      const std::vector<MapPicture>& pictures) {
    ImportReport report;
    report.description = set.description;
    report.numberWord = set.numberWord;
    report.recordsWithPoints = set.recordsWithPoints;
    report.unread = set.unread;
    report.columns = placement.columns;
    report.notes = set.notes + placement.notes;
    for (const MapPicture& picture : pictures) {
        report.mapsChecked << picture.caption;
    }
    if (pictures.empty()) {
        return report;
    }
    for (const PlacedPoint& p : placement.points) {
        const bool onSome = std::any_of(pictures.begin(), pictures.end(),
                                        [&](const auto& pic) { return isOnPicture(p.point, pic); });
        if (!onSome) {
            QString group;
            for (const PlacedColumn& c : placement.columns) {
                if (c.column == p.column) {
                    group = c.header;
                }
            }
            report.outside.push_back({p.number, group, p.point});
        }
    }
    return report;
}

ImportReport importOccurrences(PointTable& table, const OccurrenceSet& set,
                               const PlacementOptions& options,
                               const std::vector<MapPicture>& pictures) {
    return reportOf(set, placeOccurrences(table, set, options), pictures);
}

QStringList ImportReport::lines(int maxListed) const {
    QStringList out;
    if (!description.isEmpty()) {
        out << description + QLatin1Char('.');
    }
    out << QStringLiteral("Записей с точками: %1, без точек: %2.")
               .arg(recordsWithPoints)
               .arg(unread.size());
    for (const PlacedColumn& c : columns) {
        out << QStringLiteral("Столбец %1 «%2»: %3.")
                   .arg(c.column)
                   .arg(visibleText(c.header.trimmed()))
                   .arg(countOf(c.points, "точка", "точки", "точек"));
    }
    const auto listed = [&](std::size_t count) {
        return maxListed > 0 ? std::min(count, static_cast<std::size_t>(maxListed)) : count;
    };
    const auto more = [&](std::size_t count) {
        if (listed(count) < count) {
            out << QStringLiteral("… и ещё %1.").arg(count - listed(count));
        }
    };
    if (!unread.empty()) {
        out << QStringLiteral("Без точек:");
        for (std::size_t i = 0; i < listed(unread.size()); ++i) {
            const UnreadRecord& r = unread[i];
            out << QStringLiteral("%1 %2: %3%4")
                       .arg(numberWord)
                       .arg(r.number)
                       .arg(r.reason, r.text.isEmpty()
                                          ? QString()
                                          : QStringLiteral(": «%1»").arg(visibleText(r.text)));
        }
        more(unread.size());
    }
    if (!mapsChecked.isEmpty()) {
        const bool one = mapsChecked.size() == 1;
        if (outside.empty()) {
            out << QStringLiteral("Все точки на карте «%1».")
                       .arg(mapsChecked.join(QStringLiteral("» или «")));
        } else {
            out << QStringLiteral("Вне %1 «%2»: %3.")
                       .arg(
                           one ? QStringLiteral("карты") : QStringLiteral("карт"),
                           mapsChecked.join(QStringLiteral("» и «")),
                           countOf(static_cast<qint64>(outside.size()), "точка", "точки", "точек"));
            for (std::size_t i = 0; i < listed(outside.size()); ++i) {
                const OutsidePoint& p = outside[i];
                out << QStringLiteral("%1 %2: %3%4")
                           .arg(numberWord)
                           .arg(p.number)
                           .arg(p.group.trimmed().isEmpty()
                                    ? QString()
                                    : visibleText(p.group.trimmed()) + QStringLiteral(", "),
                                pointCellText(p.point.lat, p.point.lon));
            }
            more(outside.size());
        }
    }
    out << notes;
    return out;
}

}  // namespace zelkora
