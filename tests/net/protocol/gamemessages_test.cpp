#include "gamemessages.h"

#include "messagetesting.h"

#include <gtest/gtest.h>

#include <array>

using namespace morlu;

TEST(GameMessages, WireFormOfEveryLayout)
{
    expectWire(StartGame{"You", "h"}, "CMD_startgame+You+h+");
    expectWire(ChooseType{2, 6}, "CMD_choosetype+2+6+");
    expectWire(PlayCard{1, 5}, "CMD_playcard+1+5+");
    expectWire(StartRound{3, 12}, "CMD_startround+3+12+");
    expectWire(MyCards{2, {{1, 3}, {2, 5}, {3, 9}, {4, 12}, {5, 17}, {6, 22}, {7, 25}, {8, 30}}},
               "CMD_mycards+2+1+3+2+5+3+9+4+12+5+17+6+22+7+25+8+30");
    expectWire(MyCards{4, {{2, 7}, {5, 20}}}, "CMD_mycards+4+2+7+5+20");
    expectWire(MyCards{3, {}}, "CMD_mycards+3");
    expectWire(ChooseHand{1, 3}, "CMD_choosehand+1+3+0+");
    expectWire(AlreadyChoose{4, 2}, "CMD_alreadychoose+4+2+");
    expectWire(StartHand{}, "CMD_starthand+");
    expectWire(NextPlayer{2}, "CMD_nextplayer+2+");
    expectWire(PlaceCard{3, 22, 5, true}, "CMD_placecard+3+22+5+t+");
    expectWire(PlaceCard{4, 1, 1, false}, "CMD_placecard+4+1+1+f+");
    expectWire(AError{1, 4}, "CMD_aerror+1+4+");
    expectWire(EndHand{3}, "CMD_endhand+3+");
    expectWire(Took{2, 3, false, true}, "CMD_took+2+3+f+t+");
    expectWire(Took{1, 1, true, false}, "CMD_took+1+1+t+f+");
    expectWire(Scores{{{1, 10000, 0}, {2, 9200, -800}, {3, 10800, 800}, {4, 10000, 0}}},
               "CMD_scores+1+10000+0+2+9200+-800+3+10800+800+4+10000+0");
    expectWire(Scores{{{1, -400, -2147483647 - 1}, {2, 0, 2147483647}}},
               "CMD_scores+1+-400+-2147483648+2+0+2147483647");
    expectWire(DPlaceCard{2, 1, 4, 3, 5, 7}, "CMD_dplacecard+2+1+4+3+5+7+");
    expectWire(DEndHand{4}, "CMD_dendhand+4+");
    expectWire(HandsUsed{3, {1, 4, 6}}, "CMD_handsused+3+1+4+6");
    expectWire(HandsUsed{2, {}}, "CMD_handsused+2");
    expectWire(AGame{5, 3, "s", 2, 4, 5, 0, 3, {0, 0, 12, 0}}, "CMD_agame+5+3+s+2+4+5+0+3+0+0+12+0+");
    expectWire(AGame{1, 24, "l", 4, 1, 6, 5, 0, {3, 0, 0, 28}}, "CMD_agame+1+24+l+4+1+6+5+0+3+0+0+28+");
    expectWire(Winner{"Klot and You"}, "CMD_winner+Klot and You+");
}

// The engine builds from arrays it already holds; the span writers give the same bytes.
TEST(GameMessages, SpanWritersMatchTheStructs)
{
    std::string buffer;
    const std::array<HandCard, 2> held{{{3, 11}, {8, 32}}};
    EXPECT_EQ(MyCards::write(buffer, 1, held), "CMD_mycards+1+3+11+8+32\xFF");
    const std::array<ScoreGroup, 4> groups{{{1, 10000, 0}, {2, 9200, -800}, {3, 10800, 800}, {4, 10000, 0}}};
    EXPECT_EQ(Scores::write(buffer, groups), "CMD_scores+1+10000+0+2+9200+-800+3+10800+800+4+10000+0\xFF");
    const std::array<int, 0> none{};
    EXPECT_EQ(HandsUsed::write(buffer, 4, none), "CMD_handsused+4\xFF");
}

// Names and winner texts may hold "+"; the trailing plus tells where they end.
TEST(GameMessages, TextBeforeTheTrailingPlus)
{
    expectWire(StartGame{"A+B", "h"}, "CMD_startgame+A+B+h+");
    expectWire(StartGame{"+", "s"}, "CMD_startgame+++s+");
    expectWire(Winner{"A+B and C"}, "CMD_winner+A+B and C+");
    expectWire(Winner{""}, "CMD_winner++");
    expectRead("You+half+", StartGame{"You", "half"});
    expectRead("You+", StartGame{"You", ""});
    expectRead("+", StartGame{"", ""});
    // Without the trailing plus the fields are read strictly from the left.
    expectRead("You+h", StartGame{"You", ""});
    expectRead("A+B+h", StartGame{"A", "B"});
    expectRead("You", Winner{""});
    expectRead("A+B", Winner{"A"});
}

TEST(GameMessages, ReadingRows)
{
    expectRead("3+22+5+x+", PlaceCard{3, 22, 5, false});
    expectRead("3+22+5+T+", PlaceCard{3, 22, 5, false});
    expectRead("3+22+5+t+junk", PlaceCard{3, 22, 5, true});
    expectRead("2+3+true+t+", Took{2, 3, false, true});
    expectRead("1+3+9+", ChooseHand{1, 3});
    expectRead("1+3+", ChooseHand{1, 3});
    expectRead("2+", MyCards{2, {}});
    expectRead("2+1+3+", MyCards{2, {{1, 3}}});
    expectRead("3+", HandsUsed{3, {}});
    expectRead("", Scores{});
    expectRead("1+10000+0+", Scores{{{1, 10000, 0}}});
    expectRead("1+-10000+-0010", Scores{{{1, -10000, -10}}});
    expectRead("anything at all", StartHand{});
    expectRead("2+5+junk", PlayCard{2, 5});
}

TEST(GameMessages, MalformedRows)
{
    expectFieldError<PlayCard>("1+5", "");
    expectFieldError<PlayCard>("one+5+", "one");
    expectFieldError<PlayCard>("1+5.0+", "5.0");
    expectFieldError<ChooseType>("1+", "");
    expectFieldError<ChooseType>("+1+", "");
    expectFieldError<StartRound>("2+99999999999+", "99999999999");
    expectFieldError<NextPlayer>("", "");
    expectFieldError<NextPlayer>("2", "");
    expectFieldError<PlaceCard>("3+22+x+t+", "x");
    expectFieldError<Took>("2+king+f+f+", "king");
    expectFieldError<DPlaceCard>("2+1+4+3+5+7", "");
    expectFieldError<AError>("1+$5+", "$5");
    expectFieldError<MyCards>("", "");
    expectFieldError<MyCards>("2+1+3+4", "");
    expectFieldError<MyCards>("x+1+3", "x");
    expectFieldError<HandsUsed>("3+1+a", "a");
    expectFieldError<Scores>("1+10000", "");
    expectFieldError<Scores>("1+x+0", "x");
    expectFieldError<Scores>("1+10000+0+2+9200+-800+3+10800+800+4+10000+", "");
    expectFieldError<AGame>("5+3+s+2+4+5+0+3+0+0+12+0", "");
    expectFieldError<AGame>("5+3+2+4+5+0+3+0+0+12+0+", "");
}
