#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// Degrees and minutes, perhaps seconds, joined by colons: 17:15.7N 111:16.3E, 40:07N,
// 48:28:49.5N. Without a hemisphere letter or word the form is a time, and no coordinate.
class ColonReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

// The groups of a dotted or colon token: up to four numbers with their decimals. Empty when
// the token holds more groups or a group no field can be.
struct Groups {
    double value[4] = {0, 0, 0, 0};
    int digits[4] = {0, 0, 0, 0};
    int decimals = 0;  // of the last group
    int count = 0;
};
bool splitGroups(QStringView text, char16_t joiner, Groups& groups);

}  // namespace zelkora
