#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

namespace zelkora {

class ImportReport;
class PointTable;

// The row above the place for a new point in column: the lowest filled cell among rows 0 to
// RowCount-2. The last row is never looked at. A column without a filled cell, its header
// included, gives 0, so the new point goes to row 1.
int lastFilledRow(const PointTable& table, int column);

// The row a new point of column goes to: lastFilledRow + 1. A point is never overwritten:
// when that row is the last one and already holds text, the table grows by one row and the
// new last row is returned. Throws ZelkoraError for a column the table does not have.
int newPointRow(PointTable& table, int column);

// The one-point entry: turns every "," into "." in both field texts (the caller shows them
// again), then writes "lat, lon" into the new point row of column. Nothing is validated.
// Returns the row written.
int insertOnePoint(PointTable& table, int column, QString& latText, QString& lonText);

// The clipboard insert: every point of every line (readLinePoints) into its own new point row of
// column, in the order of the text, placed as newPointRow places one point after another. Every
// line but a blank one goes into the report, when one is given, with its number (from 1), the
// words each point came from, or why it gave none; the report checks the points against the
// map's picture, and the same check chooses between the readings of a letter whose language
// the line leaves open. No line stops the insert. Returns the number of points written.
int insertPoints(PointTable& table, int column, const QStringList& lines,
                 ImportReport* report = nullptr);

// The same on the pasted text itself, taken line by line as splitPastedLines splits it: the
// lines are never held apart, so a long paste costs little beyond its own text.
int insertPastedText(PointTable& table, int column, QStringView text,
                     ImportReport* report = nullptr);

// Splits pasted text into lines: CR LF, a lone CR and a lone LF each end a line; an empty
// last line after a final break does not count, and an empty text has no lines.
QStringList splitPastedLines(const QString& text);

// Calls visit with each line of pasted text in turn, as splitPastedLines splits it.
void forEachPastedLine(QStringView text, const std::function<void(QStringView line)>& visit);

}  // namespace zelkora
