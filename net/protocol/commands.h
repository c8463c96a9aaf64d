#pragma once

#include "linebuilder.h"

#include <string>
#include <string_view>

namespace morlu {

// Command words of every message, host and table alike. A line is the word, "+", the fields and 0xFF.

// Session and chat.
inline constexpr std::string_view CMD_sendlogininfo = "CMD_sendlogininfo";
inline constexpr std::string_view CMD_full = "CMD_full";
inline constexpr std::string_view CMD_logininfo = "CMD_logininfo";
inline constexpr std::string_view CMD_newplayerinfo = "CMD_newplayerinfo";
inline constexpr std::string_view CMD_existingplayers = "CMD_existingplayers";
inline constexpr std::string_view CMD_havewrongversion = "CMD_havewrongversion";
inline constexpr std::string_view CMD_wrongversion = "CMD_wrongversion";
inline constexpr std::string_view CMD_playerdisconnected = "CMD_playerdisconnected";
inline constexpr std::string_view CMD_kickhim = "CMD_kickhim";
inline constexpr std::string_view CMD_justwatch = "CMD_justwatch";
inline constexpr std::string_view CMD_justwatching = "CMD_justwatching";
inline constexpr std::string_view CMD_chat = "CMD_chat";
inline constexpr std::string_view CMD_action = "CMD_action";
inline constexpr std::string_view CMD_playasound = "CMD_playasound";
inline constexpr std::string_view CMD_botspeed = "CMD_botspeed";
inline constexpr std::string_view CMD_botlevel = "CMD_botlevel";
// Coming back after a dropped connection: sent only between a table and a host that both know them.
inline constexpr std::string_view CMD_seatkey = "CMD_seatkey";
inline constexpr std::string_view CMD_rejoin = "CMD_rejoin";
inline constexpr std::string_view CMD_removed = "CMD_removed";
inline constexpr std::string_view CMD_hostclosing = "CMD_hostclosing";
inline constexpr std::string_view CMD_playerremoved = "CMD_playerremoved";
inline constexpr std::string_view CMD_handover = "CMD_handover";
inline constexpr std::string_view CMD_dlayout = "CMD_dlayout";
// Hints: asked by a table, allowed by the host player.
inline constexpr std::string_view CMD_allowhints = "CMD_allowhints";
inline constexpr std::string_view CMD_hint = "CMD_hint";

// Game.
inline constexpr std::string_view CMD_startgame = "CMD_startgame";
inline constexpr std::string_view CMD_choosetype = "CMD_choosetype";
inline constexpr std::string_view CMD_playcard = "CMD_playcard";
inline constexpr std::string_view CMD_startround = "CMD_startround";
inline constexpr std::string_view CMD_mycards = "CMD_mycards";
inline constexpr std::string_view CMD_choosehand = "CMD_choosehand";
inline constexpr std::string_view CMD_alreadychoose = "CMD_alreadychoose";
inline constexpr std::string_view CMD_starthand = "CMD_starthand";
inline constexpr std::string_view CMD_nextplayer = "CMD_nextplayer";
inline constexpr std::string_view CMD_placecard = "CMD_placecard";
inline constexpr std::string_view CMD_dplacecard = "CMD_dplacecard";
inline constexpr std::string_view CMD_aerror = "CMD_aerror";
inline constexpr std::string_view CMD_endhand = "CMD_endhand";
inline constexpr std::string_view CMD_dendhand = "CMD_dendhand";
inline constexpr std::string_view CMD_took = "CMD_took";
inline constexpr std::string_view CMD_scores = "CMD_scores";
inline constexpr std::string_view CMD_handsused = "CMD_handsused";
inline constexpr std::string_view CMD_agame = "CMD_agame";
inline constexpr std::string_view CMD_winner = "CMD_winner";

/**
 * A message without fields: the word, "+" and the 0xFF ("CMD_full+", "CMD_wrongversion+",
 * "CMD_starthand+"). Whatever follows the "+" on receipt is ignored.
 */
template <const std::string_view& Word> struct EmptyMessage {
    static constexpr std::string_view command = Word;

    std::string_view write(std::string& buffer) const { return LineBuilder(buffer, command).finish(); }
    static EmptyMessage read(std::string_view) { return {}; }
    bool operator==(const EmptyMessage&) const = default;
};

/// Any message struct as a fresh string, 0xFF included; for tests and rare lines (allocates).
template <typename Message> std::string toLine(const Message& message)
{
    std::string line;
    message.write(line);
    return line;
}

} // namespace morlu
