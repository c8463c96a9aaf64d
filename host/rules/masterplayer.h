#pragma once

#include "dealsampler.h"
#include "endgamesearch.h"
#include "expertplayer.h"
#include "playoutpolicy.h"
#include "seatplayer.h"
#include "seatview.h"

#include <array>
#include <cstdint>

namespace morlu {

/**
 * The master computer player: the expert's sampling, with each sampled deal searched instead of only
 * played out. Like the expert it decides from its seat's view alone and draws from its own stream.
 *
 * For a card it deals the unseen cards at random consistently with the voids shown (DealSampler) and,
 * for every card it may play, plays the deal on: by the expert's rule of thumb (PlayoutPolicy) while
 * many cards are out, then, once few cards are left, by an exact search of the remaining tricks
 * (EndgameSearch) in which every seat plays the card that brings itself most money (ties go against
 * the director, whom the other three play against), or, when set so, in which the other three play
 * against the seat. It plays the card with the best total money over the deals. When the best two
 * cards are close after the first deals it samples more deals before it decides. Cards that play
 * alike whatever the hidden hands hold (one suit, nothing unseen or on the trick between them, the
 * same cost) are one choice, and when they are all it may play it decides without sampling.
 *
 * The work of a decision is bounded by counts, never by the clock: deals sampled and search nodes per
 * deal. A search that would exceed its nodes is dropped and that deal is played out by the rule of
 * thumb, so the decision still depends only on the seed and on what the seat can see.
 *
 * It plays for money unless told how far a bank moves in a round (spreadPerRound): then for the
 * chance to end the game with the highest bank, judged from the banks each deal leaves (winChance).
 *
 * Contracts are chosen as the expert chooses them, over more deals.
 */
class MasterPlayer final : public SeatPlayer {
public:
    struct Settings {
        int samples = 96;           ///< sampled deals per card decision
        int extraSamples = 96;      ///< more deals when the best two cards are close
        int closeMoney = 2;         ///< "close": the best two cards differ by less than this per deal
        int searchCards = 12;       ///< cards left in all hands together from which a deal is searched
        int nodesPerDeal = 1500;    ///< search nodes per deal and card before it falls back to a playout
        int contractSamples = 192;  ///< sampled deals per contract when choosing one
        bool othersAgainst = false; ///< the search lets the other three play against the seat
        int spreadPerRound = 0;     ///< how far a bank moves in a round, to play for the game; 0: for money
    };

    MasterPlayer() = default;
    explicit MasterPlayer(Settings settings) : m_settings(settings) {}

    void setSeed(std::uint64_t seed) { m_seed = seed; }
    std::uint64_t seed() const { return m_seed; }
    void setSettings(Settings settings) { m_settings = settings; }
    const Settings& settings() const { return m_settings; }

    int chooseContract(const SeatView& view) const override;
    int chooseCard(const SeatView& view) const override;

    /**
     * The card it would play if it saw the other seats' @p hands: a yardstick for measuring (how much
     * reading the hidden hands could bring), never a way any table plays.
     */
    int chooseCardKnowing(const SeatView& view, const DealSampler::Hands& hands) const;

    using Money = EndgameSearch::Money;

    /**
     * The chance that @p seat ends the game with the highest bank, from the @p banks after this round
     * with @p roundsLeft rounds still to come in which a bank moves by about @p spreadPerRound each.
     */
    static double winChance(int seat, const Money& banks, int roundsLeft, int spreadPerRound);

    /**
     * The money every seat makes from @p position to the end of its round when every seat knows every
     * hand and plays for itself; nothing when that takes more than @p nodes positions (which is then
     * lowered by what was spent).
     */
    static bool searchExact(const Playout& position, int& nodes, Money& money);

private:
    int decide(const SeatView& view, const DealSampler::Hands* known) const;

    Settings m_settings;
    std::uint64_t m_seed = 0;
    PlayoutPolicy m_policy;
};

} // namespace morlu
