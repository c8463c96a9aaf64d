#pragma once

#include "board.h"
#include "boarddisplay.h"
#include "cards.h"
#include "commands.h"
#include "contractchooser.h"
#include "dispatcher.h"
#include "gamedisplay.h"
#include "playerinput.h"
#include "rounddisplay.h"
#include "tablerecorders.h"
#include "tablestate.h"

#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morlu::test {

/// A board with its display handlers and input, registered on one dispatch table, seated as the player "You" at seat 1
/// of a connected solo table.
class TableFixture : public ::testing::Test {
protected:
    TableFixture()
    {
        state.myseat = 1;
        state.myname = QStringLiteral("You");
        state.connected = true;
        state.ishost = true;
        board.setSeatName(1, QStringLiteral("You"));
        display.take(morlu::CMD_newplayerinfo, "1+You");
        round.registerOn(commands);
        game.registerOn(commands);
    }

    template <typename T = QWidget> T* find(const char* name) const
    {
        T* widget = board.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString textOf(const char* name) const { return find<QLabel>(name)->text(); }
    /// Shown as far as the board is concerned (the board itself need not be on screen).
    bool shown(const char* name) const { return find(name)->isVisibleTo(&board); }
    QStringList logLines() const { return board.gameLog()->toPlainText().split(QLatin1Char('\n')); }
    QString lastLog() const { return logLines().constLast(); }
    /// The contracts marked used in the chooser.
    std::vector<int> marks() const
    {
        std::vector<int> shown;
        for (int code = 1; code <= morlu::kContractCount; ++code)
            if (board.chooser()->isMarked(code))
                shown.push_back(code);
        return shown;
    }
    QStringList errorLines() const { return board.errorList()->toPlainText().split(QLatin1Char('\n')); }

    /// Everything a handler can change: every element's place, visibility and content, the table state,
    /// the chat lines, the events and the lines sent.
    QStringList snapshot() const
    {
        QStringList lines;
        for (const QWidget* widget : board.findChildren<QWidget*>()) {
            QString line = widget->objectName() + QLatin1Char(' ') + (widget->isHidden() ? "hidden " : "shown ") +
                           QString::number(widget->x()) + QLatin1Char(',') + QString::number(widget->y());
            if (const auto* label = qobject_cast<const QLabel*>(widget))
                line += QLatin1Char(' ') + label->text();
            if (const auto* memo = qobject_cast<const QTextEdit*>(widget))
                line += QLatin1Char(' ') + memo->toPlainText();
            for (const char* property : {"slot", "cardCode", "picture"})
                if (widget->property(property).isValid())
                    line += QLatin1Char(' ') + widget->property(property).toString();
            lines << line;
        }
        lines << QStringLiteral("state %1 %2 %3")
                     .arg(display.model().turn())
                     .arg(display.model().chooser())
                     .arg(state.myseat);
        lines << QStringLiteral("calls %1 %2 %3 %4 %5")
                     .arg(chat.lines.size())
                     .arg(heard.sounds.size())
                     .arg(heard.games.size())
                     .arg(host.sent.size())
                     .arg(heard.justWatch.size());
        return lines;
    }

    /// A game start, a round directed by @p director and a dealt hand: the state most handlers meet.
    void openRound(int director, const char* length = "l")
    {
        round.startthegame(std::string("You+") + length + "+");
        round.startround(std::to_string(director) + "+1+");
        round.mycards("1+1+2+2+5+3+9+4+12+5+18+6+22+7+27+8+31");
    }

    Board board;
    TableState state;
    ChatRecorder chat;
    HostRecorder host;
    DialogRecorder dialogs;
    TableEvents events;
    EventRecorder heard{events};
    BoardDisplay display{board, state, events};
    RoundDisplay round{display, chat, events};
    GameDisplay game{display, chat, events};
    PlayerInput input{board, state, display.model(), host, dialogs, events};
    morlu::Dispatcher<> commands;
};

} // namespace morlu::test
