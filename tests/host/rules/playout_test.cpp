#include "playout.h"

#include "enginefixture.h"

#include <gtest/gtest.h>

using namespace morlu;
using namespace morlu::test;

namespace {

/**
 * Every round of a few computer games, replayed card by card on a Playout from the dealt hands: the
 * playout must find the same seat on turn, allow the card the host took, end the round where the host
 * ended it and move the same money. The expert judges its cards by such playouts, so a rule the
 * playout gets wrong would mislead it.
 */
class PlayoutTest : public EngineFixture {
protected:
    PlayoutTest()
    {
        clock.setHandler([this](TimerId id) {
            engine.timerFired(id);
            observe();
        });
    }

    void observe()
    {
        const GameState& s = engine.state();
        if (s.contractnumber != m_round && s.chooserseat == 0 && engine.history().events().empty()) {
            m_round = s.contractnumber;
            for (int seat = 1; seat <= kSeatCount; ++seat) {
                m_hands[seat] = 0;
                for (int slot = 1; slot <= kHandSlots; ++slot)
                    m_hands[seat] |= cardBit(s.seats[seat].cards[slot]);
            }
            m_checked = false;
        }
        const bool roundOver = !engine.gamerunning() || (clock.armed(TimerId::Timer1) && s.timer1tag == 2);
        if (roundOver && !m_checked) {
            m_checked = true;
            replay();
        }
    }

    void replay()
    {
        const GameState& s = engine.state();
        SCOPED_TRACE("round " + std::to_string(s.contractnumber) + ", " + std::string(contractName(s.contract)));
        Playout p = Playout::start(s.contract, s.directorseat, m_hands);
        for (const RoundHistory::Event& event : engine.history().events()) {
            if (event.card == 0)
                continue; // a DOMINO pass: the playout passes by itself
            ASSERT_FALSE(p.finished());
            ASSERT_EQ(p.turn(), event.seat);
            ASSERT_TRUE(p.legal() & cardBit(event.card)) << "card " << event.card;
            p.play(event.card);
        }
        EXPECT_TRUE(p.finished());
        for (int seat = 1; seat <= kSeatCount; ++seat) {
            EXPECT_EQ(p.money(seat), s.seats[seat].bank - m_banks[seat]) << "seat " << seat;
            m_banks[seat] = s.seats[seat].bank;
        }
        ++rounds;
    }

    void playGame(std::uint32_t seed, const std::string& length)
    {
        random.setSeed(seed);
        m_banks = {0, kStartingBank, kStartingBank, kStartingBank, kStartingBank};
        m_round = 0;
        start(length);
        observe();
        clock.runUntilIdle();
    }

    int rounds = 0;

private:
    std::array<CardMask, kSeatCount + 1> m_hands{};
    std::array<int, kSeatCount + 1> m_banks{};
    int m_round = 0;
    bool m_checked = true;
};

TEST_F(PlayoutTest, ReplaysEveryRoundAsTheHostScoredIt)
{
    engine.setComputerLevel(2, ComputerLevel::Expert);
    engine.expert().setSettings({8, 8});
    for (std::uint32_t seed = 1; seed <= 12; ++seed)
        playGame(seed, "l");
    EXPECT_EQ(rounds, 12 * 24);
}

} // namespace
