#include "playablecards.h"

#include "cardplace.h"
#include "printers.h"
#include "tablefixture.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace {

using morlu::test::TableFixture;

class PlayableCardsTest : public TableFixture {
protected:
    std::vector<int> dimmed() const
    {
        std::vector<int> places;
        for (int k = 1; k <= 8; ++k)
            if (board.handPlace(k)->isDimmed())
                places.push_back(k);
        return places;
    }

    PlayableCards playable{board, display.model()};
};

// The board's own picture of the round, read by the host's rule: the cards the host would refuse are
// dimmed on the player's turn, and only then.
TEST_F(PlayableCardsTest, DimsTheCardsTheHostWouldRefuseOnTheOwnTurn)
{
    struct Row {
        const char* name;
        std::function<void()> lines;
        std::vector<int> dimmed;
    };
    // openRound deals slots 1..8: 2 (8D), 5 (QD), 9 (7C), 12 (JC), 18 (8H), 22 (KH), 27 (9S), 31 (10S).
    const std::vector<Row> rows = {
        {"MORLU, leading the first trick: no Heart",
         [this] {
             round.choosehand("2+1+0+");
             game.starthand("");
             round.getnextplayer("1+");
         },
         {5, 6}},
        {"a Club was led: follow suit",
         [this] {
             round.choosehand("2+2+0+");
             game.starthand("");
             game.placecard("4+14+3+t+");
             round.getnextplayer("1+");
         },
         {1, 2, 5, 6, 7, 8}},
        {"a suit the hand no longer holds was led: anything",
         [this] {
             round.choosehand("2+2+0+");
             for (const auto& [led, mine] : {std::pair{"4+10+1+t+", "1+9+3+f+"}, std::pair{"4+11+2+t+", "1+12+4+f+"}}) {
                 game.starthand("");
                 game.placecard(led);
                 game.placecard(mine);
                 game.endhand("4+");
             }
             game.starthand("");
             game.placecard("4+13+3+t+");
             round.getnextplayer("1+");
         },
         {}},
        {"SIEGE after the first trick: a Spade may lead",
         [this] {
             round.choosehand("2+3+0+");
             game.placecard("1+12+4+t+");
             game.endhand("1+");
             game.starthand("");
             round.getnextplayer("1+");
         },
         {}},
        {"DOMINO: the start rank and the next rank up",
         [this] {
             round.choosehand("2+6+0+");
             game.dplacecard("2+3+17+4+1+7+");
             game.dplacecard("3+4+25+4+1+7+");
             round.getnextplayer("1+");
         },
         {1, 2, 4, 6, 7, 8}},
        {"another seat's turn: nothing dimmed",
         [this] {
             round.choosehand("2+1+0+");
             game.starthand("");
             round.getnextplayer("2+");
         },
         {}},
        {"the trick is over: nothing dimmed",
         [this] {
             round.choosehand("2+2+0+");
             game.starthand("");
             game.placecard("4+14+3+t+");
             round.getnextplayer("1+");
             game.endhand("4+");
         },
         {}},
    };
    for (const Row& row : rows) {
        openRound(2);
        row.lines();
        playable.refresh();
        EXPECT_EQ(dimmed(), row.dimmed) << row.name;
        // The accessible names say it too, and with the option off nothing is dimmed but they still do.
        playable.setShown(false);
        EXPECT_TRUE(dimmed().empty()) << row.name;
        for (int k = 1; k <= 8; ++k) {
            const CardPlace* place = board.handPlace(k);
            if (!playable.ownTurn()) {
                EXPECT_EQ(place->playable(), CardPlace::Playable::Unknown) << row.name;
            } else if (place->hasPicture()) {
                EXPECT_EQ(place->accessibleName().endsWith(QStringLiteral(", not playable")),
                          std::count(row.dimmed.begin(), row.dimmed.end(), k) == 1)
                    << row.name << " " << k;
            }
        }
        playable.setShown(true);
    }
}

