#pragma once

#include "commands.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace morlu {

// Layouts of the session and chat messages: logging in, arrivals and departures, removal, watching,
// chat, actions, chatter sounds and the computer players' speed and level.
//
// Every message is a struct with its fields and two functions:
//   - write(buffer): clears the caller's buffer, writes the whole line into it, 0xFF included, and
//     returns a view of it. No allocation once the buffer has grown to the size of the line.
//   - read(rest): reads the rest of a received line (after "CMD_word+") field by field from the left,
//     the way the receiving side reads it. A numeric field that is missing or not a decimal integer
//     throws FieldError. Text fields are views into @p rest and live as long as it does.
// A "(rest)" below marks a last field that is the whole rest of the line and may contain "+".

/// host -> new table: "slot", no trailing plus. The table takes the whole rest as its slot.
struct SendLoginInfo {
    static constexpr std::string_view command = CMD_sendlogininfo;
    int slot = 0;

    std::string_view write(std::string& buffer) const;
    static SendLoginInfo read(std::string_view rest);
    bool operator==(const SendLoginInfo&) const = default;
};

/// host -> a tenth table, which it then drops: exactly "CMD_full+".
using Full = EmptyMessage<CMD_full>;
/// host -> newcomer whose version text differs: exactly "CMD_wrongversion+".
using WrongVersion = EmptyMessage<CMD_wrongversion>;

/// table -> host: "slot+version+name(rest)".
struct LoginInfo {
    static constexpr std::string_view command = CMD_logininfo;
    int slot = 0;
    std::string_view version;
    std::string_view name;

    std::string_view write(std::string& buffer) const;
    static LoginInfo read(std::string_view rest);
    bool operator==(const LoginInfo&) const = default;
};

/// "slot+name(rest)": CMD_newplayerinfo, CMD_existingplayers, CMD_playerdisconnected.
template <const std::string_view& Word> struct SlotNameMessage {
    static constexpr std::string_view command = Word;
    int slot = 0;
    std::string_view name;

    std::string_view write(std::string& buffer) const;
    static SlotNameMessage read(std::string_view rest);
    bool operator==(const SlotNameMessage&) const = default;
};
/// host -> all after a login, the newcomer included.
using NewPlayerInfo = SlotNameMessage<CMD_newplayerinfo>;
/// host -> newcomer, once per other slot in use.
using ExistingPlayers = SlotNameMessage<CMD_existingplayers>;
/// host -> all others when a connection closes.
using PlayerDisconnected = SlotNameMessage<CMD_playerdisconnected>;

/// host -> slot 1: "name(rest)", the newcomer whose version differs.
struct HaveWrongVersion {
    static constexpr std::string_view command = CMD_havewrongversion;
    std::string_view name;

    std::string_view write(std::string& buffer) const;
    static HaveWrongVersion read(std::string_view rest);
    bool operator==(const HaveWrongVersion&) const = default;
};

/// table -> host: "requestingslot+slot+". Only slot 1 may remove a table.
struct KickHim {
    static constexpr std::string_view command = CMD_kickhim;
    int requestingSlot = 0;
    int slot = 0;

    std::string_view write(std::string& buffer) const;
    static KickHim read(std::string_view rest);
    bool operator==(const KickHim&) const = default;
};

/// The watching states of CMD_justwatch and CMD_justwatching.
inline constexpr std::string_view kWatchStart = "1";
inline constexpr std::string_view kWatchStop = "2";

/// "seat+state(rest)": CMD_justwatch (table -> host) and CMD_justwatching (host -> all).
template <const std::string_view& Word> struct SeatStateMessage {
    static constexpr std::string_view command = Word;
    int seat = 0;
    /// kWatchStart ("1") or kWatchStop ("2"), compared as text by the receiver.
    std::string_view state;

    /// True for "1"; any other state means playing (again).
    bool watching() const { return state == kWatchStart; }
    std::string_view write(std::string& buffer) const;
    static SeatStateMessage read(std::string_view rest);
    bool operator==(const SeatStateMessage&) const = default;
};
using JustWatch = SeatStateMessage<CMD_justwatch>;
using JustWatching = SeatStateMessage<CMD_justwatching>;

/**
 * "slot+rest(rest)": a request the host reads as the slot and the rest of the line, which it relays.
 * CMD_chat and CMD_action (rest = text "|" colour) and CMD_playasound (rest = "waveN+"). The host
 * relays a chatter sound by writing the request back unchanged.
 */
template <const std::string_view& Word> struct SlotRestMessage {
    static constexpr std::string_view command = Word;
    int slot = 0;
    std::string_view rest;

    std::string_view write(std::string& buffer) const;
    static SlotRestMessage read(std::string_view rest);
    bool operator==(const SlotRestMessage&) const = default;
};
using ChatRequest = SlotRestMessage<CMD_chat>;
using ActionRequest = SlotRestMessage<CMD_action>;
using PlayASoundRequest = SlotRestMessage<CMD_playasound>;

