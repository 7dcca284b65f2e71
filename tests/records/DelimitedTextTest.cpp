#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/DelimitedText.h"

namespace zelkora {

namespace {

// Every record as "firstLine-lastLine: field|field|...", with "!" after the lines of a record
// whose quote was never closed.
std::vector<std::string> split(std::string_view text, char separator, bool quotes) {
    DelimitedText reader(text, separator, quotes);
    DelimitedRecord record;
    std::vector<std::string> out;
    while (reader.next(record)) {
        std::string line = std::to_string(record.firstLine) + "-" +
                           std::to_string(record.lastLine) + (record.unclosedQuote ? "!" : "") +
                           ":";
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            line += i ? '|' : ' ';
            line.append(record.fields[i]);
        }
        out.push_back(line);
    }
    return out;
}

struct SplitCase {
    const char* name;
    std::string text;
    char separator;
    bool quotes;
    std::vector<std::string> records;
};

class DelimitedTextSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(DelimitedTextSplit, GivesRecordsWithTheirLines) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(split(c.text, c.separator, c.quotes), c.records);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DelimitedTextSplit,
    testing::Values(
        SplitCase{"PlainLinesAnyEnd",
                  "a,b\nc,d\r\ne,f\rg",
                  ',',
                  true,
                  {"1-1: a|b", "2-2: c|d", "3-3: e|f", "4-4: g"}},
        SplitCase{"EmptyFieldsKept", ",a,,\n", ',', true, {"1-1: |a||"}},
        SplitCase{"BlankLinesAreNoRecords", "\n  \na\n\t\n\nb", ';', true, {"3-3: a", "6-6: b"}},
        SplitCase{"QuotedSeparatorAndDoubledQuote",
                  "\"x, \"\"y\"\"\",z\n",
                  ',',
                  true,
                  {"1-1: x, \"y\"|z"}},
        SplitCase{"QuotedLineBreaksCountLines",
                  "\"one\r\ntwo\nthree\",4\nnext,5",
                  ',',
                  true,
                  {"1-3: one\r\ntwo\nthree|4", "4-4: next|5"}},
        SplitCase{"TextAfterClosingQuoteKept", "\"Kedr\" Pad;2\n", ';', true, {"1-1: Kedr Pad|2"}},
        SplitCase{"QuoteInsideFieldIsText", "a\"b;c\n", ';', true, {"1-1: a\"b|c"}},
        SplitCase{"UnclosedQuoteKeepsToItsLine",
                  "a,\"b\nc,d\ne,f",
                  ',',
                  true,
                  {"1-1!: a,\"b", "2-2: c|d", "3-3: e|f"}},
        SplitCase{"QuotesOffAsGbifWritesThem",
                  "\"Kedr\tx\ny\t\"z\"\n",
                  '\t',
                  false,
                  {"1-1: \"Kedr|x", "2-2: y|\"z\""}},
        SplitCase{"SeparatorAtEndGivesEmptyField", "a\t\n", '\t', false, {"1-1: a|"}},
        SplitCase{"NoTrailingLineEnd", "a;b", ';', true, {"1-1: a|b"}},
        SplitCase{"EmptyText", "", ',', true, {}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(DetectSeparator, FromTheHeaderLine) {
    struct Case {
        const char* line;
        char separator;
    };
    for (const Case& c : {Case{"a,b,c", ','}, Case{"a;b;c", ';'}, Case{"a\tb,c;d", '\t'},
                          Case{"name,\"x;y;z\",w", ','}, Case{"a;b,c", ';'}, Case{"abc", ','}}) {
        EXPECT_EQ(detectSeparator(c.line), c.separator) << c.line;
    }
}

}  // namespace

}  // namespace zelkora
