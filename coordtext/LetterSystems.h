#pragma once

#include <cstdint>
#include <optional>

#include "coordtext/Token.h"

namespace zelkora {

// What a hemisphere letter names in one letter system.
struct LetterMeaning {
    Axis axis = Axis::unknown;
    std::int8_t sign = 0;
};

// The meaning of letter in system, or none where the system does not write it: O is east in
// German and west in Spanish, V east in Czech and west in Danish, N south (Nam) in Vietnamese.
std::optional<LetterMeaning> letterMeaning(char16_t letter, LetterSystem system);

// The letter systems that write letter.
LetterSystems systemsWriting(char16_t letter);

}  // namespace zelkora
