#pragma once

#include <string>

namespace Dravix {

enum class ExchangeTimer {
    Timer1, // completes a write
    Timer2, // completes a read
};

// What the exchanges need of the main window and the platform.
class ExchangeHost
{
public:
    virtual ~ExchangeHost() = default;

    virtual std::string entryText(int k) const = 0;
    // An ordinary change of the entry: runs its validation.
    virtual void setEntryText(int k, const std::string &text) = 0;
    // Text of the selected line-settings entry; empty when none is selected.
    virtual std::string lineSettingsText() const = 0;
    // Modal; returns when the user has dismissed it.
    virtual void showMessage(const std::string &text) = 0;
    // One pass of the pending user-interface events.
    virtual void processPendingEvents() = 0;
    // One-shot, 200 ms.
    virtual void armTimer(ExchangeTimer timer) = 0;
    virtual void disarmTimer(ExchangeTimer timer) = 0;
    virtual void setPortInfoVisible(bool visible) = 0;
    // What the last open of the port tried and why it failed, for the user (the tooltip).
    virtual void setPortNote(const std::string &note) = 0;
    // The port of the exchange has been closed; the window may act on what it put off.
    virtual void exchangeEnded() = 0;
};

} // namespace Dravix
