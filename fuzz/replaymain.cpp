// Feeds a fuzz target every file of the given folders (in name order) and the given files, and
// counts the inputs that break an invariant: the target's corpus as a regression test.

#include "invariant.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace fs = std::filesystem;

namespace Dravix {

namespace {

struct InvariantBroken : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

std::vector<fs::path> inputsOf(const fs::path &where)
{
    std::vector<fs::path> inputs;
    if (fs::is_directory(where)) {
        for (const fs::directory_entry &entry : fs::directory_iterator(where)) {
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
        }
        std::sort(inputs.begin(), inputs.end());
    } else {
        inputs.push_back(where);
    }
    return inputs;
}

} // namespace

void invariantBroken(const char *what)
{
    throw InvariantBroken(what);
}

} // namespace Dravix

int main(int argc, char *argv[])
{
    using namespace Dravix;
    int passed = 0;
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path &input : inputsOf(argv[i])) {
            std::ifstream file(input, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(file), {}};
            std::string broken;
            if (!file.is_open()) {
                broken = "the input cannot be read";
            } else {
                try {
                    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()),
                                           bytes.size());
                } catch (const std::exception &error) {
                    broken = error.what();
                }
            }
            if (broken.empty()) {
                ++passed;
            } else {
                ++failed;
                std::printf("FAIL %s: %s\n", input.string().c_str(), broken.c_str());
            }
        }
    }
    const std::string name = fs::path(argv[0]).stem().string();
    std::printf("%s: %d passed, %d failed\n", name.c_str(), passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}
