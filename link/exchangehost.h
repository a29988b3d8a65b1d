#pragma once

#include "exchangerecord.h"
#include "portattempt.h"

#include <string>

namespace Dravix {

// What the exchanges need of the main window: the entries, the line settings, and what the
// port and the exchanges did.
class ExchangeHost
{
public:
    virtual ~ExchangeHost() = default;

    virtual std::string entryText(int k) const = 0;
    // An ordinary change of the entry: runs its validation.
    virtual void setEntryText(int k, const std::string &text) = 0;
    // Text of the selected line-settings entry; empty when none is selected.
    virtual std::string lineSettingsText() const = 0;
    virtual void setPortInfoVisible(bool visible) = 0;
    // A port test, or an exchange's open that failed.
    virtual void portTried(const PortAttempt &attempt) = 0;
    // A read or a write has ended, its port closed; the window may act on what it put off.
    virtual void exchangeEnded(const ExchangeRecord &record) = 0;
};

} // namespace Dravix
