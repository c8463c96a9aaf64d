#pragma once

#include <QString>

#include <cstdint>
#include <string_view>

/**
 * What the board's handlers and the player's input ask of the rest of the table window. The window
 * (Tchat) implements it; tests implement it with a recorder. Every text the board writes to the chat
 * goes through addlinetochat, every sound through playsounds, every request to the host through
 * sendline, so the board never reaches into chat, sound, tally or socket code.
 */
class TableServices {
public:
    virtual ~TableServices() = default;

    /// Adds a chat line: style number, "+", text ("0+You are Connected." for a system line), drawn in
    /// @p colour, a 0x00BBGGRR value.
    virtual void addlinetochat(const QString& line, std::uint32_t colour) = 0;
    /// Asks for a game-event sound by its lower-case name ("placecard", "turn", ...).
    virtual void playsounds(const QString& name) = 0;
    /// Records a finished game in the tally: the winner text, or the literal "addtomine".
    virtual void addgame(const QString& winner) = 0;
    /// Sends one complete line (0xFF included) to the host over the table's connection.
    virtual void sendline(std::string_view line) = 0;
    /// Sets or removes the check mark of the "Just Watch" menu item.
    virtual void setJustWatchChecked(bool checked) = 0;
    /// Opens the game length chooser (the host's start button and "Start Game").
    virtual void showGameStart() = 0;
    /// Shows a message box with @p text (through the window's pre-answerable message seam).
    virtual void showMessage(const QString& text) = 0;
    /// 1 when the "New" turn sound is chosen, else 0.
    virtual int chosenturnsound() const = 0;
    /// The colour of system lines (blue, 0xFF0000).
    virtual std::uint32_t systemcolor() const { return 0xFF0000; }
};
