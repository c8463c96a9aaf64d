#include "sessionmessages.h"

#include "fieldreader.h"

#include <algorithm>

namespace morlu {

std::string_view SendLoginInfo::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).number(slot).finish();
}

SendLoginInfo SendLoginInfo::read(std::string_view rest)
{
    return {toInt(rest)};
}

std::string_view LoginInfo::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(slot).field(version).text(name).finish();
}

LoginInfo LoginInfo::read(std::string_view rest)
{
    FieldReader reader(rest);
    LoginInfo message;
    message.slot = reader.intField();
    message.version = reader.field();
    message.name = reader.takeRest();
    return message;
}

template <const std::string_view& Word> std::string_view SlotNameMessage<Word>::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(slot).text(name).finish();
}

template <const std::string_view& Word> SlotNameMessage<Word> SlotNameMessage<Word>::read(std::string_view rest)
{
    FieldReader reader(rest);
    SlotNameMessage message;
    message.slot = reader.intField();
    message.name = reader.takeRest();
    return message;
}

template struct SlotNameMessage<CMD_newplayerinfo>;
template struct SlotNameMessage<CMD_existingplayers>;
template struct SlotNameMessage<CMD_playerdisconnected>;

std::string_view HaveWrongVersion::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).text(name).finish();
}

HaveWrongVersion HaveWrongVersion::read(std::string_view rest)
{
    return {rest};
}

std::string_view KickHim::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(requestingSlot).field(slot).finish();
}

KickHim KickHim::read(std::string_view rest)
{
    FieldReader reader(rest);
    KickHim message;
    message.requestingSlot = reader.intField();
    message.slot = reader.intField();
    return message;
}

template <const std::string_view& Word> std::string_view SeatStateMessage<Word>::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(seat).text(state).finish();
}

template <const std::string_view& Word> SeatStateMessage<Word> SeatStateMessage<Word>::read(std::string_view rest)
{
    FieldReader reader(rest);
    SeatStateMessage message;
    message.seat = reader.intField();
    message.state = reader.takeRest();
    return message;
}

template struct SeatStateMessage<CMD_justwatch>;
template struct SeatStateMessage<CMD_justwatching>;

template <const std::string_view& Word> std::string_view SlotRestMessage<Word>::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(slot).text(rest).finish();
}

template <const std::string_view& Word> SlotRestMessage<Word> SlotRestMessage<Word>::read(std::string_view line)
{
    FieldReader reader(line);
    SlotRestMessage message;
    message.slot = reader.intField();
    message.rest = reader.takeRest();
    return message;
}

template struct SlotRestMessage<CMD_chat>;
template struct SlotRestMessage<CMD_action>;
template struct SlotRestMessage<CMD_playasound>;

namespace {

std::string_view writeChatText(std::string& buffer, std::string_view command, int slot, std::string_view text,
                               std::string_view colour)
{
    return LineBuilder(buffer, command).field(slot).text(text).text("|").text(colour).finish();
}

} // namespace

std::string_view writeChatRequest(std::string& buffer, int slot, std::string_view text, std::string_view colour)
{
    return writeChatText(buffer, CMD_chat, slot, text, colour);
}

std::string_view writeActionRequest(std::string& buffer, int slot, std::string_view text, std::string_view colour)
{
    return writeChatText(buffer, CMD_action, slot, text, colour);
}

template <const std::string_view& Word, const std::string_view& Separator>
std::string_view RelayedChatMessage<Word, Separator>::relay(std::string& buffer, int slot, std::string_view name,
                                                            std::string_view received)
{
    return LineBuilder(buffer, command).field(slot).text(name).text(Separator).text(received).finish();
}

template <const std::string_view& Word, const std::string_view& Separator>
std::string_view RelayedChatMessage<Word, Separator>::write(std::string& buffer) const
{
    LineBuilder line(buffer, command);
    line.field(slot).text(text);
    if (hasColour)
        line.text("|").text(colour);
    return line.finish();
}

