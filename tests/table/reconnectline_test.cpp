#include "reconnectline.h"

#include "artpicture.h"
#include "board.h"
#include "cardplace.h"
#include "contractchooser.h"
#include "fitlabel.h"
#include "hintrequester.h"
#include "printers.h"
#include "tableconnection.h"
#include "tchatfixture.h"
#include "tgamestart.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <ostream>
#include <string>

using namespace morlu::test;

namespace {

/// The seat whose played card the turn marker stands beside; 0 while it is hidden.
int turnSeat(Board& board)
{
    const ArtPicture* marker = board.turnMarker();
    if (!marker->isVisibleTo(&board))
        return 0;
    int seat = 0;
    for (int n = 1; n <= 4; ++n) {
        const int gap = board.playedCard(n)->x() - marker->x();
        if (gap > 0 && (seat == 0 || gap < board.playedCard(seat)->x() - marker->x()))
            seat = n;
    }
    return seat;
}

/// The seat a screen reader hears described as on turn; 0 for none.
int describedOnTurn(Board& board)
{
    int seat = 0;
    for (int n = 1; n <= 4; ++n)
        if (board.nameLabel(n)->accessibleName().contains(QStringLiteral(", on turn")))
            seat = seat == 0 ? n : -1;
    return seat;
}

/// Hand slots whose card is dimmed as one the host would refuse.
QList<int> dimmedSlots(Board& board)
{
    QList<int> dimmed;
    for (int slot = 1; slot <= 8; ++slot)
        if (board.handPlace(slot)->isDimmed())
            dimmed << slot;
    return dimmed;
}

/// Hand slots judged at all (playable or not); none while it is not the player's turn.
int judgedCards(Board& board)
{
    int judged = 0;
    for (int slot = 1; slot <= 8; ++slot)
        judged += board.handPlace(slot)->playable() != CardPlace::Playable::Unknown ? 1 : 0;
    return judged;
}

/// The own hand in seat 2: a Diamond, a Club, a Heart and a Spade in slots 1 to 4.
const QString kHand = QStringLiteral("CMD_mycards+2+1+3+2+12+3+20+4+27+");
const QString kScores = QStringLiteral("CMD_scores+1+10000+0+2+10000+0+3+10000+0+4+10000+0+");

/// What the host says at a login while a game runs, with the game given by @p agame (seat 2's view).
QStringList catchUp(const char* agame)
{
    return {QStringLiteral("CMD_agame+2+") + QString::fromLatin1(agame), kScores, QStringLiteral("CMD_handsused+2+"),
            kHand};
}

struct PhaseRow {
    const char* name;
    const char* before; ///< the catch-up fields of the game when the connection is lost; none: no game
    const char* hint;   ///< the host's hint answer before the loss, if any
    const char* after;  ///< the catch-up fields when the table is back; none: no game any more
    const char* status;
    int turnSeat;      ///< where the turn marker stands; 0 hidden
    bool chooserShown; ///< the contract chooser is in front
    QList<int> dimmed; ///< cards the host would refuse, dimmed
    const char* click; ///< what a click on the card in slot 2 sends; nullptr: not tried
};

void PrintTo(const PhaseRow& row, std::ostream* os)
{
    *os << row.name;
}

class ReconnectLineTest : public TchatSession, public ::testing::WithParamInterface<PhaseRow> {};

// While the table reconnects, its turn line says so, nothing on the board invites a move the host cannot
// receive and a screen reader hears of nobody on turn; once the host has seated it again and caught it up,
// the line, the turn marker, the seats' names, the chooser and the playable cards show the game as the
// host has it, whatever phase it is in.
TEST_P(ReconnectLineTest, TheTurnLineSaysReconnectingThenShowsTheGameTheHostCatchesUp)
{
    const PhaseRow& row = GetParam();
    const auto seated = [&](const char* game) {
        QStringList lines{QStringLiteral("CMD_sendlogininfo+2"), QStringLiteral("CMD_newplayerinfo+2+Ann")};
        if (game)
            lines << catchUp(game);
        hostSays(lines);
    };
    seated(row.before);
    if (row.hint)
        hostSays({QString::fromLatin1(row.hint)});
    Board& board = table->board();

    host.close();
    ASSERT_TRUE(waitUntil([&] { return table->connection().reconnecting() && host.hasTable(); }, kWait));
    EXPECT_EQ(board.statusLabel()->text(), QStringLiteral("Reconnecting to the host..."));
    EXPECT_EQ(turnSeat(board), 0);
    EXPECT_EQ(describedOnTurn(board), 0);
    EXPECT_FALSE(board.chooser()->isVisibleTo(&board));
    EXPECT_EQ(judgedCards(board), 0);
    EXPECT_EQ(table->hints().ringedSlot() + table->hints().ringedContract(), 0);
    EXPECT_FALSE(table->hints().mayAsk());

    // The host speaks on the new connection; the table is not seated yet.
    hostSays({QStringLiteral("CMD_sendlogininfo+2")});
    EXPECT_EQ(board.statusLabel()->text(), QStringLiteral("Reconnecting to the host..."));
    EXPECT_EQ(judgedCards(board), 0);

    hostSays({QStringLiteral("CMD_newplayerinfo+2+Ann")});
    if (row.after)
        hostSays(catchUp(row.after));
    EXPECT_EQ(board.statusLabel()->text(), QString::fromLatin1(row.status));
    EXPECT_EQ(turnSeat(board), row.turnSeat);
    EXPECT_EQ(describedOnTurn(board), row.turnSeat);
    EXPECT_EQ(board.chooser()->isVisibleTo(&board), row.chooserShown);
    EXPECT_EQ(dimmedSlots(board), row.dimmed);
    if (row.click) {
        const qsizetype before = sent.lines().size();
        QTest::mouseClick(board.handPlace(2), Qt::LeftButton);
        EXPECT_EQ(sent.lines().mid(before).join(QLatin1Char(' ')), QString::fromLatin1(row.click));
    }
}

// Seat 2 in a long game. Its own trick round: seat 1 led the Club 10 and seat 2 must follow with its
// Club (slot 2). "slot+round+length+director+turn+contract+dominostart+leader+card1..card4+".
constexpr const char* kOwnTurn = "2+l+2+2+3+0+1+10+0+0+0+";

INSTANTIATE_TEST_SUITE_P(
    Phases, ReconnectLineTest,
    ::testing::Values(
        PhaseRow{"another seat's turn",
                 "2+l+2+3+3+0+1+10+11+0+0+",
                 nullptr,
                 "2+l+2+3+3+0+1+10+11+0+0+",
                 "Klock's turn.",
                 3,
                 false,
                 {},
                 ""},
        PhaseRow{"the own turn",
                 kOwnTurn,
                 "CMD_hint+2+2+",
                 kOwnTurn,
                 "Your Turn.",
                 2,
                 false,
                 {1, 3, 4},
                 "CMD_playcard+2+2+"},
        PhaseRow{"the own seat chooses a contract",
                 "2+l+1+0+0+0+0+0+0+0+0+",
                 "CMD_hint+2+0+5+",
                 "2+l+1+0+0+0+0+0+0+0+0+",
                 "Choose a CONTRACT.",
                 0,
                 true,
                 {},
                 ""},
        PhaseRow{"another seat chooses a contract",
                 "3+l+2+0+0+0+0+0+0+0+0+",
                 nullptr,
                 "3+l+2+0+0+0+0+0+0+0+0+",
                 "Klock is choosing a CONTRACT.",
                 0,
                 false,
                 {},
                 ""},
        // Seat 1 took the trick: the host names no seat on turn until the next one opens.
        PhaseRow{"the pause between tricks",
                 kOwnTurn,
                 nullptr,
                 "2+l+2+0+3+0+2+10+9+14+15+",
                 "One Moment Please..",
                 0,
                 false,
                 {},
                 ""},
        // The round's last trick: the host still names the seat that played the fourth card, this one.
        PhaseRow{"the pause between rounds",
                 kOwnTurn,
                 nullptr,
                 "2+l+2+2+3+0+3+10+9+14+15+",
                 "One Moment Please..",
                 0,
                 false,
                 {},
                 ""},
        PhaseRow{"no game", nullptr, nullptr, nullptr, "", 0, false, {}, ""},
        PhaseRow{"the game ended while the table was away", kOwnTurn, "CMD_hint+2+2+", nullptr, "", 0, false, {}, ""}),
    [](const ::testing::TestParamInfo<PhaseRow>& info) {
        std::string name;
        for (const char* c = info.param.name; *c; ++c)
            if (std::isalnum(static_cast<unsigned char>(*c)))
                name += *c;
        return name;
    });

class UnseatedMovesTest : public TchatSession {};

// From the loss of the host until it has seated the table again, no move the player makes on the board
// goes out, also on the new connection before the host has spoken, where the table still knows the
// turn it had; the table's own login lines go out at once, and the first dropped move
// says so. Once seated and caught up, the same move goes out.
TEST_F(UnseatedMovesTest, NoMoveGoesOutBetweenTheNewConnectionAndTheSeat)
{
    Board& board = table->board();
    struct Row {
        const char* name;
        const char* game; ///< the catch-up fields, before the loss and after the seat
        std::function<void()> act;
        QString line; ///< what the move sends once seated
    };
    const Row rows[] = {
        {"a card clicked on the own turn", kOwnTurn, [&] { QTest::mouseClick(board.handPlace(2), Qt::LeftButton); },
         QStringLiteral("CMD_playcard+2+2+")},
        {"a card key on the own turn", kOwnTurn, [&] { QTest::keyClick(&board, Qt::Key_2); },
         QStringLiteral("CMD_playcard+2+2+")},
        {"a game started", kOwnTurn, [&] { emit table->gamestart().startRequested(QStringLiteral("s")); },
         QStringLiteral("CMD_startgame+Ann+s+")},
    };
    login(2);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        hostSays(catchUp(row.game));
        host.close();
        ASSERT_TRUE(waitUntil(
            [&] { return table->connection().reconnecting() && host.hasTable() && table->connection().canSend(); },
            kWait));
        const qsizetype before = sent.lines().size();
        const qsizetype told = chatLines(*table).count(QStringLiteral("Not sent while reconnecting to the host."));
        row.act();
        hostSays({QStringLiteral("CMD_sendlogininfo+2")});
        row.act();
        const QStringList meanwhile = sent.lines().mid(before);
        ASSERT_EQ(meanwhile.size(), 2) << meanwhile.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(meanwhile.at(0).startsWith(QStringLiteral("CMD_logininfo+2+")));
        EXPECT_EQ(meanwhile.at(1), QStringLiteral("CMD_seatkey+2+"));
        EXPECT_EQ(chatLines(*table).count(QStringLiteral("Not sent while reconnecting to the host.")), told + 1);

        hostSays(QStringList{QStringLiteral("CMD_newplayerinfo+2+Ann")} + catchUp(row.game));
        row.act();
        EXPECT_EQ(sent.lines().constLast(), row.line);
    }
}

} // namespace
