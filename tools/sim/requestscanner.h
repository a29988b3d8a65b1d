#pragma once

#include "bytes.h"

#include <optional>

namespace Dravix {

// Finds read and write requests in the byte stream from the port; anything else is discarded.
class RequestScanner
{
public:
    void feed(const Bytes &bytes);
    // The next complete request with a good check value, or empty when more bytes are needed.
    std::optional<Bytes> next();
    // Bytes thrown away since the last call.
    Bytes takeDiscarded();
    // Throws away an incomplete request (the line went quiet in the middle of it).
    void dropPending();
    bool hasPending() const { return !m_buffer.empty(); }

private:
    void discard(std::size_t count);

    Bytes m_buffer;
    Bytes m_discarded;
};

} // namespace Dravix
