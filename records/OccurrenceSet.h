#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <vector>

#include "projection/GeoPoint.h"
#include "table/ImportReport.h"

namespace zelkora {

// A record of a file that gave a point.
struct Occurrence {
    qint64 number = 0;  // the record's line, or its place among the file's objects
    int group = -1;     // index into OccurrenceSet::groups; -1 when the file is not grouped
    int marker = -1;    // the marker type (table column) the record names itself, or -1
    GeoPoint point;
};

// Everything read from one file of records: the points with their groups, the records that gave
// none, and what the report says about the file as a whole.
class OccurrenceSet {
  public:
    // How the file was read, for the report: "CSV, разделитель «;», кодировка CP1251".
    QString description;
    // The column or property the groups come from; empty when the file is not grouped.
    QString groupField;
    // The groups in order of first appearance, and how many points each has.
    QStringList groups;
    std::vector<qint64> groupCounts;

    std::vector<Occurrence> points;
    qint64 recordsWithPoints = 0;      // a MultiPoint is one record of several points
    std::vector<UnreadRecord> unread;  // the record's text cut short when long
    // What the report says besides the records: parts of the file that were left out and why.
    QStringList notes;

    // The index of a group, added at the end when new. name is taken as it stands: callers trim.
    int groupIndex(const QString& name);
    // One record's points.
    void addPoints(qint64 number, int group, int marker, std::span<const GeoPoint> recordPoints);
    void addUnread(qint64 number, QString text, QString reason);

  private:
    QHash<QString, int> groupIndex_;
};

// The marker type a record names itself: a whole number from 0 to 8, else -1.
int markerType(std::optional<double> value);

// No more of a record's text than this goes into the report.
inline constexpr qsizetype kMaxRecordText = 200;

// The record's text for the report: cut to kMaxRecordText characters with "…".
QString recordTextForReport(const QString& text);

}  // namespace zelkora
