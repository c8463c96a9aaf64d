#pragma once

#include "playout.h"

#include <array>
#include <cstdint>
#include <vector>

namespace morlu {

/**
 * The exact end of a round with every hand known: every seat plays the card that brings itself most
 * money from here to the end of the round; a seat for which two cards are worth the same plays the
 * one that is worse for the director, whom the other three play against (the director itself takes
 * the first of equal cards).
 *
 * Two things keep it small without changing a result. Cards of one suit that no live card (in a hand
 * or on the trick) separates and that cost the same are one choice: whichever is played, the rest of
 * the round goes the same way. And a position met again at the start of a trick (the same cards left
 * and the same seat to lead; every DOMINO position) is looked up instead of searched again. The table
 * belongs to one deal: newDeal() forgets it before the next.
 *
 * The work is bounded by a count of positions, so that the result depends only on the position.
 */
class EndgameSearch {
public:
    using Money = std::array<int, kSeatCount + 1>;

    EndgameSearch();

    /// Forgets the positions seen: the hands are about to change.
    void newDeal() { ++m_generation; }

    /**
     * The money each seat makes from @p position to the end of the round, into @p money; false when
     * that takes more than @p nodes positions (which is lowered by what was spent either way).
     */
    bool search(const Playout& position, int& nodes, Money& money);

    /**
     * The money @p seat makes from @p position to the end of the round when the other three play
     * against it, every one of them taking the card that leaves it least (alpha-beta on that one
     * figure, so much deeper ends fit in the same count); false as for search().
     */
    bool searchAgainst(int seat, const Playout& position, int& nodes, int& money);

    /// Positions searched so far (for measuring).
    long long visited() const { return m_visited; }

    /// Whether @p a is better than @p b for the seat on turn in @p p (the order described above).
    static bool prefers(const Playout& p, const Money& a, const Money& b);

    /// The choices among @p legal in @p p: one card for each run of cards that play the same.
    static CardMask distinctChoices(const Playout& p, CardMask legal);

private:
    struct Entry {
        std::uint64_t key = 0;
        std::uint32_t generation = 0;
        std::array<std::int16_t, kSeatCount> money{}; ///< search(); searchAgainst() keeps its bounds in 0 and 1
    };
    static constexpr std::size_t kTableSize = std::size_t{1} << 14;

    bool searchFrom(const Playout& p, int& nodes, Money& money);
    bool alphaBeta(const Playout& p, int alpha, int beta, int& nodes, int& value);
    Entry* lookup(std::uint64_t key);

    std::vector<Entry> m_table;
    std::uint32_t m_generation = 1;
    int m_seat = 0; ///< searchAgainst(): the seat whose money counts
    long long m_visited = 0;
};

} // namespace morlu
