#pragma once

#include "exchangerecord.h"
#include "portattempt.h"
#include "portsystem.h"

#include <array>
#include <string>
#include <vector>

namespace Dravix {

class PortAdvice;

// What the system tells of the device behind a port number at one moment.
struct PortFacts
{
    PortLocation location;
    std::string linkTarget; // where the path points, when it is a link
    std::string device;     // where it ends, every link followed
    bool present = false;
    std::vector<PortlessAdapter> portless; // the adapters plugged in that give no port

    bool operator==(const PortFacts &) const = default;
};

// The notes that tell the user, in Polish, what the port and the exchanges did and what to
// check: the one home of their texts but the platform's own advice.
class LinkNotes
{
public:
    explicit LinkNotes(const PortSystem &system);
    LinkNotes(const PortSystem &system, const PortAdvice &advice);

    PortFacts facts(const PortLocation &location) const;

    // Why a port did or did not open.
    std::string portNote(const PortAttempt &attempt) const;
    // What port number N opens now: the path, a link's target, or that it does not exist.
    std::string portTarget(const PortLocation &location) const;
    // What changed behind a port since it was last tested; empty when nothing did.
    std::string portChange(const PortFacts &before, const PortFacts &after) const;
    // That the device went during a read or a write; empty when it did not.
    std::string portLost(const ExchangeRecord &record) const;
    // What a read or a write sent and received, when, and the one verdict with what to check.
    std::string exchangeNote(const ExchangeRecord &record) const;
    // After a read that was accepted: the entries whose text it changed, "name: old → new", or
    // that the device holds what was on screen. A slot without a name here is left out.
    using Entries = std::array<std::string, kSlotCount>;
    std::string readChanges(const Entries &before, const Entries &after,
                            const Entries &names) const;

private:
    std::string tried(const PortLocation &location) const;
    std::string opened(const PortAttempt &attempt) const;
    std::string verdict(const ExchangeRecord &record) const;

    const PortSystem &m_system;
    const PortAdvice &m_advice;
};

} // namespace Dravix
