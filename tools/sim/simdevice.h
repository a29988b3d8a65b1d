#pragma once

#include "bytes.h"
#include "simoptions.h"

#include <random>
#include <vector>

namespace Dravix {

// The simulated device: the replies to a request, with the chosen fault.
class SimDevice
{
public:
    struct Send
    {
        int afterMs = 0; // after the request
        Bytes bytes;
        int forMs = 0;       // > 0: written only for this long, the rest dropped
        bool hangup = false; // no bytes: the terminal closes and is made anew
    };

    explicit SimDevice(const SimOptions &options);

    std::vector<Send> answer(const Bytes &request);
    const ParameterValues &values() const { return m_values; }

private:
    Bytes reply(const Bytes &request, bool faulty);
    Bytes noise(int count);

    SimOptions m_options;
    ParameterValues m_values;
    int m_replies = 0;
    std::mt19937 m_random{20240607};
    Bytes m_flood;
};

} // namespace Dravix
