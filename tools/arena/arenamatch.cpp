#include "arenamatch.h"

#include "gameengine.h"
#include "playoutrandom.h"
#include "seatobserver.h"
#include "sessionmessages.h"

#include <optional>

namespace morlu {

namespace {

/// The arena reads the engine's state; the messages go nowhere.
class NullOutbox : public Outbox {
public:
    void toSlot(int, std::string_view) override {}
    void toAll(std::string_view) override {}
};

/// The two timers, fired by hand in the order the game needs them.
class HandTimers : public Timers {
public:
    void arm(TimerId id, int) override { m_armed[index(id)] = true; }
    void stop(TimerId id) override { m_armed[index(id)] = false; }
    bool armed(TimerId id) const { return m_armed[index(id)]; }

private:
    static std::size_t index(TimerId id) { return id == TimerId::Timer1 ? 0 : 1; }
    std::array<bool, 2> m_armed{};
};

constexpr int kNextRound = 2;

} // namespace

std::uint32_t ArenaMatch::roundSeed(std::uint64_t deal, int round) const
{
    return static_cast<std::uint32_t>(PlayoutRandom::mix(m_seed, deal * 64 + static_cast<std::uint64_t>(round)));
}

namespace {

/// The table of a driven seat takes its turn or chooses its contract; false when it has nothing to do.
bool drive(GameEngine& engine, int seat, ArenaMatch::Driver driver)
{
    if (driver == ArenaMatch::Driver::Hints) {
        const std::optional<Hint> hint = engine.hintFor(seat);
        if (!hint)
            return false;
        if (hint->handSlot != 0)
            engine.playcard(PlayCard{seat, hint->handSlot});
        else
            engine.choosetype(ChooseType{seat, hint->contract});
        return true;
    }
    const GameState& s = engine.state();
    if (seat == s.chooserseat) {
        engine.choosetype(ChooseType{seat, engine.master().chooseContract(seatViewOf(s, engine.history(), seat))});
        return true;
    }
    if (seat != s.turnseat || s.chooserseat != 0 || !s.playopen || s.seats[seat].played)
        return false;
    const SeatView view = seatViewOf(s, engine.history(), seat);
    DealSampler::Hands hands{};
    for (int other = 1; other <= kSeatCount; ++other) {
        for (int slot = 1; other != seat && slot <= kHandSlots; ++slot)
            hands[other] |= cardBit(s.seats[other].cards[slot]);
    }
    engine.playcard(PlayCard{seat, engine.slotHolding(seat, engine.master().chooseCardKnowing(view, hands))});
    return true;
}

} // namespace

ArenaMatch::Result ArenaMatch::play(std::uint64_t deal, const std::array<ComputerLevel, 5>& levels, int driven,
                                    Driver driver) const
{
    NullOutbox outbox;
    HandTimers timers;
    Random random(roundSeed(deal, 1));
    GameEngine engine(outbox, timers, random);
    // The expert's streams follow the deal, not its hands: every seating of a deal meets the same ones.
    engine.setExpertSeed(PlayoutRandom::mix(m_seed, deal));
    engine.setPauseTick(0);
    engine.expert().setSettings(m_settings);
    engine.master().setSettings(m_master);
    for (int seat = 1; seat <= kSeatCount; ++seat)
        engine.setComputerLevel(seat, levels[seat]);
    if (driver == Driver::Engine || !GameState::isSeat(driven))
        driven = 0;
    else
        engine.seat(driven).inuse = 1; // a table holds the seat: the engine waits for its requests

    Result result;
    std::array<int, 5> lastBank{0, kStartingBank, kStartingBank, kStartingBank, kStartingBank};
    int recorded = 0;
    const auto record = [&] {
        const GameState& s = engine.state();
        if (recorded == s.contractnumber)
            return;
        recorded = s.contractnumber;
        Round round;
        round.contract = s.contract;
        round.director = s.directorseat;
        for (int seat = 1; seat <= kSeatCount; ++seat) {
            round.money[seat] = s.seats[seat].bank - lastBank[seat];
            lastBank[seat] = s.seats[seat].bank;
        }
        result.rounds.push_back(round);
    };

    engine.startgame(StartGame{"Arena", m_length});
    // Bounded: a game that stops moving (no timer armed) or runs away ends the match.
    for (int steps = 0; engine.gamerunning() && steps < 100000; ++steps) {
        if (driven != 0 && drive(engine, driven, driver))
            continue;
        if (timers.armed(TimerId::ComputerTimer)) {
            engine.timerFired(TimerId::ComputerTimer);
        } else if (timers.armed(TimerId::Timer1)) {
            if (engine.state().timer1tag == kNextRound) {
                record();
                random.setSeed(roundSeed(deal, engine.state().contractnumber + 1));
            }
            engine.timerFired(TimerId::Timer1);
        } else {
            break;
        }
    }
    record();

    int best = 0;
    int winners = 0;
    for (int seat = 1; seat <= kSeatCount; ++seat) {
        result.bank[seat] = engine.state().seats[seat].bank;
        if (best == 0 || result.bank[seat] > result.bank[best])
            best = seat;
    }
    for (int seat = 1; seat <= kSeatCount; ++seat)
        winners += result.bank[seat] == result.bank[best] ? 1 : 0;
    for (int seat = 1; seat <= kSeatCount; ++seat)
        result.win[seat] = result.bank[seat] == result.bank[best] ? 1.0 / winners : 0.0;
    return result;
}

} // namespace morlu
