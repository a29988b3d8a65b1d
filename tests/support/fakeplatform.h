#pragma once

#include "platform.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace Dravix {

// Records messages and timers; a test may act from inside a message box or an event pass.
class FakePlatform : public Platform
{
public:
    void showMessage(const std::string &text) override
    {
        messages.push_back(text);
        if (onMessage)
            onMessage(text);
    }
    void processPendingEvents() override
    {
        ++eventPasses;
        if (onEvents)
            onEvents();
    }
    void armTimer(ExchangeTimer timer) override { armed.insert(timer); }
    void disarmTimer(ExchangeTimer timer) override { armed.erase(timer); }
    std::string decimalSeparator() const override { return separator; }

    std::vector<std::string> messages;
    std::set<ExchangeTimer> armed;
    int eventPasses = 0;
    std::string separator = ".";
    std::function<void(const std::string &)> onMessage;
    std::function<void()> onEvents;
};

} // namespace Dravix
