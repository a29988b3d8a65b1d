#pragma once

#include "serialport.h"

#include <string>

namespace Dravix {

// What the exchanges need of the main window: the entries, the line settings, the port's note.
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
    // What the last open of the port tried and how it ended, for the user (the tooltip).
    virtual void setPortNote(PortNote note) = 0;
    // The port of the exchange has been closed; the window may act on what it put off.
    virtual void exchangeEnded() = 0;
};

} // namespace Dravix
