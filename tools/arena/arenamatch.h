#pragma once

#include "computerlevel.h"
#include "expertplayer.h"
#include "masterplayer.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace morlu {

/**
 * One game of four computer players on the real engine, with every round's deal pinned: before each
 * round the host's generator is seeded from the deal number and the round, so the same deal number
 * gives the same hands in every round whoever sits where (a duplicate deal). The simple players'
 * random choices still come from the host's generator, the expert's from its own stream.
 */
class ArenaMatch {
public:
    struct Round {
        int contract = 0;
        int director = 0;
        std::array<int, 5> money{}; ///< seats 1..4: change of bank over the round
    };
    struct Result {
        std::array<int, 5> bank{};   ///< seats 1..4 at the end
        std::array<double, 5> win{}; ///< seats 1..4: 1 for the sole winner, 1/k for a k-way tie, else 0
        std::vector<Round> rounds;
    };

    ArenaMatch(std::uint64_t seed, std::string length, ExpertPlayer::Settings settings)
        : m_seed(seed), m_length(std::move(length)), m_settings(settings)
    {
    }

    /// How the master seats play (the master's defaults unless set).
    void setMasterSettings(MasterPlayer::Settings settings) { m_master = settings; }

    /// Who decides for a seat that the engine does not play itself.
    enum class Driver {
        Engine,      ///< the engine's computer player of the seat's level
        Hints,       ///< a table that asks the host for a hint at every choice and follows it
        Clairvoyant, ///< the master shown every hand when it plays a card: a yardstick, not a player
    };

    /**
     * Plays deal number @p deal with @p levels for seats 1..4; seat @p driven (if any) is held by a
     * table of its own that @p driver decides for.
     */
    Result play(std::uint64_t deal, const std::array<ComputerLevel, 5>& levels, int driven = 0,
                Driver driver = Driver::Engine) const;

    /// The host seed of round @p round of deal @p deal.
    std::uint32_t roundSeed(std::uint64_t deal, int round) const;

private:
    std::uint64_t m_seed;
    std::string m_length;
    ExpertPlayer::Settings m_settings;
    MasterPlayer::Settings m_master;
};

} // namespace morlu
