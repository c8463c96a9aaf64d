#include "slotoutbox.h"

#include "connectiontable.h"
#include "gameengine.h"
#include "wiretext.h"

namespace morlu {

SlotOutbox::SlotOutbox(ConnectionTable& connections, const int& slotcount)
    : m_connections(connections), m_slotcount(slotcount)
{
}

void SlotOutbox::toSlot(int slot, std::string_view line)
{
    send(slot, wiretext::encodeLine(line, m_encoded));
}

void SlotOutbox::send(int slot, std::string_view line)
{
    if (m_engine == nullptr || slot < 1 || slot > kSlotCount)
        return;
    const SeatRecord& record = m_engine->seat(slot);
    if (record.inuse == 1 && record.socket != 0)
        m_connections.send(record.socket, line);
}

void SlotOutbox::toAll(std::string_view line)
{
    toOthers(0, line);
}

void SlotOutbox::toOthers(int except, std::string_view line)
{
    // Encoded once for every table; a relayed line is one character set from the name to the colour.
    const std::string_view wire = wiretext::encodeLine(line, m_encoded);
    for (int slot = 1; slot <= m_slotcount; ++slot) {
        if (slot != except)
            send(slot, wire);
    }
}

} // namespace morlu
