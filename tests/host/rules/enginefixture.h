#pragma once

#include "fakeclock.h"
#include "gameengine.h"
#include "recordingoutbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace morlu::test {

/**
 * An engine wired to a recording outbox and a fake clock, with helpers to seat humans, drive requests
 * and lay out hands by hand. Hands set with setHand() replace what the deal gave.
 */
class EngineFixture : public ::testing::Test {
protected:
    EngineFixture()
    {
        clock.setHandler([this](TimerId id) { engine.timerFired(id); });
    }

    /// Seats a human (inuse 1) with a name at each of @p seats.
    void seatHumans(std::initializer_list<int> seats)
    {
        for (const int n : seats) {
            engine.seat(n).inuse = 1;
            engine.seat(n).name = "P" + std::to_string(n);
        }
    }
    void seatAllHumans() { seatHumans({1, 2, 3, 4}); }

    void start(const std::string& length = "l") { engine.startgame(StartGame{"Host", length}); }
    void choose(int seat, int contract) { engine.choosetype(ChooseType{seat, contract}); }
    void play(int seat, int slot) { engine.playcard(PlayCard{seat, slot}); }

    /// Puts @p cards into @p seat's slots 1.. in ascending order; the other slots are left empty.
    void setHand(int seat, std::vector<int> cards)
    {
        std::sort(cards.begin(), cards.end());
        auto& slots = engine.seat(seat).cards;
        slots.fill(0);
        for (std::size_t i = 0; i < cards.size(); ++i)
            slots[i + 1] = cards[i];
    }
    int slotOf(int seat, int card) const
    {
        for (int slot = 1; slot <= kHandSlots; ++slot) {
            if (engine.seat(seat).cards[slot] == card)
                return slot;
        }
        ADD_FAILURE() << "seat " << seat << " does not hold card " << card;
        return 0;
    }
    /// Plays the card with code @p card from @p seat's hand.
    void playCard(int seat, int card) { play(seat, slotOf(seat, card)); }

    /// Fires timers one by one until @p done holds; fails after @p maxFirings.
    void runUntil(const std::function<bool()>& done, int maxFirings = 100000)
    {
        for (int i = 0; i < maxFirings && !done(); ++i) {
            if (!clock.fireNext()) {
                ADD_FAILURE() << "no timer armed";
                return;
            }
        }
        EXPECT_TRUE(done());
    }
    /// Runs to the pause that follows round @p round.
    void runToRoundPause(int round)
    {
        runUntil([&] {
            return engine.state().contractnumber == round && engine.state().timer1tag == 2 &&
                   clock.armed(TimerId::Timer1);
        });
    }

    std::vector<std::string> lines(std::string_view word) const { return outbox.lines(word); }
    std::vector<std::string> transcript() const { return outbox.transcript(); }

    RecordingOutbox outbox;
    FakeClock clock;
    Random random{12345};
    GameEngine engine{outbox, clock, random};
};

} // namespace morlu::test
