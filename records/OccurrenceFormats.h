#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "records/DelimitedOccurrences.h"
#include "records/OccurrenceSet.h"
#include "records/ReadOptions.h"

namespace zelkora {

// The names --format takes: csv (the separator found from the header), tsv, semicolon, gbif
// (tab-separated without quoting), gpx, kml, geojson, and text (lines of coordinates).
QStringList occurrenceFormatNames();

// The extensions of the files readOccurrences reads by their names, in lower case, without
// the dot: the files the window takes for imports.
QStringList occurrenceFileExtensions();

// The bytes of a file of records. Throws ZelkoraError naming the file and the system's reason
// when it cannot be opened or read.
QByteArray readRecordsFile(const QString& fileName);

// Refuses bytes that are no text (whyNotText), naming them as what says ("the file «x»", "the
// standard input").
void requireText(const QByteArray& bytes, const QString& what);

// Reads a file of records in the format options.format names, else the one its content shows
// (a GPX or KML root element, a JSON object), else the one its name's extension says, else a
// delimited table. Returns nothing for plain lines of coordinates, which the caller inserts as
// pasted text: a forced "text", or a table whose header names no coordinates. Throws
// ZelkoraError for an unknown format name and for a file its format cannot read.
std::optional<OccurrenceSet> readOccurrences(const QByteArray& bytes, const QString& fileName,
                                             const ReadOptions& options);

// The same, except that a delimited file named by --format (csv, tsv, semicolon, gbif) whose
// header names no coordinates also gives nothing instead of an error: the import's plan tells
// the user which columns it found.
std::optional<OccurrenceSet> readOccurrencesOrLines(const QByteArray& bytes,
                                                    const QString& fileName,
                                                    const ReadOptions& options);

// The format readOccurrences reads a file in, by the rules above: its --format name, and whether
// the user named it.
struct OccurrenceFormat {
    QString name;
    bool named = false;
};
OccurrenceFormat occurrenceFormatOf(const QByteArray& bytes, const QString& fileName,
                                    const ReadOptions& options);

// How a delimited format (csv, tsv, semicolon, gbif) splits its file; nothing for the others.
std::optional<DelimitedDialect> delimitedDialect(const QString& formatName);

}  // namespace zelkora
