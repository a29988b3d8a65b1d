#pragma once

#include "exchangeplatform.h"

#include <string>

namespace Dravix {

// What the window logic needs of the toolkit: what the exchanges need, and the user's decimal
// separator.
class Platform : public ExchangePlatform
{
public:
    virtual std::string decimalSeparator() const = 0;
};

} // namespace Dravix
