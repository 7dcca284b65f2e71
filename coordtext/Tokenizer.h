#pragma once

#include <QStringView>

#include "coordtext/Token.h"

namespace zelkora {

// More tokens than any paragraph of points holds: a longer line is read as no point, and its
// tokens are never all kept.
inline constexpr std::size_t kMaxTokens = 2000;

// Cuts a line into tokens once, for every reader: numbers with the marks written after them
// (degrees, minutes, seconds, in any of their symbols), hemisphere letters and words with the
// words of one phrase joined ("с. ш.", "vĩ độ Bắc", "South latitude"), separators, dashes and
// other words. Decimal commas are told from list commas, minus signs from dashes.
void tokenize(QStringView text, TokenLine& line);

}  // namespace zelkora
