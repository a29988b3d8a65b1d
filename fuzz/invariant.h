#pragma once

#include <cstdio>
#include <cstdlib>

namespace Dravix {

// Ends the run when an invariant does not hold; libFuzzer then keeps the input as a crash.
inline void require(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace Dravix
