#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// Degrees and minutes run together with the hemisphere letter: between them, as astrologers and
// some charts write it (35n42 for 35°42′N, 139e46 for 139°46′E), or after minutes joined to the
// degrees by a hyphen, as the Swedish notices to mariners write it (59-23,84N). Nothing else
// stands against the run, and the minutes have two digits below 60; the coordinate is read here,
// before the evidence, which would take 35n42 for a code and 59-23,84 for a range.
class LetterInsideReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
