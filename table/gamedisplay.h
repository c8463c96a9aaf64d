#pragma once

#include "playerinput.h"
#include "rounddisplay.h"

/**
 * The table's whole game display: the handlers of every game message by their command's operation
 * name, for the window's dispatch table, and the player's input on the board.
 *
 * The window builds one beside its Board and calls e.g. display.placecard(rest) with the rest of a
 * CMD_placecard line. Handlers throw morlu::FieldError on a malformed numeric field and then change
 * nothing; the dispatcher catches and logs it. The handlers of the opening messages and the shared
 * display operations come from RoundDisplay; the trick, money and game-end handlers are here.
 */
class GameDisplay : public RoundDisplay {
public:
    GameDisplay(Board& board, TableState& state, TableServices& services);

    // Handlers, by command: CMD_starthand, CMD_placecard, CMD_dplacecard, CMD_endhand, CMD_took,
    // CMD_scores, CMD_dendhand, CMD_aerror, CMD_agame, CMD_winner.
    void starthand(std::string_view rest);
    void placecard(std::string_view rest);
    void dplacecard(std::string_view rest);
    void endhand(std::string_view rest);
    void took(std::string_view rest);
    void scores(std::string_view rest);
    void dendhand(std::string_view rest);
    void aerror(std::string_view rest);
    void agame(std::string_view rest);
    void winner(std::string_view rest);

    /// The player's input on the board (card clicks, contract choice, panels, start button, logo).
    PlayerInput& input() { return m_input; }
    /// Menu "Quick Instructions" and Ctrl+I.
    void QuickInstructions1Click() { m_input.QuickInstructions1Click(); }
    /// The start button and the menu item "Start Game".
    void button_startClick() { m_input.button_startClick(); }

private:
    PlayerInput m_input;
};
