#include "announcer.h"

#include "gamemessages.h"

#include <array>
#include <span>

namespace morlu {

void Announcer::send(int slot, std::string_view line)
{
    if (slot == 0)
        m_outbox.toAll(line);
    else
        m_outbox.toSlot(slot, line);
}

void Announcer::scores(int slot, bool zeroMoney)
{
    std::array<ScoreGroup, kSeatCount> groups{};
    for (int n = 1; n <= kSeatCount; ++n)
        groups[n - 1] = {n, m_state.seats[n].bank, zeroMoney ? 0 : m_state.seats[n].money};
    send(slot, Scores::write(m_line, groups));
}

void Announcer::mycards(int slot, int seat)
{
    const SeatRecord& record = m_state.seats[seat];
    std::array<HandCard, kHandSlots> held{};
    std::size_t count = 0;
    for (int n = 1; n <= kHandSlots; ++n) {
        if (record.cards[n] != 0)
            held[count++] = {n, record.cards[n]};
    }
    send(slot, MyCards::write(m_line, seat, std::span(held.data(), count)));
}

void Announcer::handsused(int slot, int seat)
{
    const SeatRecord& record = m_state.seats[seat];
    std::array<int, kContractCount> used{};
    std::size_t count = 0;
    for (int code = 1; code <= kContractCount; ++code) {
        if (record.used[code])
            used[count++] = code;
    }
    send(slot, HandsUsed::write(m_line, seat, std::span(used.data(), count)));
}

} // namespace morlu
