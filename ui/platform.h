#pragma once

#include "exchangehost.h"

#include <string>

namespace Dravix {

// What the window logic needs of the toolkit: message boxes, the exchange timers, one pass of
// pending events and the user's decimal separator.
class Platform
{
public:
    virtual ~Platform() = default;

    // Modal, titled "Dravix", one OK button, no icon; returns when dismissed.
    virtual void showMessage(const std::string &text) = 0;
    virtual void processPendingEvents() = 0;
    virtual void armTimer(ExchangeTimer timer) = 0;
    virtual void disarmTimer(ExchangeTimer timer) = 0;
    virtual std::string decimalSeparator() const = 0;
};

} // namespace Dravix
