#pragma once

#include "bytes.h"
#include "simoptions.h"

#include <vector>

// The simulated device: the replies to a request, with the chosen fault.
class SimDevice
{
public:
    struct Send
    {
        int afterMs = 0; // after the request
        Bytes bytes;
    };

    explicit SimDevice(const SimOptions &options);

    std::vector<Send> answer(const Bytes &request);
    const ParameterValues &values() const { return m_values; }

private:
    Bytes reply(const Bytes &request, bool faulty);

    SimOptions m_options;
    ParameterValues m_values;
    int m_replies = 0;
};
