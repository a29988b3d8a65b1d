#include "simdevice.h"

#include "exchange.h"
#include "frames.h"

#include <algorithm>

namespace Dravix {

SimDevice::SimDevice(const SimOptions &options)
    : m_options(options)
    , m_values(options.values)
{
    // Made ahead: on a busy machine making a megabyte would eat into the wait it must fill.
    if (m_options.flood > 0)
        m_flood = noise(m_options.flood);
}

std::vector<SimDevice::Send> SimDevice::answer(const Bytes &request)
{
    const bool faulty = m_options.faultCount < 0 || m_replies < m_options.faultCount;
    ++m_replies;
    std::vector<Send> sends;
    if (m_options.echo)
        sends.push_back({0, request});
    if (faulty && m_options.hangupAfter >= 0)
        sends.push_back({m_options.hangupAfter, {}, 0, true});
    if (faulty && m_options.silent)
        return sends;
    const int delay = faulty ? m_options.delay : 0;
    if (faulty && m_options.flood > 0) {
        sends.push_back({delay, m_flood, int(kReplyWait.count()) - 20, false});
        return sends;
    }
    Bytes bytes = reply(request, faulty);
    if (faulty && m_options.noise)
        bytes = noise(*m_options.noise);
    int last = delay;
    if (!faulty || (!m_options.cut && m_options.spreadBytes == 0)) {
        sends.push_back({delay, bytes});
    } else if (m_options.cut) {
        // A cut beyond the reply's end (a write's reply is 8 bytes) cuts nothing.
        const auto cut = static_cast<std::ptrdiff_t>(
            std::min(static_cast<std::size_t>(*m_options.cut), bytes.size()));
        sends.push_back({delay, Bytes(bytes.begin(), bytes.begin() + cut)});
        if (m_options.restAfter >= 0) {
            last = delay + m_options.restAfter;
            sends.push_back({last, Bytes(bytes.begin() + cut, bytes.end())});
        }
    } else {
        const auto piece = static_cast<std::size_t>(m_options.spreadBytes);
        for (std::size_t from = 0; from < bytes.size(); from += piece) {
            const auto to = bytes.begin() + std::ptrdiff_t(std::min(from + piece, bytes.size()));
            sends.push_back({last, Bytes(bytes.begin() + std::ptrdiff_t(from), to)});
            last += m_options.spreadMs;
        }
        last -= m_options.spreadMs;
    }
    if (faulty && m_options.lateBytes > 0)
        sends.push_back({last + m_options.lateMs, noise(m_options.lateBytes)});
    return sends;
}

Bytes SimDevice::noise(int count)
{
    Bytes bytes(static_cast<std::size_t>(count));
    for (std::uint8_t &b : bytes)
        b = static_cast<std::uint8_t>(m_random() & 0xFF);
    return bytes;
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

} // namespace Dravix
