#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "coordtext/LinePoints.h"
#include "records/GroupPlacement.h"
#include "records/OccurrenceSet.h"
#include "records/ReadOptions.h"
#include "table/ImportReport.h"

namespace zelkora {

class PointTable;

// What a file holds, as an import finds it out before anything changes.
enum class ImportKind {
    Records,  // a file of records (CSV, TSV, GBIF, GPX, KML, GeoJSON): points with their groups
    Lines,    // lines of coordinates, read as a paste reads them
    Refused,  // nothing to import (refusal says why)
};

enum class Refusal {
    None,
    Empty,                // no text at all, or a header without records
    Binary,               // a picture, an archive, a spreadsheet's own format...
    NoCoordinateColumns,  // a table whose header names no coordinates (columns lists it)
};

// The first records of a file as a table, for a person to look at.
struct FileSample {
    QStringList columns;
    std::vector<QStringList> rows;
};

// How many first records a plan's sample holds.
inline constexpr int kSampleRows = 10;

// An import worked out before it changes anything: what the file is, how it was read, its
// points, and the question the user must answer first, as values. The window shows them in its
// import dialog and the command line prints them; applyImport then changes the table.
struct ImportPlan {
    ImportKind kind = ImportKind::Refused;
    Refusal refusal = Refusal::None;
    QString message;  // why the file is refused; each front end adds how to choose columns

    // How the file was read.
    QString format;  // the --format name: csv, tsv, semicolon, gbif, gpx, kml, geojson, text
    QString layout;  // for people: "CSV", "простая выгрузка GBIF", "GPX", "строки координат"
    QString encoding;   // "UTF-8", "CP1251"...; empty where the format itself fixes it
    QString separator;  // "«,»", "табуляция"; empty but for delimited files
    ReadOptions options;
    // The header of a delimited file, the columns the coordinates and groups may be taken from,
    // and those taken, as indexes into it (-1: none).
    QStringList columns;
    int latColumn = -1;
    int lonColumn = -1;
    int textColumn = -1;
    int groupColumn = -1;

    // A line of a file of lines of coordinates, as it was read.
    struct Line {
        qint64 number = 0;
        QString text;
        LinePoints reading;
    };

    FileSample sample;
    OccurrenceSet set;        // the points read; lines of coordinates: every point, ungrouped
    std::vector<Line> lines;  // lines of coordinates: each line but the blank ones
    // The groups outnumber the table's free columns: some must be chosen.
    std::optional<GroupChoice> groupsNeedingChoice;

    // How the file was read, for the report: "CSV, разделитель «,», кодировка UTF-8; …".
    QString heading() const;
};

// Works out the import of a file's bytes into table, which it does not change: a file of records
// in the format options name, or its content or fileName's extension show; lines of coordinates
// (a forced "text", a file whose first line gives a point or holds one field), every point of
// every line read as a paste reads it, onMap choosing where a line's letters leave two readings
// open; or a refusal: an empty file ("Файл пуст"), a file that is no text, a table whose header
// names no coordinates. Throws ZelkoraError for an unknown format, a column options name that
// the header lacks, and a file its format cannot read.
ImportPlan planImport(const QByteArray& bytes, const QString& fileName, const ReadOptions& options,
                      const PointTable& table, const MapCheck& onMap = {});

// What to do with the points that fall off the map.
enum class OffMap { Keep, Drop };
// What "the map" is: one map, or both (a point off the one may lie on the other).
enum class OffMapScope { OneMap, BothMaps };

// The user's answers to a plan.
struct ImportChoices {
    int column = 0;      // the column of every point of an ungrouped file
    QStringList groups;  // the groups to take; empty: all of them
    OffMap offMap = OffMap::Keep;
    PictureCheck onMap;  // whether a point lies on the map; empty: nothing is off it
    OffMapScope scope = OffMapScope::OneMap;  // for the report's words
};

// How the report names a table's columns: by number from 0 (zelkora-cli's --column) and marker
// type, or, in the window, which numbers nothing, by marker type alone.
enum class ColumnNumbers { Shown, Hidden };

// What an import did.
struct ImportResult {
    Placement placement;
    qint64 leftOffMap = 0;  // points off the map that were not put in
    // What the report says after the records: where each group went, what was left out.
    QStringList lines;
};

// The marker type of a table column as a sentence names it: "круги залитые", "звездочки".
QString markerTypeName(int column);

// Puts a plan's points into table as choices say, as placeOccurrences places them (one column
// per group, or choices.column), leaving out the points off the map when asked to. report hears
// of every record in the file's order: each that gave no point, and each point read of the
// groups taken (the report checks it against the map and quotes its group); of lines of
// coordinates, of every line with its points, as a paste's report does. Throws
// ZelkoraError with the table unchanged for a refused plan, too many groups for the free
// columns, a chosen group the file lacks, and a table that would grow too large.
ImportResult applyImport(const ImportPlan& plan, const ImportChoices& choices, PointTable& table,
                         ImportReport& report, ColumnNumbers numbers = ColumnNumbers::Shown);

}  // namespace zelkora
