#pragma once

#include <vector>

#include "coordtext/Evidence.h"
#include "coordtext/NumberPart.h"
#include "coordtext/Token.h"

namespace zelkora {

// The parts of a line, and the runs they fall into: a word, a label (":", "="), a dash, a number
// that is no coordinate or a claimed token ends a run.
void findNumberParts(const TokenLine& line, const Evidence& evidence,
                     std::vector<NumberPart>& parts);

bool isBlockNumber(const Token& t);

}  // namespace zelkora
