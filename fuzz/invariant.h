#pragma once

namespace Dravix {

// What an input that breaks an invariant ends in: libFuzzer keeps it as a crash, a replay
// counts it as failed and goes on with the next input.
[[noreturn]] void invariantBroken(const char *what);

inline void require(bool holds, const char *what)
{
    if (!holds)
        invariantBroken(what);
}

} // namespace Dravix
