#pragma once

#include <QString>
#include <cstdint>

namespace zelkora {

class PointTable;

// The largest table a file may hold; larger ones are refused before anything is allocated.
inline constexpr int kMaxTableColumns = 1000;
inline constexpr int kMaxTableRows = 1000000;
inline constexpr std::int64_t kMaxTableCells = 10000000;

// The table file: ColCount and RowCount on the first two lines, then one cell per line in
// column-major order, CP1251, every line ending in CR LF.
//
// Failures throw ZelkoraError with the user's message: "The specified file was not found",
// "Invalid file name - %s" (a missing folder or a name too long, "%s" literally), "Too many
// open files", "File access denied", "Invalid numeric input" (a count that is not an integer),
// or "I/O error n" for any other system error. n is 112 for a full disk (ENOSPC, EDQUOT), 32
// for a busy file (EBUSY, ETXTBSY) and the Linux errno value otherwise.

// Writes into a temporary file beside FileName and renames it into place, so a failed save
// leaves an existing file whole. A line break or Ctrl-Z inside a cell is written as a blank.
void SaveStringGrid(const PointTable& StringGrid, const QString& FileName);

// Reads and checks the whole file, then replaces the table's shape and cells in one step; on
// any failure the table stays as it was. Files larger than the limits above are refused before
// anything is allocated for them.
void LoadStringGrid(PointTable& StringGrid, const QString& FileName);

}  // namespace zelkora
