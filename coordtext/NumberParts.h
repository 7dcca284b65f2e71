#pragma once

#include <vector>

#include "coordtext/NumberPart.h"
#include "coordtext/Token.h"

namespace zelkora {

// The parts of a line, and the runs they fall into: a word, a label (":", "="), a dash, a date
// or time, an ignored number or a claimed token ends a run.
// Found once for the line as it stands and kept in it.
const std::vector<NumberPart>& numberParts(const TokenLine& line);

bool isBlockNumber(const Token& t);

}  // namespace zelkora
