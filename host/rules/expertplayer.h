#pragma once

#include "playoutpolicy.h"
#include "seatplayer.h"
#include "seatview.h"

#include <cstdint>

namespace morlu {

/**
 * The expert computer player. It decides from its seat's view alone (SeatView: its own hand and what
 * the table has seen), never from another seat's hand, by determinized sampling: it deals the unseen
 * cards at random consistently with the voids shown (DealSampler), plays each such deal to the end of
 * the round once for every card it may play (the same deals for every card, so the cards are compared
 * on equal terms) with a fast rule-of-thumb policy for all four seats (PlayoutPolicy), and plays the
 * card with the best average money for its seat. As director it plays the round out the same way for
 * each contract it may still choose and takes the one whose money beats that contract's usual worth
 * by most, since a contract not chosen now is directed later with some other hand.
 *
 * It is a SeatPlayer: it is handed the seat's view, never the host's state. Its chance comes from its
 * own stream, never from the dealing generator: the engine gives it a seed at the start of each game
 * (a fresh secure draw, or under `--seed` one mixed from the seed), and each decision draws from a
 * stream mixed from that seed and the position, so a decision depends only on the seed and on what
 * the seat can see.
 */
class ExpertPlayer final : public SeatPlayer {
public:
    struct Settings {
        int samples = 96;         ///< sampled deals per card decision
        int contractSamples = 96; ///< sampled deals per contract when choosing one
    };

    ExpertPlayer() = default;
    explicit ExpertPlayer(Settings settings) : m_settings(settings) {}

    void setSeed(std::uint64_t seed) { m_seed = seed; }
    std::uint64_t seed() const { return m_seed; }
    void setSettings(Settings settings) { m_settings = settings; }
    const Settings& settings() const { return m_settings; }

    int chooseContract(const SeatView& view) const override;
    int chooseCard(const SeatView& view) const override;

    /**
     * What directing @p contract brings on average with a hand nobody has seen yet: the yardstick
     * against which a hand's worth for that contract is measured. Estimated once per process with a
     * fixed seed.
     */
    static double usualWorth(int contract);

private:
    PlayoutRandom streamFor(const SeatView& view, int purpose) const;

    Settings m_settings;
    std::uint64_t m_seed = 0;
    PlayoutPolicy m_policy;
};

} // namespace morlu