/**
 * A table's typed chat or action line: "slot+text|colour". @p colour is color text (a colour name or
 * "$" and eight hex digits). A phrase button's action passes "says: " and the phrase as @p text.
 */
std::string_view writeChatRequest(std::string& buffer, int slot, std::string_view text, std::string_view colour);
std::string_view writeActionRequest(std::string& buffer, int slot, std::string_view text, std::string_view colour);

inline constexpr std::string_view kChatsSeparator = " chats: ";
inline constexpr std::string_view kActionSeparator = " ";

/**
 * The host's relay of a chat or action, as every table reads it: "slot+text|colour", where the text
 * begins with the sender's name (then " chats: " for a chat, one blank for an action).
 *
 * Reading splits the rest at its last "|": the colour text never holds one, while a name or a chat
 * text may, and splitting there keeps such a text whole. Without any "|" the whole rest is the chat
 * line and hasColour is false (the table then shows it in red). The slot is the number before the
 * first "+" of the chat line; it is the line's style number on the table.
 */
template <const std::string_view& Word, const std::string_view& Separator> struct RelayedChatMessage {
    static constexpr std::string_view command = Word;
    /// What the host puts between the sender's name and the text.
    static constexpr std::string_view separator = Separator;
    int slot = 0;
    std::string_view text;
    std::string_view colour;
    bool hasColour = false;

    /**
     * The host's relay of a request from @p slot: "slot+" @p name, the separator, then @p received (the
     * request's rest after its slot field: text "|" colour) as it came.
     */
    static std::string_view relay(std::string& buffer, int slot, std::string_view name, std::string_view received);
    std::string_view write(std::string& buffer) const;
    static RelayedChatMessage read(std::string_view rest);
    bool operator==(const RelayedChatMessage&) const = default;
};
using ChatRelay = RelayedChatMessage<CMD_chat, kChatsSeparator>;
using ActionRelay = RelayedChatMessage<CMD_action, kActionSeparator>;

/// A chatter sound as a table sends it and as every table reads the relay: "slot+sound+", sound "waveN".
struct PlayASound {
    static constexpr std::string_view command = CMD_playasound;
    int slot = 0;
    std::string_view sound;

    /// "slot+wave" @p number "+", without building the sound name first.
    static std::string_view write(std::string& buffer, int slot, int number);
    std::string_view write(std::string& buffer) const;
    static PlayASound read(std::string_view rest);
    bool operator==(const PlayASound&) const = default;
};

/// table -> host: "slot+milliseconds+". The host takes it from slot 1 only.
struct BotSpeed {
    static constexpr std::string_view command = CMD_botspeed;
    int slot = 0;
    int milliseconds = 0;

    std::string_view write(std::string& buffer) const;
    static BotSpeed read(std::string_view rest);
    bool operator==(const BotSpeed&) const = default;
};

/// The levels of CMD_botlevel: the simple computer player, the expert and the master.
inline constexpr std::string_view kBotLevelClassic = "classic";
inline constexpr std::string_view kBotLevelExpert = "expert";
inline constexpr std::string_view kBotLevelMaster = "master";

/**
 * table -> host: "seat+level+", level kBotLevelClassic, kBotLevelExpert or kBotLevelMaster: how the computer plays that
 * seat whenever it plays it. The host takes it from slot 1's connection only and drops any other
 * level; hosts that do not know the word drop the whole line.
 */
struct BotLevel {
    static constexpr std::string_view command = CMD_botlevel;
    int seat = 0;
    std::string_view level;

    std::string_view write(std::string& buffer) const;
    static BotLevel read(std::string_view rest);
    bool operator==(const BotLevel&) const = default;
};

// Coming back after a dropped connection. A table that knows these words asks for a seat key after its
// login; a host that knows them answers and from then on also tells that table when it is removed and
// when the host ends. A host never sends them to a table that has not asked, and an older host drops
// the asking word, so neither side's lines change for a peer that does not know them.

/// Characters of a seat key: 32 lowercase hex digits (128 bits from the system's secure source).
inline constexpr std::size_t kSeatKeyLength = 32;

/// True for @p key made of exactly kSeatKeyLength lowercase hex digits.
bool isSeatKey(std::string_view key);

/// table -> host, after its login: "slot+". Asks for the seat key of @p slot.
struct SeatKeyRequest {
    static constexpr std::string_view command = CMD_seatkey;
    int slot = 0;

    std::string_view write(std::string& buffer) const;
    static SeatKeyRequest read(std::string_view rest);
    bool operator==(const SeatKeyRequest&) const = default;
};

