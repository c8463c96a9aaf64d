#pragma once

#include "board.h"
#include "gamedisplay.h"
#include "tableservices.h"
#include "tablestate.h"

#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace morlu::test {

/// Records every call the board makes on the window.
class RecordingServices : public TableServices {
public:
    std::vector<std::pair<QString, std::uint32_t>> chat;
    QStringList sounds;
    QStringList games;
    std::vector<std::string> sent;
    std::vector<bool> justWatch;
    int gameStarts = 0;
    QStringList messages;
    int turnSound = 0;

    void addlinetochat(const QString& line, std::uint32_t colour) override { chat.emplace_back(line, colour); }
    void playsounds(const QString& name) override { sounds << name; }
    void addgame(const QString& winner) override { games << winner; }
    void sendline(std::string_view line) override { sent.emplace_back(line); }
    void setJustWatchChecked(bool checked) override { justWatch.push_back(checked); }
    void showGameStart() override { ++gameStarts; }
    void showMessage(const QString& text) override { messages << text; }
    int chosenturnsound() const override { return turnSound; }

    QStringList chatLines() const
    {
        QStringList lines;
        for (const auto& [line, colour] : chat)
            lines << line;
        return lines;
    }
};

/// A board with its display and input, seated as the player "You" at seat 1 of a connected solo table.
class TableFixture : public ::testing::Test {
protected:
    TableFixture()
    {
        state.myseat = 1;
        state.myname = QStringLiteral("You");
        state.connected = true;
        state.ishost = true;
        board.setSeatName(1, QStringLiteral("You"));
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
    QStringList errorLines() const { return board.errorList()->toPlainText().split(QLatin1Char('\n')); }

    /// Everything a handler can change: every element's place, visibility and content, the table state
    /// and the calls made on the window.
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
        lines << QStringLiteral("state %1 %2 %3 %4 %5 %6")
                     .arg(state.turnseat)
                     .arg(state.directorseat)
                     .arg(state.chooserseat)
                     .arg(state.contracttotal)
                     .arg(state.contractnumber)
                     .arg(state.myseat);
        lines << QStringLiteral("calls %1 %2 %3 %4 %5")
                     .arg(services.chat.size())
                     .arg(services.sounds.size())
                     .arg(services.games.size())
                     .arg(services.sent.size())
                     .arg(services.justWatch.size());
        return lines;
    }

    /// A game start, a round directed by @p director and a dealt hand: the state most handlers meet.
    void openRound(int director, const char* length = "l")
    {
        display.startthegame(std::string("You+") + length + "+");
        display.startround(std::to_string(director) + "+1+");
        display.mycards("1+1+2+2+5+3+9+4+12+5+18+6+22+7+27+8+31");
    }

    Board board;
    TableState state;
    RecordingServices services;
    GameDisplay display{board, state, services};
};

} // namespace morlu::test
