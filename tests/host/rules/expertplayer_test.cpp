#include "expertplayer.h"

#include "enginefixture.h"
#include "gamemessages.h"
#include "seatobserver.h"
#include "seatview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <optional>
#include <random>
#include <set>

using namespace morlu;
using namespace morlu::test;

namespace {

/// A position where the computer was about to play a card, as the engine held it.
struct Position {
    GameState state;
    RoundHistory history;
    int seat = 0;
};

/**
 * Games in which a watching human sits in every seat: the computer plays them all, and a card the host
 * refuses would be answered with CMD_aerror to that seat, where the recording outbox sees it. Every
 * card decision of an Expert seat is kept as a Position.
 */
class ExpertGameTest : public EngineFixture {
protected:
    ExpertGameTest()
    {
        clock.setHandler([this](TimerId id) {
            const int seat = engine.turnseat();
            if (id == TimerId::ComputerTimer && engine.computerLevel(seat) == ComputerLevel::Expert)
                positions.push_back({engine.state(), engine.history(), seat});
            engine.timerFired(id);
        });
    }

    void playWatched(const std::string& length, std::uint32_t seed, const std::vector<int>& expertSeats)
    {
        random.setSeed(seed);
        seatAllHumans();
        for (const int seat : expertSeats)
            engine.setComputerLevel(seat, ComputerLevel::Expert);
        start(length);
        for (int seat = 1; seat <= kSeatCount; ++seat)
            engine.seat(seat).justwatch = 1;
        for (int seat = 1; seat <= kSeatCount; ++seat)
            engine.computerTakesOver(seat);
        clock.runUntilIdle();
    }

    std::set<int> contractsPlayed() const
    {
        std::set<int> contracts;
        for (const std::string& line : lines(CMD_choosehand))
            contracts.insert(ChooseHand::read(std::string_view(line).substr(CMD_choosehand.size() + 1)).contract);
        return contracts;
    }

    std::vector<Position> positions;
};

TEST_F(ExpertGameTest, NeverPlaysACardTheHostRefuses)
{
    struct Row {
        const char* length;
        std::uint32_t seed;
        std::vector<int> experts;
    };
    const Row rows[] = {
        {"l", 1, {1, 2, 3, 4}}, {"l", 2, {1, 2, 3, 4}}, {"l", 3, {2, 4}}, {"h", 4, {1, 3}},
        {"s", 5, {1, 2, 3, 4}}, {"l", 6, {1, 2, 3, 4}}, {"l", 7, {3}},
    };
    engine.expert().setSettings({8, 8});
    std::size_t decisions = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.length) + " game, seed " + std::to_string(row.seed));
        outbox.clear();
        positions.clear();
        playWatched(row.length, row.seed, row.experts);
        EXPECT_TRUE(lines(CMD_aerror).empty()) << lines(CMD_aerror).front();
        EXPECT_FALSE(engine.gamerunning()) << "the game stalled";
        EXPECT_EQ(lines(CMD_winner).size(), 1u);
        if (row.experts.size() == 4) {
            EXPECT_EQ(contractsPlayed().size(), std::string(row.length) == "s" ? 2u : 6u);
        }
        decisions += positions.size();
    }
    EXPECT_GT(decisions, 3000u);
}

