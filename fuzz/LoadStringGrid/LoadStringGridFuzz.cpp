// The table-file reader on any bytes. A file that loads is saved and loaded again, which must
// give the same table: shape, header and every cell.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>

#include "common/ZelkoraError.h"
#include "fuzz/support/FuzzInput.h"
#include "table/PointTable.h"
#include "table/TableFile.h"

namespace zelkora {

namespace {

// The reader allocates a table of the size the counts claim, up to ten million cells, which is
// tested elsewhere; fuzzing spends its time on the reading instead. Larger claims are refused at
// once and stay in. A rough reading of the counts: the first run of characters above code 32 on
// the first line and on the second.
constexpr std::int64_t kMaxFuzzedCells = 10000;
constexpr std::int64_t kMaxTableCells = 10000000;

std::int64_t roughCount(const std::uint8_t*& p, const std::uint8_t* end) {
    while (p != end && *p <= 32 && *p != 26) {
        ++p;
    }
    std::int64_t value = 0;
    int base = 10;
    for (; p != end && *p > 32; ++p) {
        const char c = static_cast<char>(*p);
        if (c == '$' || c == 'x' || c == 'X') {
            base = 16;
        } else if (c >= '0' && c <= '9') {
            value = std::min<std::int64_t>(value * base + (c - '0'), INT32_MAX);
        } else if (base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) {
            value = std::min<std::int64_t>(value * 16 + (c | 0x20) - 'a' + 10, INT32_MAX);
        }
    }
    while (p != end && *p != '\n' && *p != 26) {
        ++p;
    }
    return std::max<std::int64_t>(value, 1);
}

bool claimsAHugeTable(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* p = data;
    const std::uint8_t* const end = data + size;
    const std::int64_t cols = roughCount(p, end);
    const std::int64_t rows = roughCount(p, end);
    return cols * rows > kMaxFuzzedCells && cols * rows <= kMaxTableCells;
}

}  // namespace

}  // namespace zelkora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelkora;
    if (claimsAHugeTable(data, size)) {
        return 0;
    }
    static const QString in = fuzzFilePath("in.points");
    static const QString out = fuzzFilePath("out.points");
    writeFuzzFile(in, data, size);
    PointTable table;
    try {
        LoadStringGrid(table, in);
    } catch (const ZelkoraError&) {
        return 0;
    }
    if (table.ColCount() < 1 || table.RowCount() < 1) {
        fuzzFailure("a table without a cell");
    }
    SaveStringGrid(table, out);
    PointTable back;
    LoadStringGrid(back, out);
    if (back.ColCount() != table.ColCount() || back.RowCount() != table.RowCount()) {
        fuzzFailure("a table saved and loaded changed its shape");
    }
    for (int c = 0; c < table.ColCount(); ++c) {
        for (int r = 0; r < table.RowCount(); ++r) {
            if (back.cell(c, r) != table.cell(c, r)) {
                fuzzFailure("a table saved and loaded changed a cell");
            }
        }
    }
    return 0;
}
