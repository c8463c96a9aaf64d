#pragma once

#include <vector>

namespace morlu {

/**
 * What every table has seen of the current round, in order: each card laid and who laid it, and in
 * DOMINO each seat that was passed over because it could lay nothing. The expert reads its opponents'
 * shown voids from it; nothing in it is hidden from any table.
 */
class RoundHistory {
public:
    struct Event {
        int seat = 0;
        int card = 0; ///< the card laid; 0 when the seat was passed over (DOMINO)
    };

    void clear() { m_events.clear(); }
    void played(int seat, int card) { m_events.push_back({seat, card}); }
    void passed(int seat) { m_events.push_back({seat, 0}); }
    const std::vector<Event>& events() const { return m_events; }

private:
    std::vector<Event> m_events;
};

} // namespace morlu
