#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

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

}  // namespace zelkora