// A first leader who holds only cards barred from the first lead may lead any of them.
TEST_F(ExpertGameTest, LeadsFromAHandOfBarredCards)
{
    struct Row {
        int contract;
        std::vector<int> hand;
    };
    const Row rows[] = {
        {Morlu, {17, 18, 20, 22, 23, 24}},
        {Siege, {25, 27, 29, 31}},
        {Guillotine, {17, 21, 22, 26, 29, 32}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(contractName(row.contract));
        outbox.clear();
        seatAllHumans();
        engine.setComputerLevel(1, ComputerLevel::Expert);
        start("l");
        choose(1, row.contract);
        setHand(1, row.hand);
        engine.seat(1).justwatch = 1;
        engine.computerTakesOver(1);
        ASSERT_TRUE(clock.fireNext());
        EXPECT_TRUE(lines(CMD_aerror).empty());
        EXPECT_EQ(lines(CMD_placecard).size(), 1u);
    }
}

/**
 * The same position with the other seats' hands dealt anew from the same unseen cards: each seat keeps
 * its count and gets no card its play has shown it lacks. False when no such deal came up.
 */
bool redealHidden(Position& position, std::mt19937& chance)
{
    const SeatView view = seatViewOf(position.state, position.history, position.seat);
    std::vector<int> hidden;
    for (int seat = 1; seat <= kSeatCount; ++seat) {
        for (int slot = 1; slot <= kHandSlots; ++slot) {
            if (seat != position.seat && position.state.seats[seat].cards[slot] != 0)
                hidden.push_back(position.state.seats[seat].cards[slot]);
        }
    }
    for (int attempt = 0; attempt < 500; ++attempt) {
        std::shuffle(hidden.begin(), hidden.end(), chance);
        std::size_t next = 0;
        bool consistent = true;
        for (int seat = 1; seat <= kSeatCount && consistent; ++seat) {
            for (int slot = 1; slot <= kHandSlots && seat != position.seat; ++slot) {
                if (position.state.seats[seat].cards[slot] == 0)
                    continue;
                consistent = consistent && !(view.excluded[seat] & cardBit(hidden[next]));
                ++next;
            }
        }
        if (!consistent)
            continue;
        next = 0;
        for (int seat = 1; seat <= kSeatCount; ++seat) {
            for (int slot = 1; slot <= kHandSlots && seat != position.seat; ++slot) {
                if (position.state.seats[seat].cards[slot] != 0)
                    position.state.seats[seat].cards[slot] = hidden[next++];
            }
        }
        return true;
    }
    return false;
}

TEST_F(ExpertGameTest, PlaysTheSameCardWhateverTheHiddenHandsHold)
{
    engine.expert().setSettings({12, 12});
    for (const std::uint32_t seed : {11u, 12u}) {
        positions.clear();
        playWatched("l", seed, {1, 2, 3, 4});
        ExpertPlayer expert({12, 12});
        expert.setSeed(seed);
        std::mt19937 chance(seed);
        int redealt = 0;
        for (const Position& position : positions) {
            Position other = position;
            if (!redealHidden(other, chance))
                continue;
            ++redealt;
            const int card = expert.chooseCard(seatViewOf(position.state, position.history, position.seat));
            ASSERT_EQ(expert.chooseCard(seatViewOf(other.state, other.history, other.seat)), card)
                << "seat " << position.seat << ", round " << position.state.contractnumber << ", trick "
                << position.state.tricknumber;
        }
        EXPECT_GT(redealt, static_cast<int>(positions.size() * 9 / 10));
    }
}

TEST(ExpertPlayerTest, ChoosesTheSameContractWhateverTheOtherHandsHold)
{
    std::mt19937 chance(3);
    ExpertPlayer expert({12, 12});
    for (int row = 0; row < 40; ++row) {
        std::vector<int> pack(kCardCount);
        std::iota(pack.begin(), pack.end(), 1);
        std::shuffle(pack.begin(), pack.end(), chance);
        GameState state;
        state.chooserseat = row % kSeatCount + 1;
        state.contractnumber = row % 8 + 1;
        for (int n = 0; n < kCardCount; ++n)
            state.seats[n % kSeatCount + 1].cards[n / kSeatCount + 1] = pack[n];
        for (int seat = 1; seat <= kSeatCount; ++seat) {
            std::sort(state.seats[seat].cards.begin() + 1, state.seats[seat].cards.end());
            for (int code = 1; code <= kContractCount; ++code)
                state.seats[seat].used[code] = chance() % 2;
        }
        const int seat = state.chooserseat;
        state.seats[seat].used[chance() % kContractCount + 1] = 0;
        expert.setSeed(chance());

        const int code = expert.chooseContract(seatViewOf(state, RoundHistory{}, seat));
        ASSERT_TRUE(validContract(code));
        EXPECT_FALSE(state.seats[seat].used[code]) << "row " << row;
        Position other{state, RoundHistory{}, seat};
        ASSERT_TRUE(redealHidden(other, chance));
        EXPECT_EQ(expert.chooseContract(seatViewOf(other.state, RoundHistory{}, seat)), code) << "row " << row;
    }
}

TEST(ExpertPlayerTest, TheSameSeedPlaysTheSameGame)
{
    for (const std::uint32_t seed : {5u, 77u}) {
        std::vector<std::vector<std::string>> transcripts;
        for (int run = 0; run < 2; ++run) {
            RecordingOutbox outbox;
            FakeClock clock;
            Random random(seed);
            GameEngine engine(outbox, clock, random);
            clock.setHandler([&](TimerId id) { engine.timerFired(id); });
            engine.expert().setSettings({16, 16});
            for (int seat = 1; seat <= kSeatCount; ++seat)
                engine.setComputerLevel(seat, ComputerLevel::Expert);
            engine.startgame(StartGame{"Host", "s"});
            clock.runUntilIdle();
            ASSERT_FALSE(engine.gamerunning());
            transcripts.push_back(outbox.transcript());
        }
        EXPECT_EQ(transcripts[0], transcripts[1]) << "seed " << seed;
    }
}

/// Deals the hands it is given: each card's place is drawn so that it lands with its seat.
class ScriptedDeal : public RandomSource {
public:
    explicit ScriptedDeal(const std::array<std::vector<int>, kSeatCount + 1>& hands)
    {
        std::array<int, kCardCount + 1> seatOf{};
        for (int seat = 1; seat <= kSeatCount; ++seat) {
            for (const int card : hands[seat])
                seatOf[card] = seat;
        }
        std::array<int, kSeatCount + 1> dealt{};
        for (int card = 1; card <= kCardCount; ++card) {
            const int seat = seatOf[card];
            m_places.push_back(std::uint32_t(dealt[seat]++ * kSeatCount + seat - 1));
        }
    }
    std::uint32_t draw(std::uint32_t) override { return m_places.at(m_next++ % m_places.size()); }

private:
    std::vector<std::uint32_t> m_places;
    std::size_t m_next = 0;
};

// The engine hands the expert its seat's view and its own stream: two deals that differ only in how
// the other seats' cards are shared out (and so in every draw of the dealing generator) bring the
// same contract choice and the same opening lead. The expert directs the first round of each game.
TEST(ExpertSeatTest, TheOtherSeatsHandsDoNotMoveItsDecisions)
{
    std::mt19937 chance(17);
    for (int row = 0; row < 12; ++row) {
        // The master decides from the same view; every third deal it sits in the seat instead.
        const ComputerLevel level = row % 3 == 2 ? ComputerLevel::Master : ComputerLevel::Expert;
        std::vector<int> pack(kCardCount);
        std::iota(pack.begin(), pack.end(), 1);
        std::shuffle(pack.begin(), pack.end(), chance);
        std::array<std::vector<int>, kSeatCount + 1> hands;
        for (int n = 0; n < kCardCount; ++n)
            hands[std::size_t(n / kHandSlots + 1)].push_back(pack[std::size_t(n)]);
        std::array<std::vector<int>, kSeatCount + 1> swapped = hands;
        std::rotate(swapped.begin() + 2, swapped.begin() + 2 + row % 2 + 1, swapped.end());

        std::array<std::pair<int, std::string>, 2> decisions;
        for (int world = 0; world < 2; ++world) {
            RecordingOutbox outbox;
            FakeClock clock;
            ScriptedDeal deal(world == 0 ? hands : swapped);
            Random choices(1);
            GameEngine engine(outbox, clock, deal, choices);
            clock.setHandler([&](TimerId id) { engine.timerFired(id); });
            engine.setExpertSeed(std::uint64_t(row) * 7919);
            engine.expert().setSettings({8, 8});
            engine.master().setSettings({4, 4, 2, 12, 500, 8});
            engine.setComputerLevel(1, level);
            for (int seat = 2; seat <= kSeatCount; ++seat)
                engine.seat(seat).inuse = 1;
            engine.startgame(StartGame{"Host", "l"});
            std::vector<int> mine = world == 0 ? hands[1] : swapped[1];
            std::sort(mine.begin(), mine.end());
            ASSERT_EQ(std::vector<int>(engine.seat(1).cards.begin() + 1, engine.seat(1).cards.end()), mine);
            ASSERT_EQ(std::vector<int>(engine.seat(2).cards.begin() + 1, engine.seat(2).cards.end()), [&] {
                std::vector<int> theirs = world == 0 ? hands[2] : swapped[2];
                std::sort(theirs.begin(), theirs.end());
                return theirs;
            }());
            ASSERT_EQ(outbox.lines(CMD_choosehand).size(), 1u);
            ASSERT_TRUE(clock.fireNext());
            ASSERT_EQ(outbox.lines(CMD_placecard).size() + outbox.lines(CMD_dplacecard).size(), 1u);
            const auto placed = outbox.lines(CMD_placecard);
            decisions[std::size_t(world)] = {
                ChooseHand::read(std::string_view(outbox.lines(CMD_choosehand)[0]).substr(CMD_choosehand.size() + 1))
                    .contract,
                placed.empty() ? outbox.lines(CMD_dplacecard)[0] : placed[0]};
        }
        EXPECT_EQ(decisions[0], decisions[1]) << "row " << row;
    }
}

// A hint is decided from the asking seat's view: two deals that differ only in how the other seats'
// cards are shared out bring the same contract hint and, that contract chosen, the same lead hint.
TEST(HintTest, TheOtherSeatsHandsDoNotMoveTheHints)
{
    std::mt19937 chance(29);
    for (int row = 0; row < 8; ++row) {
        std::vector<int> pack(kCardCount);
        std::iota(pack.begin(), pack.end(), 1);
        std::shuffle(pack.begin(), pack.end(), chance);
        std::array<std::vector<int>, kSeatCount + 1> hands;
        for (int n = 0; n < kCardCount; ++n)
            hands[std::size_t(n / kHandSlots + 1)].push_back(pack[std::size_t(n)]);
        std::array<std::vector<int>, kSeatCount + 1> swapped = hands;
        std::rotate(swapped.begin() + 2, swapped.begin() + 2 + row % 2 + 1, swapped.end());

        std::array<std::pair<Hint, Hint>, 2> hints;
        for (int world = 0; world < 2; ++world) {
            NullOutbox outbox;
            FakeClock clock;
            ScriptedDeal deal(world == 0 ? hands : swapped);
            Random choices(1);
            GameEngine engine(outbox, clock, deal, choices);
            engine.setExpertSeed(std::uint64_t(row) * 104729);
            engine.master().setSettings({4, 4, 2, 12, 500, 8});
            engine.seat(1).inuse = 1;
            engine.startgame(StartGame{"Host", "l"});
            ASSERT_EQ(engine.chooserseat(), 1);
            const std::optional<Hint> contract = engine.hintFor(1);
            ASSERT_TRUE(contract.has_value());
            EXPECT_FALSE(engine.hintFor(2).has_value()) << "seat 2 neither chooses nor is on turn";
            engine.choosetype(ChooseType{1, contract->contract});
            const std::optional<Hint> lead = engine.hintFor(1);
            ASSERT_TRUE(lead.has_value());
            hints[std::size_t(world)] = {*contract, *lead};
        }
        EXPECT_EQ(hints[0], hints[1]) << "row " << row;
    }
}

// Under a seed, the expert's streams are mixed from it: they do not start where the dealing generator
// did, from which every hand of the first deal could be rebuilt.
TEST(ExpertSeatTest, ItsSeedRevealsNoDeal)
{
    for (const std::uint32_t seed : {0u, 1u, 20240607u}) {
        NullOutbox outbox;
        FakeClock clock;
        Random random(seed);
        GameEngine engine(outbox, clock, random);
        engine.startgame(StartGame{"Host", "l"});
        for (const std::uint64_t candidate : {std::uint64_t(seed), std::uint64_t(random.seed())})
            EXPECT_NE(engine.expert().seed(), candidate) << "seed " << seed;
    }
}

} // namespace
