#include "simdevice.h"

#include "frames.h"

SimDevice::SimDevice(const SimOptions &options)
    : m_options(options)
    , m_values(options.values)
{
}

std::vector<SimDevice::Send> SimDevice::answer(const Bytes &request)
{
    const bool faulty = m_options.faultCount < 0 || m_replies < m_options.faultCount;
    ++m_replies;
    if (faulty && m_options.silent)
        return {};
    Bytes bytes = reply(request, faulty);
    const int delay = faulty ? m_options.delay : 0;
    if (!faulty || !m_options.cut)
        return {{delay, bytes}};
    const auto cut = static_cast<std::ptrdiff_t>(*m_options.cut);
    std::vector<Send> sends{{delay, Bytes(bytes.begin(), bytes.begin() + cut)}};
    if (m_options.restAfter >= 0)
        sends.push_back({delay + m_options.restAfter, Bytes(bytes.begin() + cut, bytes.end())});
    return sends;
}

Bytes SimDevice::reply(const Bytes &request, bool faulty)
{
    std::uint8_t code = m_options.id;
    if (faulty && m_options.wrongId)
        code = static_cast<std::uint8_t>(code + 1);
    Bytes bytes;
    if (request[5] == kWriteCommand) {
        const bool refused = faulty && m_options.refuseWrite;
        if (!refused) {
            for (std::size_t i = 0; i < m_values.size(); ++i)
                m_values[i] = DecodeValue(request[6 + 2 * i], request[7 + 2 * i]);
        }
        bytes = buildShortFrame(code, refused ? 0x90 : kWriteCommand);
    } else {
        bytes = buildLongFrame(code, kReadCommand, m_values);
    }
    if (!faulty)
        return bytes;
    if (m_options.badCrc)
        bytes.back() ^= 0x01;
    if (m_options.preamble00)
        bytes[0] = bytes[1] = 0x00;
    if (m_options.stray)
        bytes.push_back(0x5A);
    return bytes;
}
