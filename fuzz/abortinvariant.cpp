#include "invariant.h"

#include <cstdio>
#include <cstdlib>

namespace Dravix {

void invariantBroken(const char *what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

} // namespace Dravix
