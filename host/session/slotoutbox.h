#pragma once

#include "outbox.h"

#include <string>

namespace morlu {

class ConnectionTable;
class GameEngine;

/**
 * The engine's Outbox over the host's connections: a line for one slot goes to the connection that
 * the slot's record names (its `socket` id), "to all" goes to every slot from 1 to the slot count
 * whose `inuse` is 1, in slot order, each getting its own copy. Slots without a connection, and
 * connections that are being closed, get nothing.
 *
 * Every line goes out by the wire text rule, encoded as a whole: Windows-1252 when all of it fits
 * (older tables read nothing else), UTF-8 otherwise. Plain ASCII lines pass without a copy.
 */
class SlotOutbox : public Outbox {
public:
    /// @p slotcount is the host's highest slot handed out so far, read at every broadcast.
    SlotOutbox(ConnectionTable& connections, const int& slotcount);

    /// The engine whose seat records say which slots are in use; set once, before the first line.
    void setEngine(const GameEngine* engine) { m_engine = engine; }

    void toSlot(int slot, std::string_view line) override;
    void toAll(std::string_view line) override;
    /// To every slot in use except @p except.
    void toOthers(int except, std::string_view line);

private:
    /// @p line, already in its wire form, to the connection of @p slot.
    void send(int slot, std::string_view line);

    ConnectionTable& m_connections;
    const int& m_slotcount;
    const GameEngine* m_engine = nullptr;
    std::string m_encoded;
};

} // namespace morlu