template <const std::string_view& Word, const std::string_view& Separator>
RelayedChatMessage<Word, Separator> RelayedChatMessage<Word, Separator>::read(std::string_view rest)
{
    RelayedChatMessage message;
    std::string_view chatLine = rest;
    const auto bar = rest.rfind('|');
    if (bar != std::string_view::npos) {
        chatLine = rest.substr(0, bar);
        message.colour = rest.substr(bar + 1);
        message.hasColour = true;
    }
    FieldReader reader(chatLine);
    message.slot = reader.intField();
    message.text = reader.takeRest();
    return message;
}

template struct RelayedChatMessage<CMD_chat, kChatsSeparator>;
template struct RelayedChatMessage<CMD_action, kActionSeparator>;

std::string_view PlayASound::write(std::string& buffer, int slot, int number)
{
    return LineBuilder(buffer, command).field(slot).text("wave").number(number).plus().finish();
}

std::string_view PlayASound::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(slot).field(sound).finish();
}

PlayASound PlayASound::read(std::string_view rest)
{
    FieldReader reader(rest);
    PlayASound message;
    message.slot = reader.intField();
    message.sound = reader.field();
    return message;
}

std::string_view BotSpeed::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(slot).field(milliseconds).finish();
}

BotSpeed BotSpeed::read(std::string_view rest)
{
    FieldReader reader(rest);
    BotSpeed message;
    message.slot = reader.intField();
    message.milliseconds = reader.intField();
    return message;
}

std::string_view BotLevel::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(seat).field(level).finish();
}

BotLevel BotLevel::read(std::string_view rest)
{
    FieldReader reader(rest);
    BotLevel message;
    message.seat = reader.intField();
    message.level = reader.field();
    return message;
}

bool isSeatKey(std::string_view key)
{
    return key.size() == kSeatKeyLength &&
           std::all_of(key.begin(), key.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::string_view SeatKeyRequest::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(slot).finish();
}

SeatKeyRequest SeatKeyRequest::read(std::string_view rest)
{
    FieldReader reader(rest);
    return {reader.intField()};
}

std::string_view PlayerRemoved::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(slot).finish();
}

PlayerRemoved PlayerRemoved::read(std::string_view rest)
{
    FieldReader reader(rest);
    return {reader.intField()};
}

std::string_view DLayout::write(std::string& buffer) const
{
    LineBuilder line(buffer, command);
    line.field(dominoStart);
    for (const int card : tops)
        line.field(card);
    for (const int count : held)
        line.field(count);
    return line.finish();
}

DLayout DLayout::read(std::string_view rest)
{
    FieldReader reader(rest);
    DLayout message;
    message.dominoStart = reader.intField();
    for (int& card : message.tops)
        card = reader.intField();
    for (int& count : message.held)
        count = reader.intField();
    return message;
}

std::string_view SeatKey::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(slot).field(key).finish();
}

SeatKey SeatKey::read(std::string_view rest)
{
    FieldReader reader(rest);
    SeatKey message;
    message.slot = reader.intField();
    message.key = reader.field();
    return message;
}

std::string_view Rejoin::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(slot).field(key).finish();
}

Rejoin Rejoin::read(std::string_view rest)
{
    FieldReader reader(rest);
    Rejoin message;
    message.slot = reader.intField();
    message.key = reader.field();
    return message;
}

std::string_view AllowHints::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(allowed ? kHintsAllowed : kHintsRefused).finish();
}

AllowHints AllowHints::read(std::string_view rest, bool& valid)
{
    FieldReader reader(rest);
    const bool sent = reader.hasField();
    const std::string_view word = reader.field();
    valid = sent && (word == kHintsAllowed || word == kHintsRefused);
    return AllowHints{valid && word == kHintsAllowed};
}

std::string_view HintRequest::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(seat).finish();
}

HintRequest HintRequest::read(std::string_view rest)
{
    FieldReader reader(rest);
    return HintRequest{reader.intField()};
}

std::string_view Hint::write(std::string& buffer) const
{
    LineBuilder line(buffer, command);
    line.field(seat).field(handSlot);
    if (handSlot == 0)
        line.field(contract);
    return line.finish();
}

Hint Hint::read(std::string_view rest)
{
    FieldReader reader(rest);
    Hint message;
    message.seat = reader.intField();
    message.handSlot = reader.intField();
    if (message.handSlot == 0)
        message.contract = reader.intField();
    return message;
}

} // namespace morlu