// The host decides a trick at its fourth card and pauses before the next one, still naming the seat
// that laid last: in that pause no card is judged and a click sends nothing, even when that seat is this
// one. The next trick, once the host names its leader, is played as ever, and DOMINO has no such pause.
TEST_F(PlayableCardsTest, NothingIsPlayableOrSentInThePauseAfterTheFourthCard)
{
    const auto trickLaidLastByThisSeat = [this] {
        round.choosehand("2+2+0+");
        game.starthand("");
        for (const auto& [seat, card] : {std::pair{"2+", "2+10+1+t+"}, std::pair{"3+", "3+11+2+f+"},
                                         std::pair{"4+", "4+13+3+f+"}, std::pair{"1+", "1+9+3+f+"}}) {
            round.getnextplayer(seat);
            game.placecard(card);
        }
    };
    struct Row {
        const char* name;
        std::function<void()> lines;
        int onTurn;
        const char* click; ///< what a click on the card in slot 1 sends
    };
    const std::vector<Row> rows = {
        {"the fourth card, before the host names the taker", trickLaidLastByThisSeat, 0, ""},
        {"the taker named, the pause before the next trick",
         [&] {
             trickLaidLastByThisSeat();
             game.endhand("1+");
         },
         0, ""},
        {"the next trick opens and this seat leads it",
         [&] {
             trickLaidLastByThisSeat();
             game.endhand("1+");
             game.starthand("");
             round.getnextplayer("1+");
         },
         1, "CMD_playcard+1+1+\xFF"},
        {"DOMINO: this seat lays after the three others",
         [this] {
             round.choosehand("2+6+0+");
             game.starthand("");
             for (const auto& [seat, card] : {std::pair{"2+", "2+3+17+4+1+7+"}, std::pair{"3+", "3+4+25+4+1+7+"},
                                              std::pair{"4+", "4+1+1+4+1+7+"}}) {
                 round.getnextplayer(seat);
                 game.dplacecard(card);
             }
             round.getnextplayer("1+");
         },
         1, "CMD_playcard+1+1+\xFF"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        openRound(2);
        row.lines();
        playable.refresh();
        EXPECT_EQ(display.model().onTurn(), row.onTurn);
        int judged = 0;
        for (int k = 1; k <= 8; ++k)
            judged += board.handPlace(k)->playable() != CardPlace::Playable::Unknown ? 1 : 0;
        EXPECT_EQ(judged > 0, row.onTurn != 0);
        host.sent.clear();
        QTest::mouseClick(board.handPlace(1), Qt::LeftButton);
        EXPECT_EQ(host.sent, *row.click ? std::vector<std::string>{row.click} : std::vector<std::string>{});
    }
}

// A player on the keys whose focus rests on a card the turn makes refused finds it moved to the nearest
// card the host takes (to the right when two are as near); a focus the player moves later stays put.
TEST_F(PlayableCardsTest, MovesTheFocusOffARefusedCardWhenTheTurnComes)
{
    board.show();
    QApplication::setActiveWindow(&board);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&board));
    const std::function<void()> clubLed = [this] {
        round.choosehand("2+2+0+");
        game.starthand("");
        game.placecard("4+14+3+t+");
        round.getnextplayer("1+");
    };
    const std::function<void()> heartBarred = [this] {
        round.choosehand("2+1+0+");
        game.starthand("");
        round.getnextplayer("1+");
    };
    struct Row {
        const char* name;
        std::function<void()> turn;
        int focused;    ///< before the turn
        bool shown;     ///< Show Playable Cards
        int movedLater; ///< the player moves the focus here on the turn, 0 for not
        int expected;
    };
    // The hand by slot: 8D QD 7C JC 8H KH 9S 10S.
    const Row rows[] = {
        {"a Club led, on the 8 of Diamonds: the nearest Club", clubLed, 1, true, 0, 3},
        {"a Club led, on the King of Hearts: the Jack of Clubs", clubLed, 6, true, 0, 4},
        {"a Club led, on a Club: stays", clubLed, 3, true, 0, 3},
        {"no Heart may lead, on the 8 of Hearts: the right one is refused too", heartBarred, 5, true, 0, 4},
        {"no Heart may lead, on the King of Hearts: the 9 of Spades", heartBarred, 6, true, 0, 7},
        {"the option off: stays", clubLed, 1, false, 0, 1},
        {"moved to a refused card on the turn: stays", clubLed, 3, true, 8, 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        openRound(2);
        playable.setShown(row.shown);
        playable.refresh();
        board.handPlace(row.focused)->setFocus();
        ASSERT_TRUE(board.handPlace(row.focused)->hasFocus());
        row.turn();
        playable.refresh();
        if (row.movedLater != 0) {
            board.handPlace(row.movedLater)->setFocus();
            playable.refresh();
        }
        EXPECT_TRUE(board.handPlace(row.expected)->hasFocus());
    }
}

} // namespace
