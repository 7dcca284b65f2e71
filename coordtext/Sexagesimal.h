#pragma once

#include <optional>

#include "coordtext/Reading.h"
#include "coordtext/Token.h"

namespace zelkora {

// Degrees, perhaps minutes, perhaps seconds, each a number token (null where not written), as one
// coordinate spanning tokens first to last. Only the degrees may carry a sign and decimals
// before a further field; minutes and seconds are below 60. Empty when the fields make no
// coordinate.
std::optional<Coordinate> sexagesimal(const Token& degrees, const Token* minutes,
                                      const Token* seconds, int first, int last);

}  // namespace zelkora
