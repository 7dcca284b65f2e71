#pragma once

#include "coordtext/Reading.h"

namespace zelkora {

// Degrees, the hemisphere letter, then the minutes, run together as astrologers and some
// charts write them: 35n42 (35°42′N), 139e46 (139°46′E). The letter must stand between the
// digits with nothing else against them, and the minutes have two digits below 60; the
// coordinate is read here, before the evidence, which would take such a run for a code.
class LetterInsideReader : public NotationReader {
  public:
    void read(ReadingLine& line, Findings& found) const override;
};

}  // namespace zelkora
