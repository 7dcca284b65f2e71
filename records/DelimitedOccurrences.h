#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "records/OccurrenceSet.h"
#include "records/ReadOptions.h"
#include "records/TextEncoding.h"

namespace zelkora {

// How a delimited file is split.
struct DelimitedDialect {
    char separator = 0;       // 0: found from the header line
    bool gbifLayout = false;  // tab-separated without quoting, as GBIF writes its downloads
};

// Reads a CSV, TSV or semicolon-separated file of records: UTF-8 with or without a BOM, UTF-16
// with a BOM, or CP1251; quoted fields with separators and line breaks inside; decimal commas.
// The first line that is not blank is the header, whose names give the columns' roles
// (records/ColumnRoles.h). A header with GBIF's gbifID and tabs is read as GBIF writes it: quotes
// are ordinary characters there. Every record after the header gives a point or an entry in
// unread, numbered by its first line; a record of empty fields is no record.
// Returns nothing when the header names no coordinates and no option names any: the file is then
// plain lines of coordinates, unless required, when that throws ZelkoraError instead.
std::optional<OccurrenceSet> readDelimitedOccurrences(QByteArray bytes, DelimitedDialect dialect,
                                                      const ReadOptions& options, bool required);

// The head of a delimited file as the reader above splits it, for a person to look at.
struct DelimitedSample {
    QString layout;  // "CSV", "простая выгрузка GBIF", "occurrence.txt архива Darwin Core"
    QString separator;  // "«,»", "табуляция"
    TextEncoding encoding = TextEncoding::Utf8;
    QString headerLine;  // the header's line as it stands, blank lines before it passed over
    QStringList header;
    std::vector<QStringList> rows;  // the fields of the first records
};

// The header and the fields of the first rows records; nothing for a file without a header.
std::optional<DelimitedSample> sampleDelimited(QByteArray bytes, DelimitedDialect dialect,
                                               int rows);

}  // namespace zelkora
