#include "playrule.h"

#include "fakeclock.h"
#include "gameengine.h"
#include "gamemessages.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

using namespace morlu;
using namespace morlu::test;

namespace {

/// The fields after "CMD_word+" without the 0xFF; a null view when the line has another word.
std::string_view restOf(std::string_view line, std::string_view word)
{
    if (line.size() < word.size() + 2 || line.substr(0, word.size()) != word || line[word.size()] != '+')
        return {};
    return line.substr(word.size() + 1, line.size() - word.size() - 2);
}

/**
 * What a table learns from the host's lines about the round in play: the contract, the trick, the suit
 * led, the DOMINO start rank and the card last laid on each foundation, and the refusals sent.
 */
class TableView : public Outbox {
public:
    void toSlot(int, std::string_view line) override
    {
        if (const std::string_view rest = restOf(line, CMD_aerror); rest.data() != nullptr)
            refusals.push_back(AError::read(rest).code);
    }
    void toAll(std::string_view line) override
    {
        std::string_view rest;
        if ((rest = restOf(line, CMD_choosehand)).data() != nullptr) {
            contract = ChooseHand::read(rest).contract;
            trick = 0;
            dominoStart = 0;
            tops = {};
        } else if (restOf(line, CMD_starthand).data() != nullptr) {
            ++trick;
            ledsuit = NoSuit;
        } else if ((rest = restOf(line, CMD_placecard)).data() != nullptr) {
            const PlaceCard placed = PlaceCard::read(rest);
            if (placed.lead)
                ledsuit = getsuit(placed.card);
            ++placedCards;
        } else if ((rest = restOf(line, CMD_dplacecard)).data() != nullptr) {
            const DPlaceCard placed = DPlaceCard::read(rest);
            dominoStart = placed.dominoStart;
            if (placed.suit >= 1 && placed.suit <= 4)
                tops[std::size_t(placed.suit - 1)] = placed.card;
            ++placedCards;
        }
    }

    PlayPosition position(const SeatRecord& seat) const
    {
        PlayPosition p;
        p.contract = contract;
        p.trick = trick;
        p.ledsuit = ledsuit;
        p.domino = DominoFoundations::fromTops(dominoStart, tops);
        for (int slot = 1; slot <= kHandSlots; ++slot)
            p.hand[std::size_t(slot)] = seat.cards[std::size_t(slot)];
        return p;
    }

    int contract = 0;
    int trick = 0;
    int ledsuit = NoSuit;
    int dominoStart = 0;
    std::array<int, 4> tops{};
    int placedCards = 0;
    std::vector<int> refusals;
};

// Whole games among four human seats: at every turn the rule, fed only with what a table knows, must
// give exactly the host's verdict. Every card the rule refuses is tried and must be refused with the
// rule's code; then one card the rule allows, chosen at random, must be accepted.
TEST(PlayRule, AgreesWithTheHostsRefusalsOnRandomGames)
{
    TableView view;
    FakeClock clock;
    Random random{20240611};
    GameEngine engine{view, clock, random};
    clock.setHandler([&](TimerId id) { engine.timerFired(id); });
    for (int n = 1; n <= kSeatCount; ++n) {
        engine.seat(n).inuse = 1;
        engine.seat(n).name = "P" + std::to_string(n);
    }
    std::mt19937 pick(7);

    int positions = 0;
    std::set<int> codesSeen;
    int games = 0;
    while (positions < 4000 && games < 40) {
        engine.startgame(StartGame{"P1", games % 2 == 0 ? "l" : "h"});
        ++games;
        for (int step = 0; step < 200000 && engine.state().gamerunning; ++step) {
            const GameState& s = engine.state();
            if (s.chooserseat != 0) {
                std::vector<int> free;
                for (int code = 1; code <= kContractCount; ++code)
                    if (!engine.seat(s.chooserseat).used[std::size_t(code)])
                        free.push_back(code);
                ASSERT_FALSE(free.empty());
                engine.choosetype(ChooseType{s.chooserseat, free[pick() % free.size()]});
                continue;
            }
            if (!s.playopen || s.turnseat < 1 || s.turnseat > kSeatCount) {
                ASSERT_TRUE(clock.fireNext()) << "the game stopped";
                continue;
            }
            const int seat = s.turnseat;
            const PlayPosition position = view.position(engine.seat(seat));
            if (engine.seat(seat).played) {
                // The last card of a DOMINO round is in: the pause before the next round runs.
                ASSERT_TRUE(clock.fireNext()) << "the game stopped";
                continue;
            }
            std::vector<int> allowed;
            for (int slot = 1; slot <= kHandSlots; ++slot) {
                if (position.hand[std::size_t(slot)] == 0)
                    continue;
                const int expected = playRefusal(position, slot);
                if (expected == PlayAllowed) {
                    allowed.push_back(slot);
                    continue;
                }
                view.refusals.clear();
                const int placed = view.placedCards;
                engine.playcard(PlayCard{seat, slot});
                ASSERT_EQ(view.placedCards, placed) << "the host took a card the rule refuses, slot " << slot;
                ASSERT_EQ(view.refusals, std::vector<int>{expected}) << "slot " << slot;
                codesSeen.insert(expected);
            }
            ASSERT_FALSE(allowed.empty()) << "a seat on turn with nothing to play";
            const int placed = view.placedCards;
            view.refusals.clear();
            engine.playcard(PlayCard{seat, allowed[pick() % allowed.size()]});
            ASSERT_TRUE(view.refusals.empty()) << "the host refused a card the rule allows";
            ASSERT_EQ(view.placedCards, placed + 1);
            ++positions;
        }
        ASSERT_FALSE(engine.state().gamerunning) << "game " << games << " did not end";
    }
    EXPECT_GE(positions, 4000);
    // Every kind of refusal came up.
    EXPECT_EQ(codesSeen, (std::set<int>{NoHeartLead, NoSpadeLead, NoHeartOrSpadeLead, MustFollowSuit, CannotBePlayed}));
}

} // namespace
