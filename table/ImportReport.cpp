#include "table/ImportReport.h"

#include <cmath>

#include "common/VisibleText.h"
#include "table/CoordFormat.h"

namespace zelkora {

namespace {

// As much of a record's text as a report line needs.
constexpr qsizetype kShownCharacters = 200;

QString shown(QStringView text) {
    if (text.size() <= kShownCharacters) {
        return visibleText(text);
    }
    return visibleText(text.first(kShownCharacters)) + QStringLiteral("…");
}

QString pointText(double lat, double lon) {
    return formatPointCell(lat, lon);
}

}  // namespace

void ImportReport::addRead(qsizetype number, QStringView text, double lat, double lon) {
    ++read_;
    if (!check_ || check_(lat, lon)) {
        return;
    }
    ++outsideCount_;
    OutsidePoint point{number, QString(), lat, lon, hintFor(lat, lon)};
    const bool kept = keep_ == kKeepAll || static_cast<qsizetype>(outside_.size()) < keep_;
    if (!kept && !outsideSink_) {
        return;
    }
    point.text = shown(text);
    if (outsideSink_) {
        outsideSink_(point);
    }
    if (kept) {
        outside_.push_back(std::move(point));
    }
}

void ImportReport::addUnread(qsizetype number, QStringView text, const QString& reason) {
    ++unreadCount_;
    const bool kept = keep_ == kKeepAll || static_cast<qsizetype>(unread_.size()) < keep_;
    if (!kept && !unreadSink_) {
        return;
    }
    UnreadRecord record{number, shown(text), reason};
    if (unreadSink_) {
        unreadSink_(record);
    }
    if (kept) {
        unread_.push_back(std::move(record));
    }
}

// The first of the readings a slip of the pen would explain that lands on the picture.
QString ImportReport::hintFor(double lat, double lon) const {
    struct Variant {
        double lat;
        double lon;
        const char* hint;
    };
    const Variant variants[] = {
        {lon, lat, "если поменять местами широту и долготу"},
        {-lat, lon, "если сменить знак широты"},
        {lat, -lon, "если сменить знак долготы"},
        {-lat, -lon, "если сменить знаки обеих координат"},
        {-lon, lat, "если поменять местами широту и долготу и сменить знак"},
        {lon, -lat, "если поменять местами широту и долготу и сменить знак"},
    };
    for (const Variant& v : variants) {
        if ((v.lat != lat || v.lon != lon) && std::abs(v.lat) <= 90 && check_(v.lat, v.lon)) {
            return QStringLiteral("%1, точка %2 попадёт на карту")
                .arg(QString::fromUtf8(v.hint), pointText(v.lat, v.lon));
        }
    }
    return {};
}

QString ImportReport::unreadLine(const UnreadRecord& record) {
    return QStringLiteral("Строка %1: %2 — «%3»")
        .arg(record.number)
        .arg(record.reason, record.text);
}

QString ImportReport::outsideLine(const OutsidePoint& point) {
    return QStringLiteral("Строка %1: %2").arg(point.number).arg(outsideText(point));
}

QString ImportReport::outsideText(const OutsidePoint& point) {
    QString text = QStringLiteral("точка %1 вне карты — «%2»")
                       .arg(pointText(point.lat, point.lon), point.text);
    if (!point.hint.isEmpty()) {
        text += QStringLiteral("; ") + point.hint;
    }
    return text;
}

QString ImportReport::summary() const {
    QString text = QStringLiteral("Прочитано строк с точками: %1, без точки: %2.")
                       .arg(read_)
                       .arg(unreadCount_);
    if (outsideCount_ > 0) {
        text += QStringLiteral(" Вне карты: %1.").arg(outsideCount_);
    }
    return text;
}

}  // namespace zelkora
