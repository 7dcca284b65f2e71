#pragma once

#include <functional>

namespace zelkora {

// Long loops call this to give the event loop a turn (once per blended row, once per marker).
// Headless callers pass an empty function.
using YieldFn = std::function<void()>;

inline void yieldNow(const YieldFn& yield) {
    if (yield) {
        yield();
    }
}

}  // namespace zelkora
