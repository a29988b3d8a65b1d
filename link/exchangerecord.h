#pragma once

#include "bytes.h"
#include "frames.h"
#include "modelstate.h"
#include "portattempt.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Dravix {

// Bytes as they came from the port: a piece and when it arrived after the request was sent.
struct Arrival
{
    std::chrono::milliseconds after{0};
    Bytes bytes;

    bool operator==(const Arrival &) const = default;
};
using Arrivals = std::vector<Arrival>;

// What one read or write did on the wire, from the click to the closing of its port.
struct ExchangeRecord
{
    enum class Kind { Read, Write };
    enum class Stage {
        InvalidValues,   // refused before anything was sent: an entry is rejected
        PortUnavailable, // refused before anything was sent: the last port test failed
        OpenFailed,      // the port did not open; port tells why
        Completed,       // sent, and the reply judged
    };

    Kind kind = Kind::Read;
    Stage stage = Stage::Completed;
    std::chrono::system_clock::time_point when;
    PortAttempt port;
    std::uint8_t deviceCode = 0;
    std::string descriptionFile;
    std::array<std::string, kSlotCount> entriesBefore; // a read's: the entries' texts at the click
    Bytes request;
    Arrivals reply; // taken when the wait ended
    Arrivals late;  // came after the wait, read just before the port closed, and discarded
    ReplyOutcome outcome = ReplyOutcome::NoReply;
    std::optional<PortLoss> lost; // the device went before the port was closed
};

// The bytes of arrivals in one string.
inline Bytes joined(const Arrivals &arrivals)
{
    Bytes bytes;
    for (const Arrival &arrival : arrivals)
        bytes.insert(bytes.end(), arrival.bytes.begin(), arrival.bytes.end());
    return bytes;
}

} // namespace Dravix
