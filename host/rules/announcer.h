#pragma once

#include "gamestate.h"
#include "outbox.h"

#include <string>

namespace morlu {

/**
 * Sends the engine's messages: builds each line with its layout into one reused buffer and hands it to
 * the Outbox, to every slot in use or to one slot. A seat's own messages go only to a seat whose
 * `inuse` is 1: a seat without a connected human gets nothing.
 */
class Announcer {
public:
    Announcer(Outbox& outbox, const GameState& state) : m_outbox(outbox), m_state(state) { m_line.reserve(128); }

    /// @p message to every slot in use.
    template <class Message> void toAll(const Message& message) { m_outbox.toAll(message.write(m_line)); }
    /// @p message to @p slot, which the caller knows to be in use.
    template <class Message> void toSlot(int slot, const Message& message)
    {
        m_outbox.toSlot(slot, message.write(m_line));
    }
    /// @p message to @p seat's own connection, when a human holds it.
    template <class Message> void toSeat(int seat, const Message& message)
    {
        if (m_state.seats[seat].inuse)
            toSlot(seat, message);
    }

    /// CMD_scores for seats 1..4 to every slot in use (@p slot 0) or to one slot; @p zeroMoney sends 0 changes.
    void scores(int slot, bool zeroMoney);
    /// CMD_mycards with @p seat's held slots, in slot order, to @p slot.
    void mycards(int slot, int seat);
    /// CMD_handsused with the contracts @p seat has used, ascending, to @p slot.
    void handsused(int slot, int seat);

private:
    void send(int slot, std::string_view line);

    Outbox& m_outbox;
    const GameState& m_state;
    std::string m_line;
};

} // namespace morlu