/// host -> the asking table alone: "slot+key+". The key brings the table back to @p slot later.
struct SeatKey {
    static constexpr std::string_view command = CMD_seatkey;
    int slot = 0;
    std::string_view key;

    std::string_view write(std::string& buffer) const;
    static SeatKey read(std::string_view rest);
    bool operator==(const SeatKey&) const = default;
};

/**
 * table -> host, instead of CMD_logininfo: "slot+key+", where @p slot is the slot just offered. The host
 * answers CMD_sendlogininfo with the key's slot when it is free, or with @p slot again.
 */
struct Rejoin {
    static constexpr std::string_view command = CMD_rejoin;
    int slot = 0;
    std::string_view key;

    std::string_view write(std::string& buffer) const;
    static Rejoin read(std::string_view rest);
    bool operator==(const Rejoin&) const = default;
};

/// host -> a table that asked for its seat key, just before the host removes it: "CMD_removed+".
using Removed = EmptyMessage<CMD_removed>;
/// host -> every table that asked for its seat key, just before the host ends: "CMD_hostclosing+".
using HostClosing = EmptyMessage<CMD_hostclosing>;

/**
 * host -> every other table that asked for its seat key, when the host player removes @p slot: "slot+",
 * right before the CMD_playerdisconnected of that slot, which then tells of a removal, not of a drop.
 */
struct PlayerRemoved {
    static constexpr std::string_view command = CMD_playerremoved;
    int slot = 0;

    std::string_view write(std::string& buffer) const;
    static PlayerRemoved read(std::string_view rest);
    bool operator==(const PlayerRemoved&) const = default;
};

/**
 * host -> a table that asks for its seat key for the first time on its connection, right after the key,
 * when the trick or the DOMINO hand is over and the next has not opened: "CMD_handover+". Nobody is on
 * turn, which the catch-up before it cannot always show (a DOMINO layout looks the same before the last
 * card of the round and after it).
 */
using HandOver = EmptyMessage<CMD_handover>;

/**
 * host -> a table that asks for its seat key for the first time on its connection, after the key (and
 * CMD_handover), while a DOMINO round is on the board: "start+top1+top2+top3+top4+held1+held2+held3+held4+".
 * start is the domino rank 1..8 of the round's first card, 0 before it; topN the card last laid on the
 * foundation of suit N (which runs from the start rank up to it), 0 for an empty one; heldN the cards
 * seat N still holds. The catch-up before it names the card each seat laid last, not the layout, and no
 * card counts.
 */
struct DLayout {
    static constexpr std::string_view command = CMD_dlayout;
    int dominoStart = 0;
    std::array<int, 4> tops{}; ///< suits 1..4
    std::array<int, 4> held{}; ///< seats 1..4

    std::string_view write(std::string& buffer) const;
    static DLayout read(std::string_view rest);
    bool operator==(const DLayout&) const = default;
};

/// The words of CMD_allowhints.
inline constexpr std::string_view kHintsAllowed = "t";
inline constexpr std::string_view kHintsRefused = "f";

/**
 * table -> host: "t+" or "f+": whether the seated players of a game with more than one human may ask
 * for hints. The host takes it from slot 1's connection only; when the setting changes it tells every
 * table with a system line (kHintsAllowedLine or kHintsRefusedLine). Off until slot 1 allows them.
 */
struct AllowHints {
    static constexpr std::string_view command = CMD_allowhints;
    bool allowed = false;

    std::string_view write(std::string& buffer) const;
    /// "t" allows, "f" refuses; any other word leaves nothing to do (valid false).
    static AllowHints read(std::string_view rest, bool& valid);
    bool operator==(const AllowHints&) const = default;
};

inline constexpr std::string_view kHintsAllowedLine = "The host player allows hints.";
inline constexpr std::string_view kHintsRefusedLine = "The host player allows no hints.";

/**
 * CMD_hint. table -> host: "seat+", a seated table asking what the computer would do in its place.
 * host -> that seat's table alone: "seat+slot+", the hand slot it would play, or "seat+0+contract+"
 * while the seat chooses a contract. Only a table that asked ever gets one.
 */
struct HintRequest {
    static constexpr std::string_view command = CMD_hint;
    int seat = 0;

    std::string_view write(std::string& buffer) const;
    static HintRequest read(std::string_view rest);
    bool operator==(const HintRequest&) const = default;
};

struct Hint {
    static constexpr std::string_view command = CMD_hint;
    int seat = 0;
    int handSlot = 0; ///< 1..8, or 0 for a contract
    int contract = 0; ///< 1..6 while the seat chooses, else 0

    std::string_view write(std::string& buffer) const;
    static Hint read(std::string_view rest);
    bool operator==(const Hint&) const = default;
};

} // namespace morlu
