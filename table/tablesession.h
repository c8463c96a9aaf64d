#pragma once

#include "dispatcher.h"

#include <QStringList>

#include <functional>
#include <string_view>

class Board;
class ChatSink;
class HostRequests;
class TableEvents;
struct TableState;

/**
 * Logging in and the comings and goings at the table: the handlers of CMD_sendlogininfo,
 * CMD_newplayerinfo / CMD_existingplayers, CMD_playerdisconnected and the two version warnings, with
 * the system lines they write, the seat labels they set and the list of spectators.
 *
 * A table that may come back after a dropped connection (any but the host player's own) asks for its
 * seat key after each login and keeps it (CMD_seatkey). On a new connection after a drop
 * (TableState::rejoining) it answers the first slot offer with CMD_rejoin and the key; the host then
 * offers its old slot, or the same slot again, and the table logs in to what it is offered. A login
 * after an earlier one starts the seat labels and the spectator list afresh: the host announces
 * everybody again. The departure of the table's own slot, which the host sends when it closes the old
 * connection of a table that came back before the host noticed, is not shown: the player is back.
 *
 * When the host player removes a table, a host that gave this table its key says so first
 * (CMD_playerremoved): the CMD_playerdisconnected of that slot which follows is then shown as a removal
 * ("NAME has been removed from the game.") instead of a drop. The host player's own table asks for no
 * key, so no host says so to it: it remembers the removal it asked for (removalAsked()) and reads the
 * departure of that slot the same way; an arrival in that slot first forgets it.
 *
 * Handlers take the rest of their line after "CMD_word+" and throw morlu::FieldError, before changing
 * anything, when the slot is no integer.
 */
class TableSession {
public:
    TableSession(Board& board, TableState& state, ChatSink& chat, HostRequests& host, TableEvents& events);
    TableSession(const TableSession&) = delete;
    TableSession& operator=(const TableSession&) = delete;

    /** Registers every handler below under its command word. */
    void registerOn(morlu::Dispatcher<>& dispatcher);

    /** Called when the host announces this table's own seat: reads the settings. */
    void setLoadIniFile(std::function<void()> load) { m_loadinifile = std::move(load); }
    /** The computer players' delay the hosting table tells the host at every arrival. */
    void setBotSpeed(std::function<int()> speed) { m_chosenbotspeed = std::move(speed); }
    /** Called with each seat key the host gives, to keep it beyond this program (a crash, a restart). */
    void setKeyKeeper(std::function<void(const std::string&)> keep) { m_keepkey = std::move(keep); }

    /** CMD_sendlogininfo: takes the slot, marks the table connected and answers with CMD_logininfo. */
    void sendloginfo(std::string_view rest);
    /** CMD_newplayerinfo and CMD_existingplayers: somebody (perhaps this table) has arrived. */
    void newplayerinfo(std::string_view rest);
    /** CMD_playerdisconnected: somebody has left; a seat goes back to its computer player. */
    void playerdisconnected(std::string_view rest);
    /** CMD_havewrongversion: a newcomer (the rest is his name) has another version than this table. */
    void havewrongversion(std::string_view rest);
    /** CMD_wrongversion: this table has another version than the host. */
    void wrongversion(std::string_view rest);
    /** CMD_seatkey: the key that brings this table back to its slot. */
    void seatkey(std::string_view rest);
    /** CMD_playerremoved: the departure of that slot that follows is a removal. */
    void playerremoved(std::string_view rest);
    /** This table (the host player's) has asked the host to remove @p slot: its departure is a removal. */
    void removalAsked(int slot) { m_removedslot = slot; }

    /** The spectators, one entry "slot: name" each, in order of arrival. */
    const QStringList& spys() const { return m_spys; }

private:
    /// Before a second login: the seats go back to their computer names and the spectators are forgotten.
    void forgetArrivals();

    Board& m_board;
    TableState& m_state;
    ChatSink& m_chat;
    HostRequests& m_host;
    TableEvents& m_events;
    QStringList m_spys;
    int m_removedslot = 0; ///< the slot whose next departure is a removal; 0 for none
    std::function<void()> m_loadinifile;
    std::function<void(const std::string&)> m_keepkey;
    std::function<int()> m_chosenbotspeed;
};
