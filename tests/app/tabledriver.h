#pragma once

#include "tchat.h"
#include "tserver.h"

#include <functional>
#include <vector>

namespace morlu::test {

/**
 * Plays for human tables the way a player does, through the widgets: it clicks the first free
 * contract when the table must choose, and tries the cards of the hand from left to right (those it shows
 * as playable first) until the host accepts one. The host in the same process tells it when a table
 * really is waited for, so it never clicks on a turn the table has not been told about yet.
 */
class TableDriver {
public:
    TableDriver(TServer& host, std::vector<Tchat*> tables) : m_host(host), m_tables(std::move(tables)) {}

    /** Plays until @p done holds; false when nothing more happened for @p idleMs. */
    bool playUntil(const std::function<bool()>& done, int idleMs);

    int cardsPlayed() const { return m_cardsPlayed; }
    int contractsChosen() const { return m_contractsChosen; }
    int refusals() const { return m_refusals; }

private:
    bool mayChoose(Tchat& table) const;
    bool mayPlay(Tchat& table) const;
    bool choose(Tchat& table);
    bool play(Tchat& table);
    /// Waits until one of the tables has handled a line from the host, or until @p done holds.
    bool waitForALine(const std::function<bool()>& done, int ms);

    TServer& m_host;
    std::vector<Tchat*> m_tables;
    int m_cardsPlayed = 0;
    int m_contractsChosen = 0;
    int m_refusals = 0;
};

} // namespace morlu::test
