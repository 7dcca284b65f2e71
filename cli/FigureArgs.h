#pragma once

#include <QString>
#include <QStringList>

#include "figure/FigureOptions.h"

namespace zelkora {

// What `zelkora-cli figure` is asked to do: the figure's options, the table to draw, the file to
// write and whether to print the report.
struct FigureRequest {
    FigureOptions options;
    QString table;  // empty: a table with no points
    QString out;
    QString key;  // the numbers' key as CSV; empty for none
    bool report = false;
};

// Reads the words after "figure". Throws UsageError for a word it does not know, a missing
// value or one out of its range, when the format can be told neither from --format nor from
// the name of --out, and for a --key without numbers or naming the figure's own file.
FigureRequest figureRequestFromArgs(const QStringList& args);

// The words that stand for options: figureRequestFromArgs(figureArgs(o) + --out ...) gives o
// back. The window's dialog and the command line meet here, so that the same settings draw the
// same pixels.
QStringList figureArgs(const FigureOptions& options);

}  // namespace zelkora
