#include "requestscanner.h"

#include "framecheck.h"
#include "frames.h"

#include <span>

namespace Dravix {

void RequestScanner::feed(const Bytes &bytes)
{
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
}

std::optional<Bytes> RequestScanner::next()
{
    while (true) {
        std::size_t start = 0;
        while (start + 1 < m_buffer.size() &&
               !(m_buffer[start] == 0xFF && m_buffer[start + 1] == 0xFF))
            ++start;
        if (start + 1 >= m_buffer.size()) {
            // Keep a last 0xFF: it may begin the preamble of the next request.
            const bool keepLast = !m_buffer.empty() && m_buffer.back() == 0xFF;
            discard(m_buffer.size() - (keepLast ? 1 : 0));
            return std::nullopt;
        }
        discard(start);
        if (m_buffer.size() < 6)
            return std::nullopt;
        const std::uint8_t command = m_buffer[5];
        const std::size_t size = command == kReadCommand    ? kShortFrameSize
                                 : command == kWriteCommand ? kLongFrameSize
                                                            : 0;
        if (size == 0) {
            discard(1);
            continue;
        }
        if (m_buffer.size() < size)
            return std::nullopt;
        if (!FrameCheckOk(std::span(m_buffer).subspan(2, size - 2))) {
            discard(1);
            continue;
        }
        Bytes request(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(size));
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(size));
        return request;
    }
}

Bytes RequestScanner::takeDiscarded()
{
    Bytes discarded;
    discarded.swap(m_discarded);
    return discarded;
}

void RequestScanner::dropPending()
{
    discard(m_buffer.size());
}

void RequestScanner::discard(std::size_t count)
{
    m_discarded.insert(m_discarded.end(), m_buffer.begin(),
                       m_buffer.begin() + static_cast<std::ptrdiff_t>(count));
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(count));
}

} // namespace Dravix
