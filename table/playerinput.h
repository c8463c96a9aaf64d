#pragma once

#include <QObject>
#include <QUrl>

#include <functional>

class Board;
class CardPlace;
class HostRequests;
class TableDialogs;
class TableEvents;
class TableModel;
struct TableState;

/**
 * What the player does on the board: play a card, choose a contract, dismiss the error panel, open
 * and close the quick instructions, start a game and open the game's web page. It connects itself to
 * the board's signals; the window also calls QuickInstructions1Click (Ctrl+I, menu),
 * button_startClick (menu "Start Game") and gamestartChosen (the game length chooser).
 *
 * The table never judges a card or a contract: during the own turn it sends every click and leaves
 * the verdict to the host. Cards, contracts and game starts go out as the player's moves
 * (HostRequests::sendRequest), which the connection holds back while the table is not seated.
 */
class PlayerInput : public QObject {
    Q_OBJECT

public:
    /** @p model: what the host has said, which decides whose turn and whose choice it is. */
    PlayerInput(Board& board, TableState& state, const TableModel& model, HostRequests& host, TableDialogs& dialogs,
                TableEvents& events);

    /**
     * A hand place was clicked: CMD_playcard with the place's slot during the own turn; nothing in the pause
     * after a trick's fourth card, while the host still names the seat that laid it.
     */
    void card_1Click(CardPlace* place);
    /**
     * A mouse button was released over contract entry @p code: CMD_choosetype when it may be chosen, with
     * a click; a choice the connection drops (HostRequests::sendRequest) neither clicks nor closes the choice.
     */
    void label_city1MouseUp(int code);
    /** The error panel's OK. */
    void Image7Click();
    void QuickInstructions1Click();
    /** The instructions panel's OK. */
    void Image10Click();
    /** START and "Start Game": the game length chooser; during a game only after the player confirms. */
    void button_startClick();
    /** The game length chooser's start: CMD_startgame with the player's name and length @p letter. */
    void gamestartChosen(const QString& letter);
    /** The logo: opens the project's page, when there is one. */
    void Image1Click();

    /**
     * The project's page: the address the build was configured with (-DMORLU_HOMEPAGE=https://...), or
     * none. Without a page the logo is only a picture: no pointing hand, and a click opens nothing.
     */
    static QUrl configuredWebPage();
    /// Sets the page the logo opens; anything but an http(s) address means none.
    void setWebPage(const QUrl& page);
    QUrl webPage() const { return m_webPage; }
    /// Replaces the way a web page is opened (QDesktopServices::openUrl by default); for tests.
    void setUrlOpener(std::function<void(const QUrl&)> opener) { m_openUrl = std::move(opener); }

private:
    Board& m_board;
    TableState& m_state;
    const TableModel& m_model;
    /// A contract was sent for the pending choice; the host's next word on the game opens it again.
    bool m_choiceSent = false;
    HostRequests& m_host;
    TableDialogs& m_dialogs;
    TableEvents& m_events;
    std::function<void(const QUrl&)> m_openUrl;
    QUrl m_webPage;
};
