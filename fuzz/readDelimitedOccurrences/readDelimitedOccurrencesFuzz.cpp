// The reader of CSV, TSV and semicolon-separated records on any bytes, in each dialect. Whatever
// it reads is in range, and written out as CSV and read again fills a table the same way.
#include <cstddef>
#include <cstdint>

#include "common/ZelkoraError.h"
#include "fuzz/support/FuzzInput.h"
#include "fuzz/support/RecordsRoundTrip.h"
#include "records/DelimitedOccurrences.h"
#include "records/DelimitedText.h"
#include "records/PointFileWriters.h"

namespace zelkora {

namespace {

// The splitter alone: records follow each other, their lines grow, and every field lies within
// the text or was unescaped from it.
void checkSplitter(std::string_view text, char separator, bool quotes) {
    DelimitedText reader(text, separator, quotes);
    DelimitedRecord record;
    qint64 line = 0;
    while (reader.next(record)) {
        if (record.firstLine <= line || record.lastLine < record.firstLine ||
            record.fields.empty()) {
            fuzzFailure("records out of order, or a record without a field");
        }
        line = record.lastLine;
        if (record.text.data() < text.data() ||
            record.text.data() + record.text.size() > text.data() + text.size()) {
            fuzzFailure("a record's text outside the text");
        }
    }
}

}  // namespace

}  // namespace zelkora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelkora;
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the dialect; the rest is the file.
    static const DelimitedDialect kDialects[] = {
        {0, false}, {',', false}, {';', false}, {'\t', false}, {'\t', true}};
    const DelimitedDialect dialect = kDialects[data[0] % 5];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    checkSplitter(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                  dialect.separator != 0 ? dialect.separator : ',', !dialect.gbifLayout);
    std::optional<OccurrenceSet> set;
    try {
        set = readDelimitedOccurrences(bytes, dialect, {}, data[0] & 0x80);
    } catch (const ZelkoraError&) {
        return 0;
    }
    if (set) {
        checkRecordsRoundTrip(*set, csvPointFile, QStringLiteral("points.csv"));
    }
    return 0;
}
