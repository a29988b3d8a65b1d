#pragma once

#include <array>
#include <chrono>
#include <cstddef>

namespace Dravix {

// What one try of a rename or a delete came to.
enum class FileStep {
    Done,
    Locked, // another program has the file open for a moment
    Failed,
};

// Another program's brief hold on a file just written (a virus scanner, the search indexer, a
// backup) is waited out with growing waits, about two seconds in all; then the failure stands.
inline constexpr std::array<std::chrono::milliseconds, 8> kLockWaits{
    std::chrono::milliseconds{25},  std::chrono::milliseconds{50},  std::chrono::milliseconds{100},
    std::chrono::milliseconds{200}, std::chrono::milliseconds{400}, std::chrono::milliseconds{400},
    std::chrono::milliseconds{400}, std::chrono::milliseconds{400}};

// Tries the step again after each wait while it finds the file locked; true once it is done.
template <typename Step, typename Wait> bool waitOutLock(Step step, Wait wait)
{
    for (std::size_t tried = 0;; ++tried) {
        const FileStep result = step();
        if (result != FileStep::Locked || tried == kLockWaits.size())
            return result == FileStep::Done;
        wait(kLockWaits[tried]);
    }
}

} // namespace Dravix
