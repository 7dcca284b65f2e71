#include "table/ImportReport.h"

#include <cmath>

#include "common/VisibleText.h"
#include "table/CoordFormat.h"

#include <QStringList>
#include <algorithm>

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

QString cellText(double lat, double lon) {
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
                .arg(QString::fromUtf8(v.hint), cellText(v.lat, v.lon));
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
    QString text =
        QStringLiteral("точка %1 вне карты — «%2»").arg(cellText(point.lat, point.lon), point.text);
    if (!point.hint.isEmpty()) {
        text += QStringLiteral("; ") + point.hint;
    }
    return text;
}

void ImportReport::addLine(qsizetype number, QStringView text, const LinePoints& reading) {
    ++lineCount_;
    const bool kept = keep_ == kKeepAll || static_cast<qsizetype>(lines_.size()) < keep_;
    LineRecord line;
    line.number = number;
    if (reading.points.empty()) {
        line.reason = noPointReasonText(reading.reason);
        addUnread(number, text, line.reason);
    }
    for (const LinePoint& p : reading.points) {
        LinePointRecord record{p.lat, p.lon, p.spans, p.byMap, false, {}};
        ++points_;
        if (check_ && !check_(p.lat, p.lon)) {
            record.outside = true;
            record.hint = hintFor(p.lat, p.lon);
        }
        readings_ = readings_ || p.byMap;
        line.points.push_back(std::move(record));
    }
    if (!reading.points.empty()) {
        // Each point as addRead counts it; the line is one line with points.
        const qsizetype before = read_;
        for (const LinePoint& p : reading.points) {
            addRead(number, text, p.lat, p.lon);
        }
        read_ = before + 1;
        // Several points, or points among words: the user should see what was taken.
        qsizetype letters = 0;
        for (const QChar c : text) {
            letters += c.isLetterOrNumber() ? 1 : 0;
        }
        qsizetype letterCovered = 0;
        for (const LinePoint& p : reading.points) {
            for (const TextSpan& s : p.spans) {
                for (const QChar c : text.sliced(s.start, s.length)) {
                    letterCovered += c.isLetterOrNumber() ? 1 : 0;
                }
            }
        }
        readings_ = readings_ || reading.points.size() > 1 || letterCovered < letters;
    }
    if (!kept && !lineSink_) {
        return;
    }
    line.cut = text.size() > kKeptLineCharacters;
    line.text = text.first(std::min(text.size(), kKeptLineCharacters)).toString();
    if (lineSink_) {
        lineSink_(line);
    }
    if (kept) {
        lines_.push_back(std::move(line));
    }
}

QString ImportReport::markedText(QStringView text, const std::vector<LinePointRecord>& points) {
    struct Mark {
        qsizetype at;
        bool open;
        int point;
    };
    std::vector<Mark> marks;
    for (std::size_t p = 0; p < points.size(); ++p) {
        for (const TextSpan& span : points[p].spans) {
            if (span.end() <= text.size()) {
                marks.push_back({span.start, true, static_cast<int>(p) + 1});
                marks.push_back({span.end(), false, static_cast<int>(p) + 1});
            }
        }
    }
    std::stable_sort(marks.begin(), marks.end(), [](const Mark& a, const Mark& b) {
        return a.at < b.at || (a.at == b.at && !a.open && b.open);
    });
    QString marked;
    qsizetype from = 0;
    for (const Mark& m : marks) {
        marked += visibleText(text.sliced(from, m.at - from));
        from = m.at;
        marked += m.open ? QStringLiteral("[") : QStringLiteral("]%1").arg(m.point);
    }
    marked += visibleText(text.sliced(from));
    return marked;
}

QString ImportReport::pointText(const LinePointRecord& point) {
    QString text = formatPointCell(point.lat, point.lon);
    if (point.byMap) {
        text += QStringLiteral(" (выбрано по карте)");
    }
    if (point.outside) {
        text += QStringLiteral(" вне карты");
        if (!point.hint.isEmpty()) {
            text += QStringLiteral("; ") + point.hint;
        }
    }
    return text;
}

QString ImportReport::lineText(const LineRecord& line) {
    const QString shownText =
        markedText(line.text, line.points) + (line.cut ? QStringLiteral("…") : QString());
    if (line.points.empty()) {
        return QStringLiteral("Строка %1: %2 — «%3»").arg(line.number).arg(line.reason, shownText);
    }
    QStringList points;
    for (std::size_t p = 0; p < line.points.size(); ++p) {
        points << (line.points.size() > 1 ? QStringLiteral("%1) ").arg(p + 1) : QString()) +
                      pointText(line.points[p]);
    }
    return QStringLiteral("Строка %1: «%2» → %3")
        .arg(line.number)
        .arg(shownText, points.join(QStringLiteral("; ")));
}

QString ImportReport::summary() const {
    QString text = QStringLiteral("Прочитано строк с точками: %1, без точки: %2.")
                       .arg(read_)
                       .arg(unreadCount_);
    if (points_ > read_) {
        text += QStringLiteral(" Точек: %1.").arg(points_);
    }
    if (outsideCount_ > 0) {
        text += QStringLiteral(" Вне карты: %1.").arg(outsideCount_);
    }
    return text;
}

}  // namespace zelkora
