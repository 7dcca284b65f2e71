#pragma once

#include <array>
#include <cstdint>

#include "projection/Tpoint.h"

// The working list of projected points: a fixed array, so adding allocates nothing.
struct Tpoints {
    static constexpr std::int32_t kCapacity = 1000;
    std::int32_t num = 0;
    std::array<Tpoint, 1001> p{};
};
