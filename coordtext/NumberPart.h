#pragma once

namespace zelkora {

// Numbers written one right after another, with nothing but blanks between (their marks belong
// to them): the numbers of one coordinate, or of two written without a separator. A number of
// four or more integer digits stands alone, as run-together degrees and minutes do.
struct NumberPart {
    int first = 0;  // token indices; every token between is a number of the part
    int last = 0;
    int run = 0;          // parts of one run are separated only by letters, separators and symbols
    bool marked = false;  // a number of the part has a degree, minute or second mark
    bool block = false;   // one number of four or more integer digits

    int size() const { return last - first + 1; }
};

}  // namespace zelkora
