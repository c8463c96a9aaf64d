#include "masterplayer.h"

#include "dealsampler.h"
#include "endgamesearch.h"

#include "enginefixture.h"
#include "gameengine.h"
#include "gamemessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace morlu;
using namespace morlu::test;

namespace {

CardMask cards(std::initializer_list<int> codes)
{
    CardMask mask = 0;
    for (const int code : codes)
        mask |= cardBit(code);
    return mask;
}

// The last tricks searched with every hand known. Hearts run 17 (7) .. 24 (A), K♥ is 22.
TEST(MasterSearchTest, PlaysTheLastTricksForEverySeatsOwnMoney)
{
    struct Row {
        const char* what;
        int contract;
        int tricknumber;
        int turn;
        std::array<CardMask, kSeatCount + 1> hands;
        int nodes;
        std::optional<MasterPlayer::Money> money; ///< nothing: the search runs out of nodes
    };
    // MORLU, seat 1 directs. Seat 2 holding K♥ and 7♦ leads K♥ at once while seat 3 must follow with
    // its A♥; should it lead 7♦, seat 3 throws the A♥ on it and seat 2 takes its own king last.
    const std::array<CardMask, kSeatCount + 1> leadTheKing{0, cards({10, 11}), cards({22, 1}), cards({24, 9}),
                                                           cards({17, 3})};
    const Row rows[] = {
        {"one forced trick", Morlu, 8, 2, {0, cards({1}), cards({22}), cards({17}), cards({18})}, 10,
         MasterPlayer::Money{0, 800, -800, 0, 0}},
        {"leads the king while the ace must fall on it", Morlu, 7, 2, leadTheKing, 1000,
         MasterPlayer::Money{0, 800, 0, -800, 0}},
        {"the same with too few nodes", Morlu, 7, 2, leadTheKing, 3, std::nullopt},
        // TOUCHE, seat 1 directs with 7♣ and A♣ against one club each: it leads the 7♣ so that seat 4
        // takes trick 7 and then the costly trick 8 with its 9♦.
        {"the director ducks so that another seat takes the last trick", Touche, 7, 1,
         {0, cards({9, 16}), cards({10, 1}), cards({11, 2}), cards({12, 3})}, 1000,
         MasterPlayer::Money{0, 400, 0, 0, -400}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Playout p;
        p.setHands(row.hands);
        p.setTrick(row.contract, 1, row.tricknumber, row.turn);
        int nodes = row.nodes;
        MasterPlayer::Money money{};
        const bool done = MasterPlayer::searchExact(p, nodes, money);
        ASSERT_EQ(done, row.money.has_value());
        if (done) {
            EXPECT_EQ(money, *row.money);
        }
    }
}

/// Every seat's money to the end of the round by trying every legal card, each seat for itself.
MasterPlayer::Money bruteForce(const Playout& p)
{
    MasterPlayer::Money best{};
    if (p.finished())
        return best;
    bool first = true;
    for (CardMask rest = p.legal(); rest != 0; rest &= rest - 1) {
        Playout next = p;
        next.play(lowestCard(rest));
        MasterPlayer::Money money = bruteForce(next);
        for (int seat = 1; seat <= kSeatCount; ++seat)
            money[seat] += next.money(seat) - p.money(seat);
        if (first || EndgameSearch::prefers(p, money, best))
            best = money;
        first = false;
    }
    return best;
}

/// @p seat's money to the end of the round by trying every legal card, the other three against it.
int bruteForceAgainst(const Playout& p, int seat)
{
    if (p.finished())
        return 0;
    bool first = true;
    int best = 0;
    for (CardMask rest = p.legal(); rest != 0; rest &= rest - 1) {
        Playout next = p;
        next.play(lowestCard(rest));
        const int money = bruteForceAgainst(next, seat) + next.money(seat) - p.money(seat);
        if (first || (p.turn() == seat ? money > best : money < best))
            best = money;
        first = false;
    }
    return best;
}

// The search's shortcuts (one card for a run of cards that play alike, positions looked up) change
// no result: on random deals of the last tricks it finds what trying every card finds.
TEST(EndgameSearchTest, AgreesWithTryingEveryCard)
{
    struct Row {
        int contract;
        int cardsEach; ///< cards in each hand
        int trickCards; ///< cards already on the current trick (0..3)
    };
    const Row rows[] = {{Morlu, 3, 0},    {Waterloo, 3, 2}, {Siege, 3, 1},  {Touche, 3, 0},
                        {Guillotine, 3, 3}, {Guillotine, 2, 1}, {Domino, 4, 0}, {Domino, 5, 0}};
    PlayoutRandom random(19);
    EndgameSearch search;
    for (const Row& row : rows) {
        for (int deal = 0; deal < 40; ++deal) {
            SCOPED_TRACE(std::string(contractName(row.contract)) + ", deal " + std::to_string(deal));
            // Deal the whole pack, then keep cardsEach of every hand (plus the trick's cards).
            std::array<int, kCardCount> pack{};
            for (int i = 0; i < kCardCount; ++i)
                pack[i] = i + 1;
            for (int i = kCardCount - 1; i > 0; --i)
                std::swap(pack[i], pack[random.below(static_cast<std::uint32_t>(i + 1))]);
            const int director = 1 + static_cast<int>(random.below(kSeatCount));
            const int leader = 1 + static_cast<int>(random.below(kSeatCount));
            std::array<CardMask, kSeatCount + 1> hands{};
            int next = 0;
            for (int seat = 1; seat <= kSeatCount; ++seat) {
                for (int n = 0; n < row.cardsEach; ++n)
                    hands[seat] |= cardBit(pack[next++]);
            }
            Playout p;
            if (row.contract == Domino) {
                // A layout in the middle of the round: every card no hand holds has been laid.
                const int start = 1 + static_cast<int>(random.below(8));
                std::array<int, 5> laid{};
                CardMask inHands = 0;
                for (int seat = 1; seat <= kSeatCount; ++seat)
                    inHands |= hands[seat];
                for (int suit = 1; suit <= 4; ++suit) {
                    while (laid[suit] < 8 &&
                           !(inHands & cardBit(dominoCard(suit, (start - 1 + laid[suit]) % 8 + 1))))
                        ++laid[suit];
                }
                p.setHands(hands);
                p.setDomino(director, start, laid, leader);
                if (p.legal() == 0)
                    continue; // the seat would be passed over: not a position the host hands on
            } else {
                // The first trickCards seats from the leader have already put their lowest card on it.
                int seat = leader;
                for (int k = 0; k < row.trickCards; ++k) {
                    const int card = lowestCard(hands[seat]);
                    hands[seat] &= ~cardBit(card);
                    p.putOnTrick(seat, card);
                    seat = seat % kSeatCount + 1;
                }
                p.setHands(hands);
                p.setTrick(row.contract, director, 9 - row.cardsEach, seat);
            }
            search.newDeal();
            int nodes = 1000000;
            EndgameSearch::Money money{};
            ASSERT_TRUE(search.search(p, nodes, money));
            EXPECT_EQ(money, bruteForce(p));
            for (int seat = 1; seat <= kSeatCount; ++seat) {
                nodes = 1000000;
                int mine = 0;
                ASSERT_TRUE(search.searchAgainst(seat, p, nodes, mine));
                EXPECT_EQ(mine, bruteForceAgainst(p, seat)) << "seat " << seat;
            }
        }
    }
}

/// A game in which the computer plays every seat at the master level, with small counts.
std::vector<std::string> playMasterGame(const std::string& length, std::uint32_t seed)
{
    RecordingOutbox outbox;
    FakeClock clock;
    Random random(seed);
    GameEngine engine(outbox, clock, random);
    clock.setHandler([&](TimerId id) { engine.timerFired(id); });
    engine.setExpertSeed(seed);
    engine.master().setSettings({6, 6, 2, 12, 800, 8});
    for (int seat = 1; seat <= kSeatCount; ++seat)
        engine.setComputerLevel(seat, ComputerLevel::Master);
    engine.startgame(StartGame{"Host", length});
    clock.runUntilIdle();
    EXPECT_TRUE(outbox.lines(CMD_aerror).empty()) << outbox.lines(CMD_aerror).front();
    EXPECT_FALSE(engine.gamerunning()) << "the game stalled";
    EXPECT_EQ(outbox.lines(CMD_winner).size(), 1u);
    return outbox.transcript();
}

// Every card the master plays is one the host accepts, the game ends, and a seed repeats the game.
TEST(MasterGameTest, PlaysWholeGamesTheHostAcceptsAndRepeatsThemUnderASeed)
{
    for (const std::uint32_t seed : {3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::vector<std::string> first = playMasterGame("s", seed);
        EXPECT_EQ(playMasterGame("s", seed), first);
    }
}

} // namespace

// Shown every hand, the master plays a card whose searched end brings it as much as the best card
// does when every card is tried: on random last tricks of every trick contract, with the seat to lead.
TEST(MasterKnowingTest, PlaysTheBestCardWhenItSeesEveryHand)
{
    PlayoutRandom random(23);
    MasterPlayer master;
    for (const int contract : {Morlu, Waterloo, Siege, Touche, Guillotine}) {
        for (int deal = 0; deal < 12; ++deal) {
            SCOPED_TRACE(std::string(contractName(contract)) + ", deal " + std::to_string(deal));
            std::array<int, kCardCount> pack{};
            for (int i = 0; i < kCardCount; ++i)
                pack[i] = i + 1;
            for (int i = kCardCount - 1; i > 0; --i)
                std::swap(pack[i], pack[random.below(static_cast<std::uint32_t>(i + 1))]);
            SeatView view;
            view.seat = 1 + static_cast<int>(random.below(kSeatCount));
            view.director = 1 + static_cast<int>(random.below(kSeatCount));
            view.contract = contract;
            view.tricknumber = 6;
            DealSampler::Hands hands{};
            for (int n = 0; n < 3 * kSeatCount; ++n)
                hands[std::size_t(n % kSeatCount + 1)] |= cardBit(pack[std::size_t(n)]);
            view.hand = hands[view.seat];
            view.gone = kAllCards & ~(hands[1] | hands[2] | hands[3] | hands[4]);
            view.taken = view.gone;
            for (int seat = 1; seat <= kSeatCount; ++seat)
                view.held[seat] = 3;
            const int card = master.chooseCardKnowing(view, hands);
            ASSERT_TRUE(view.hand & cardBit(card));

            const Playout position = view.playout(hands);
            auto worth = [&](int played) {
                Playout p = position;
                p.play(played);
                return p.money(view.seat) + bruteForce(p)[view.seat];
            };
            int best = -1000000;
            for (CardMask rest = view.legal(); rest != 0; rest &= rest - 1)
                best = std::max(best, worth(lowestCard(rest)));
            EXPECT_EQ(worth(card), best);
        }
    }
}

// Playing for the game: the chance to end with the highest bank, from the banks after the round.
TEST(MasterKnowingTest, JudgesTheChanceToWinTheGameFromTheBanks)
{
    struct Row {
        const char* what;
        MasterPlayer::Money banks;
        int roundsLeft;
        double low;
        double high;
    };
    const Row rows[] = {
        {"the sole leader after the last round", {0, 10100, 10000, 9000, 8000}, 0, 0.999, 1.0},
        {"second after the last round, by 100", {0, 9900, 10000, 9000, 8000}, 0, 0.0, 0.001},
        {"tied for the lead after the last round", {0, 10000, 10000, 9000, 8000}, 0, 0.499, 0.501},
        {"even banks with rounds to come", {0, 10000, 10000, 10000, 10000}, 5, 0.125, 0.125},
        {"a lead of 1000 with one round to come", {0, 11000, 10000, 10000, 10000}, 1, 0.40, 0.48},
        {"the same lead with seven rounds to come", {0, 11000, 10000, 10000, 10000}, 7, 0.18, 0.26},
        {"far behind with seven rounds to come", {0, 6000, 10000, 10000, 10000}, 7, 0.0, 0.02},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const double chance = MasterPlayer::winChance(1, row.banks, row.roundsLeft, 1000);
        EXPECT_GE(chance, row.low);
        EXPECT_LE(chance, row.high);
    }
}
