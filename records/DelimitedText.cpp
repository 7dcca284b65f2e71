#include "records/DelimitedText.h"

#include <algorithm>

namespace zelkora {

namespace {

// Line ends in text: LF, CR LF and a lone CR count one each.
qint64 countLineEnds(std::string_view text) {
    qint64 count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
            ++count;
        }
    }
    return count;
}

}  // namespace

DelimitedText::DelimitedText(std::string_view text, char separator, bool quotes)
    : text_(text), separator_(separator), quotes_(quotes) {}

std::size_t DelimitedText::plainFieldEnd(std::size_t from) const {
    const char* p = text_.data() + from;
    const char* const end = text_.data() + text_.size();
    while (p != end && *p != separator_ && *p != '\n' && *p != '\r') {
        ++p;
    }
    return static_cast<std::size_t>(p - text_.data());
}

bool DelimitedText::skipLineEnd() {
    if (pos_ >= text_.size()) {
        return false;
    }
    if (text_[pos_] == '\r') {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') {
            ++pos_;
        }
        return true;
    }
    if (text_[pos_] == '\n') {
        ++pos_;
        return true;
    }
    return false;
}

bool DelimitedText::readQuoted(Piece& piece, qint64& lines) {
    std::size_t runStart = pos_ + 1;
    bool escaped = false;  // a doubled quote was met: the field goes into scratch_
    const std::size_t scratchStart = scratch_.size();
    for (;;) {
        const std::size_t quote = text_.find('"', runStart);
        if (quote == std::string_view::npos) {
            return false;
        }
        if (quote + 1 < text_.size() && text_[quote + 1] == '"') {
            escaped = true;
            scratch_.append(text_.substr(runStart, quote + 1 - runStart));
            runStart = quote + 2;
            continue;
        }
        lines = countLineEnds(text_.substr(pos_, quote - pos_));
        // Text after the closing quote, up to the separator, is kept as it stands.
        const std::size_t after = plainFieldEnd(quote + 1);
        if (escaped || after != quote + 1) {
            scratch_.append(text_.substr(runStart, quote - runStart));
            scratch_.append(text_.substr(quote + 1, after - quote - 1));
            piece = {true, scratchStart, scratch_.size() - scratchStart};
        } else {
            piece = {false, runStart, quote - runStart};
        }
        pos_ = after;
        return true;
    }
}

bool DelimitedText::next(DelimitedRecord& record) {
    for (;;) {
        if (pos_ >= text_.size()) {
            return false;
        }
        const std::size_t start = pos_;
        const qint64 startLine = line_;
        qint64 extraLines = 0;
        scratch_.clear();
        pieces_.clear();
        bool unclosed = false;
        for (;;) {
            Piece piece;
            if (quotes_ && pos_ < text_.size() && text_[pos_] == '"') {
                qint64 lines = 0;
                if (!readQuoted(piece, lines)) {
                    unclosed = true;
                    break;
                }
                extraLines += lines;
            } else {
                const std::size_t end = plainFieldEnd(pos_);
                piece = {false, pos_, end - pos_};
                pos_ = end;
            }
            pieces_.push_back(piece);
            if (pos_ < text_.size() && text_[pos_] == separator_) {
                ++pos_;
                continue;
            }
            break;
        }
        if (unclosed) {
            // The record is its first line alone, one field of it all, and reading goes on at
            // the next line.
            pos_ = start;
            const std::size_t end = std::min(text_.find_first_of("\r\n", start), text_.size());
            pieces_.assign(1, Piece{false, start, end - start});
            pos_ = end;
        }
        const std::size_t end = pos_;
        skipLineEnd();
        line_ = startLine + extraLines + 1;

        record.fields.clear();
        for (const Piece& p : pieces_) {
            record.fields.push_back(p.inScratch ? std::string_view(scratch_).substr(p.begin, p.size)
                                                : text_.substr(p.begin, p.size));
        }
        record.text = text_.substr(start, end - start);
        record.firstLine = startLine;
        record.lastLine = startLine + extraLines;
        record.unclosedQuote = unclosed;
        const bool blank = std::all_of(record.text.begin(), record.text.end(),
                                       [](char c) { return c == ' ' || c == '\t'; });
        if (!blank || unclosed) {
            return true;
        }
    }
}

char detectSeparator(std::string_view headerLine) {
    int tabs = 0;
    int semicolons = 0;
    int commas = 0;
    bool quoted = false;
    for (const char c : headerLine) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted) {
            tabs += c == '\t';
            semicolons += c == ';';
            commas += c == ',';
        }
    }
    if (tabs > 0) {
        return '\t';
    }
    return semicolons > 0 && semicolons >= commas ? ';' : ',';
}

std::string_view firstLine(std::string_view text) {
    return text.substr(0, std::min(text.find_first_of("\r\n"), text.size()));
}

}  // namespace zelkora
