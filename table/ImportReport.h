#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

#include "coordtext/LinePoints.h"

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
using PictureCheck = MapCheck;

// A point read in a line of text: where it lies, the characters it came from, and what the map
// says of it.
struct LinePointRecord {
    double lat = 0;
    double lon = 0;
    std::vector<TextSpan> spans;
    bool byMap = false;  // the map chose between the readings of its letters
    bool outside = false;
    QString hint;  // for a point outside the map
};

// One line of a paste or of an import of text lines, as it was read: its number (from 1), its
// text (the first kKeptLineCharacters of it), every point read with the words it came from, or
// why it gave none.
struct LineRecord {
    qsizetype number = 0;
    QString text;
    bool cut = false;  // the text kept is the start of a longer line
    std::vector<LinePointRecord> points;
    QString reason;
};

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
    void setLineSink(std::function<void(const LineRecord&)> sink) { lineSink_ = std::move(sink); }

    // How much of a line a record keeps.
    static constexpr qsizetype kKeptLineCharacters = 4000;

    // A line of text and what the reader made of it: each point is counted and checked as
    // addRead does, a line without a point as addUnread does; the line is kept whole (the first
    // keep lines) and handed to the line sink.
    void addLine(qsizetype number, QStringView text, const LinePoints& reading);
    const std::vector<LineRecord>& lines() const { return lines_; }
    qsizetype lineCount() const { return lineCount_; }
    qsizetype pointCount() const { return points_; }

    // Whether the lines read call for a word beyond the counts: a line of several points, a
    // point the map chose, or points found among other words, which the user should see.
    bool hasReadings() const { return readings_; }

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

    // A line with the parts that were read in brackets, each followed by its point's number:
    // "Sa Pa, [22°21′N, 103°46′E]1, 1900 m". Invisible characters are written out.
    static QString markedText(QStringView text, const std::vector<LinePointRecord>& points);
    // "Строка N: …" with the marked text and the points, or the reason, as one line.
    static QString lineText(const LineRecord& line);
    // A point as the report names it: "43.115500, 131.885500", with "(выбрано по карте)" or
    // "вне карты; hint" where that applies.
    static QString pointText(const LinePointRecord& point);

  private:
    QString hintFor(double lat, double lon) const;

    qsizetype keep_;
    PictureCheck check_;
    std::function<void(const UnreadRecord&)> unreadSink_;
    std::function<void(const OutsidePoint&)> outsideSink_;
    std::function<void(const LineRecord&)> lineSink_;
    std::vector<LineRecord> lines_;
    qsizetype lineCount_ = 0;
    qsizetype points_ = 0;
    bool readings_ = false;
    qsizetype read_ = 0;
    qsizetype unreadCount_ = 0;
    qsizetype outsideCount_ = 0;
    std::vector<UnreadRecord> unread_;
    std::vector<OutsidePoint> outside_;
};

}  // namespace zelkora
