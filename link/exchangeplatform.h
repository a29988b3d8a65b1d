#pragma once

#include <string>

namespace Dravix {

enum class ExchangeTimer {
    Timer1, // completes a write
    Timer2, // completes a read
};

// What the exchanges need of the toolkit: message boxes, the two timers, one pass of events.
class ExchangePlatform
{
public:
    virtual ~ExchangePlatform() = default;

    // Modal, titled "Dravix", one OK button, no icon; returns when the user has dismissed it.
    virtual void showMessage(const std::string &text) = 0;
    // One pass of the pending user-interface events.
    virtual void processPendingEvents() = 0;
    // One-shot, 200 ms.
    virtual void armTimer(ExchangeTimer timer) = 0;
    virtual void disarmTimer(ExchangeTimer timer) = 0;
};

} // namespace Dravix
