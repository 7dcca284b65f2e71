// The comma-text rules on any text: splitting, joining and splitting again gives the same list.
#include <cstddef>
#include <cstdint>

#include "fuzz/support/FuzzInput.h"
#include "table/CommaText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList items = zelkora::SplitCommaText(zelkora::fuzzText(data, size));
    if (zelkora::SplitCommaText(zelkora::JoinCommaText(items)) != items) {
        zelkora::fuzzFailure("split, join and split gave another list");
    }
    return 0;
}
