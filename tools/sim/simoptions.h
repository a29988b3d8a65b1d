#pragma once

#include "frames.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Dravix {

// The simulator's command line.
struct SimOptions
{
    int port = 1;
    std::uint8_t id = 0x05;
    ParameterValues values{100, 200, 300, 400, 500, 600, 700, 800};
    bool silent = false;
    bool wrongId = false;
    bool badCrc = false;
    std::optional<int> cut;
    int restAfter = -1; // ms after the cut part; -1 = the rest is never sent
    bool stray = false;
    int delay = 0;
    bool refuseWrite = false;
    bool preamble00 = false;
    int faultCount = -1;      // replies that carry the fault; -1 = all
    std::optional<int> noise; // bytes of noise in place of the reply
    int spreadBytes = 0;      // > 0: the reply goes in pieces of this many bytes
    int spreadMs = 0;         // apart by this many ms
    int lateBytes = 0;        // noise bytes sent after the reply
    int lateMs = 0;           // this many ms after its last piece
    int flood = 0;            // bytes of noise in place of the reply, sent during the wait
    int hangupAfter = -1;     // ms after the request the terminal closes and is made anew
    bool echo = false;        // the line returns each request before any reply
    bool help = false;

    // Empty on success, else what is wrong.
    std::string parse(const std::vector<std::string> &arguments);
    static std::string usage();
};

} // namespace Dravix
