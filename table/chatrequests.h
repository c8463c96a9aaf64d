#pragma once

#include "phrasecooldown.h"

#include <QString>

#include <cstdint>
#include <string>

class HostRequests;
struct TableState;

/**
 * What the chat pane asks of the host: typed lines (`sendit`, CMD_chat or, after "/me", CMD_action),
 * phrase buttons (CMD_action, with the two-second cooldown) and chatter sounds (CMD_playasound). Each
 * carries the table's seat and, for text, the player's text colour as color text; a text too long for
 * one line the host reads is cut to fit. Nothing is drawn here: a line shows when the host's relay
 * comes back.
 */
class ChatRequests {
public:
    ChatRequests(const TableState& state, HostRequests& host, PhraseCooldown::Clock now = {});

    /** The player's text colour (0x00BBGGRR), sent with every chat and action. */
    void setTextColour(std::uint32_t colour) { m_colour = colour; }
    std::uint32_t textColour() const { return m_colour; }

    /**
     * Enter in the entry holding @p text. False when the table is not connected yet (nothing is sent
     * and the entry keeps its text); true when the entry is to be emptied.
     */
    bool sendit(const QString& text);
    /** A phrase button with the phrase @p hint; ignored within two seconds of the last one. */
    void b_phrase1Click(const QString& hint);
    /** Chatter sound item @p number (0 is "<Cancel>"); sent only by a connected, seated player: true when sent. */
    bool wave20Click(int number);

    bool phraseready() const { return m_cooldown.ready(); }

private:
    void sendText(bool action, const QString& text);

    const TableState& m_state;
    HostRequests& m_host;
    PhraseCooldown m_cooldown;
    std::uint32_t m_colour = 0;
    std::string m_line;
};
