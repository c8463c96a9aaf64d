#pragma once

#include "cardmask.h"

#include <array>

namespace morlu {

/**
 * One round played out fast on card sets: the same rules as the host (following suit, the first-lead
 * bars, the early ends, the DOMINO layout and its passes) and the same money, without messages. The
 * expert copies one per sampled deal and plays it to the end to see what a choice is worth.
 *
 * `money` holds each seat's change of bank from the position the playout started at; it sums to 0.
 */
class Playout {
public:
    /// A round about to start: @p director leads the first trick (or lays the first DOMINO card).
    static Playout start(int contract, int director, const std::array<CardMask, kSeatCount + 1>& hands);

    /// The cards the seat on turn may play now, exactly as the host would accept them.
    CardMask legal() const;
    /// The seat on turn plays @p card, which must be in legal().
    void play(int card);
    /// Every seat plays by @p choose (called as choose(const Playout&) -> card) until the round ends.
    template <typename Choose> void finish(Choose&& choose)
    {
        while (!m_finished)
            play(choose(*this));
    }

    bool finished() const { return m_finished; }
    int turn() const { return m_turn; }
    int contract() const { return m_contract; }
    int director() const { return m_director; }
    int tricknumber() const { return m_tricknumber; }
    int ledsuit() const { return m_ledsuit; }
    /// Cards already on the current trick.
    int onTrick() const { return m_onTrick; }
    /// The card that wins the current trick so far; 0 before the lead.
    int winningCard() const { return m_winning; }
    CardMask hand(int seat) const { return m_hands[seat]; }
    /// Every card of the seats other than @p seat.
    CardMask othersHands(int seat) const;
    /// Cards the current trick holds.
    CardMask trickMask() const { return m_trickMask; }
    int money(int seat) const { return m_money[seat]; }
    int dominostart() const { return m_dominostart; }
    /// DOMINO: the cards that may be laid now (one per suit at most); every card before the first.
    CardMask layable() const;

    // Setting up a position in the middle of a round (see SeatView::playout).
    void setHands(const std::array<CardMask, kSeatCount + 1>& hands) { m_hands = hands; }
    void setTrick(int contract, int director, int tricknumber, int turn);
    /// A card already on the current trick, in the order it was played.
    void putOnTrick(int seat, int card);
    /// Cards taken in finished tricks this round, for the early ends of MORLU, WATERLOO and SIEGE.
    void setTaken(CardMask taken) { m_taken = taken; }
    void setDomino(int director, int dominostart, const std::array<int, 5>& laidCount, int turn);

private:
    void endTrick();
    void nextDominoTurn();

    std::array<CardMask, kSeatCount + 1> m_hands{};
    std::array<int, kSeatCount + 1> m_money{};
    std::array<int, 5> m_laidCount{}; ///< DOMINO: cards laid per suit
    CardMask m_trickMask = 0;
    CardMask m_taken = 0;
    int m_contract = 0;
    int m_director = 0;
    int m_turn = 0;
    int m_tricknumber = 1;
    int m_ledsuit = 0;
    int m_onTrick = 0;
    int m_winning = 0;
    int m_winner = 0;
    int m_dominostart = 0;
    bool m_finished = false;
};

} // namespace morlu
