#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

namespace zelkora {

// A record that gave no point: its number (from 1), its text as it stood and why.
struct UnreadRecord {
    qsizetype number = 0;
    QString text;
    QString reason;
};

// A point that was read and inserted but falls outside the current map's picture, with a hint
// when swapping latitude and longitude, or a sign, would put it on the map.
struct OutsidePoint {
    qsizetype number = 0;
    QString text;
    double lat = 0;
    double lon = 0;
    QString hint;
};

// Whether a point falls on the current map's picture.
using PictureCheck = std::function<bool(double lat, double lon)>;

// What one insert of many records read and could not read: a paste of lines, an import of a
// text or an occurrence file. Counts are complete; texts are kept for the first keep records
// of each kind and handed to the sinks, when set, as they come, so that a long import is
// reported whole without being held whole.
class ImportReport {
  public:
    static constexpr qsizetype kKeepAll = -1;

    explicit ImportReport(qsizetype keep = kKeepAll) : keep_(keep) {}

    // Points are checked against the picture only where a check is set.
    void setPictureCheck(PictureCheck check) { check_ = std::move(check); }
    const PictureCheck& pictureCheck() const { return check_; }
    void setUnreadSink(std::function<void(const UnreadRecord&)> sink) {
        unreadSink_ = std::move(sink);
    }
    void setOutsideSink(std::function<void(const OutsidePoint&)> sink) {
        outsideSink_ = std::move(sink);
    }

    // A record that gave the point lat, lon.
    void addRead(qsizetype number, QStringView text, double lat, double lon);
    void addUnread(qsizetype number, QStringView text, const QString& reason);

    qsizetype readCount() const { return read_; }
    qsizetype unreadCount() const { return unreadCount_; }
    qsizetype outsideCount() const { return outsideCount_; }
    const std::vector<UnreadRecord>& unread() const { return unread_; }
    const std::vector<OutsidePoint>& outside() const { return outside_; }

    // Whether there is anything the user should be told: a record without a point or a point
    // off the map.
    bool hasNews() const { return unreadCount_ > 0 || outsideCount_ > 0; }

    // The message lines, in Russian: the counts, then each unread record and each point outside
    // the picture that was kept.
    QString summary() const;
    static QString unreadLine(const UnreadRecord& record);
    static QString outsideLine(const OutsidePoint& point);
    // The same without its line number: "точка … вне карты — «…»; hint".
    static QString outsideText(const OutsidePoint& point);

  private:
    QString hintFor(double lat, double lon) const;

    qsizetype keep_;
    PictureCheck check_;
    std::function<void(const UnreadRecord&)> unreadSink_;
    std::function<void(const OutsidePoint&)> outsideSink_;
    qsizetype read_ = 0;
    qsizetype unreadCount_ = 0;
    qsizetype outsideCount_ = 0;
    std::vector<UnreadRecord> unread_;
    std::vector<OutsidePoint> outside_;
};

}  // namespace zelkora
