#pragma once

#include <QtGlobal>
#include <string>
#include <string_view>
#include <vector>

namespace zelkora {

// One record of a delimited text: its fields and where it stands in the file.
struct DelimitedRecord {
    std::vector<std::string_view> fields;  // valid until the next call of next()
    std::string_view text;                 // the record as it stands in the file
    qint64 firstLine = 0;                  // 1-based
    qint64 lastLine = 0;                   // past firstLine when a quoted field holds line breaks
    bool unclosedQuote = false;            // a quote ran to the end of the text unclosed
};

// Splits 8-bit text (UTF-8 or CP1251) into records of fields. A line ends at LF, CR LF or a lone
// CR. With quotes on, a field that starts with '"' runs to the next '"' that is not doubled, past
// separators and line breaks; a doubled '"' inside stands for one, and text after the closing
// quote up to the separator is kept as it stands. A quote that is never closed makes its first
// line a record of its own, marked unclosedQuote, and reading goes on at the next line, so one
// stray quote cannot swallow the rest of the file. With quotes off (GBIF's tab-separated files)
// '"' is an ordinary character. Lines that are empty or blank are no records.
class DelimitedText {
  public:
    DelimitedText(std::string_view text, char separator, bool quotes);

    // The next record; false at the end of the text.
    bool next(DelimitedRecord& record);

  private:
    // A field is either a piece of the text or unescaped into scratch_.
    struct Piece {
        bool inScratch = false;
        std::size_t begin = 0;
        std::size_t size = 0;
    };

    // From pos_ to the end of a plain field: the separator, a line end or the end of the text.
    std::size_t plainFieldEnd(std::size_t from) const;
    // Reads the quoted field starting at pos_; false when its quote is never closed.
    bool readQuoted(Piece& piece, qint64& lines);
    // Skips a line end at pos_ (CR LF, LF or a lone CR); true when there was one.
    bool skipLineEnd();
    bool atLineEnd(std::size_t at) const {
        return at < text_.size() && (text_[at] == '\n' || text_[at] == '\r');
    }

    std::string_view text_;
    char separator_;
    bool quotes_;
    std::size_t pos_ = 0;
    qint64 line_ = 1;
    std::string scratch_;
    std::vector<Piece> pieces_;
};

// The separator a header line shows: a tab when it holds one, else ';' when it holds at least as
// many semicolons as commas (and some), else ','. Quoted parts of the line are not counted.
char detectSeparator(std::string_view headerLine);

// The first line of text, without its line end.
std::string_view firstLine(std::string_view text);

}  // namespace zelkora
