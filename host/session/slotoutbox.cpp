#include "slotoutbox.h"

#include "connectiontable.h"
#include "gameengine.h"

namespace morlu {

SlotOutbox::SlotOutbox(ConnectionTable& connections, const int& slotcount)
    : m_connections(connections), m_slotcount(slotcount)
{
}

void SlotOutbox::toSlot(int slot, std::string_view line)
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
    for (int slot = 1; slot <= m_slotcount; ++slot) {
        if (slot != except)
            toSlot(slot, line);
    }
}

} // namespace morlu
