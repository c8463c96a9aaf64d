#include "artpicture.h"
#include "board.h"
#include "boarddisplay.h"
#include "cardplace.h"
#include "contractchooser.h"
#include "fakeclock.h"
#include "gamedisplay.h"
#include "gameengine.h"
#include "rounddisplay.h"
#include "tablerecorders.h"
#include "tablestate.h"
#include "watchedgame.h"

#include <QTextEdit>

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace morlu;

/// A board with its display, as the table window composes them, seated as Ann in seat 1.
struct SeatOne {
    SeatOne()
    {
        state.myseat = 1;
        state.myname = QStringLiteral("Ann");
        state.connected = true;
        display.take(CMD_sendlogininfo, "1");
        display.take(CMD_newplayerinfo, "1+Ann");
        board.setSeatName(1, QStringLiteral("Ann"));
        display.clearall();
        round.registerOn(commands);
        game.registerOn(commands);
    }

    /// What the board shows of the game: each seat's strip, the hand, the layout, the markers, the lines.
    QStringList seen() const
    {
        QStringList shown;
        const auto picture = [](const CardPlace* place) {
            return place->isVisibleTo(place->parentWidget()) ? QString::number(place->picture()) : QStringLiteral("-");
        };
        for (int seat = 1; seat <= kSeatCount; ++seat)
            shown << QStringLiteral("seat %1: %2 %3 %4 %5 eyes %6 card %7")
                         .arg(seat)
                         .arg(board.seatName(seat), board.scoreLabel(seat)->text(), board.bonusLabel(seat)->text(),
                              board.cardCountLabel(seat)->text())
                         .arg(board.eyes(seat)->isVisibleTo(&board))
                         .arg(picture(board.playedCard(seat)));
        for (int slot = 1; slot <= kHandSlots; ++slot)
            shown << QStringLiteral("hand %1: %2 slot %3")
                         .arg(slot)
                         .arg(picture(board.handPlace(slot)))
                         .arg(board.handPlace(slot)->isVisibleTo(&board) ? board.handPlace(slot)->slot() : 0);
        shown << QStringLiteral("domino %1").arg(board.dominoPanel()->isVisibleTo(&board));
        if (board.dominoPanel()->isVisibleTo(&board))
            for (int suit = 1; suit <= 4; ++suit)
                shown << QStringLiteral("suit %1: %2 %3")
                             .arg(suit)
                             .arg(board.foundation(suit)->picture())
                             .arg(board.dominoRank(suit)->text());
        for (const ArtPicture* marker :
             {board.directorMarker(), board.turnMarker(), board.leadMarker(), board.takerMarker()})
            shown << marker->objectName() + (marker->isVisibleTo(&board) ? QStringLiteral(" at %1").arg(marker->x())
                                                                         : QStringLiteral(" hidden"));
        const QList<const QLabel*> lines{board.statusLabel(), board.handTypeLabel(), board.rankLabel(),
                                         board.roundLabel(), board.gameTypeLabel()};
        for (const QLabel* label : lines)
            shown << label->objectName() + QLatin1Char(' ') + label->text();
        QString marks;
        for (int code = 1; code <= kContractCount; ++code)
            marks += board.chooser()->isMarked(code) ? QLatin1Char('x') : QLatin1Char('.');
        shown << QStringLiteral("marks ") + marks;
        shown << QStringLiteral("winner %1 %2").arg(board.winnerPanel()->isVisibleTo(&board)).arg(board.winnerText());
        shown << board.gameLog()->toPlainText();
        return shown;
    }

    Board board;
    TableState state;
    test::ChatRecorder chat;
    TableEvents events;
    BoardDisplay display{board, state, events};
    RoundDisplay round{display, chat, events};
    GameDisplay game{display, chat, events};
    Dispatcher<> commands;
};

// The board drawn at once from a model that was fed a game's lines shows what the board drawn line by
// line shows: whenever a seat is on turn, and at the end. A replay rebuilds the model and draws once.
TEST(BoardRedraw, DrawsFromTheModelWhatTheLinesDrewOneByOne)
{
    for (const std::uint32_t seed : {7u, 42u}) {
        SCOPED_TRACE(seed);
        SeatOne lineByLine;
        SeatOne redrawn;
        int compared = 0;
        test::SlotOneOutbox outbox([&](std::string_view line) {
            lineByLine.commands.dispatch(line);
            redrawn.display.model().setMyslot(1);
            redrawn.display.model().apply(line);
            if (line.rfind(CMD_nextplayer, 0) != 0 && line.rfind(CMD_winner, 0) != 0)
                return;
            redrawn.display.redraw();
            ASSERT_EQ(redrawn.seen(), lineByLine.seen()) << "after " << line;
            ++compared;
        });
        test::FakeClock clock;
        Random random(seed);
        GameEngine engine(outbox, clock, random);
        test::startWatchedGame(engine, clock, "s");
        for (int steps = 0; clock.fireNext() && steps < 200000; ++steps) {
            if (::testing::Test::HasFatalFailure())
                return;
        }
        EXPECT_FALSE(engine.gamerunning());
        EXPECT_GT(compared, 50);
    }
}

} // namespace
