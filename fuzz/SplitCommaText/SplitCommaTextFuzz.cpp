// The comma-text rules on any text: splitting, joining and splitting again gives the same list.
#include <cstddef>
#include <cstdint>

#include "fuzz/support/FuzzInput.h"
#include "table/CommaText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList items = SplitCommaText(fuzzText(data, size));
    if (SplitCommaText(JoinCommaText(items)) != items) {
        fuzzFailure("split, join and split gave another list");
    }
    return 0;
}
