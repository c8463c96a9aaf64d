#include "gamemessages.h"

#include "fieldreader.h"

namespace morlu {

namespace {

/// A field of a list read until the line is used up: the text before the next "+", or the whole rest.
int listField(FieldReader& reader)
{
    return toInt(reader.hasField() ? reader.field() : reader.takeRest());
}

bool flagField(FieldReader& reader)
{
    return reader.field() == "t";
}

} // namespace

std::string_view StartGame::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(name).field(length).finish();
}

StartGame StartGame::read(std::string_view rest)
{
    StartGame message;
    if (rest.empty() || rest.back() != '+') {
        FieldReader reader(rest);
        message.name = reader.field();
        message.length = reader.field();
        return message;
    }
    const std::string_view body = rest.substr(0, rest.size() - 1);
    const auto plus = body.rfind('+');
    if (plus == std::string_view::npos) {
        message.name = body;
    } else {
        message.name = body.substr(0, plus);
        message.length = body.substr(plus + 1);
    }
    return message;
}

std::string_view ChooseType::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(seat).field(contract).finish();
}

ChooseType ChooseType::read(std::string_view rest)
{
    FieldReader reader(rest);
    ChooseType message;
    message.seat = reader.intField();
    message.contract = reader.intField();
    return message;
}

std::string_view PlayCard::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(seat).field(handSlot).finish();
}

PlayCard PlayCard::read(std::string_view rest)
{
    FieldReader reader(rest);
    PlayCard message;
    message.seat = reader.intField();
    message.handSlot = reader.intField();
    return message;
}

std::string_view StartRound::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(seat).field(round).finish();
}

StartRound StartRound::read(std::string_view rest)
{
    FieldReader reader(rest);
    StartRound message;
    message.seat = reader.intField();
    message.round = reader.intField();
    return message;
}

std::string_view MyCards::write(std::string& buffer, int seat, std::span<const HandCard> cards)
{
    LineBuilder line(buffer, command);
    line.number(seat);
    for (const HandCard& held : cards)
        line.plus().number(held.slot).plus().number(held.card);
    return line.finish();
}

MyCards MyCards::read(std::string_view rest)
{
    FieldReader reader(rest);
    MyCards message;
    message.seat = listField(reader);
    while (!reader.atEnd()) {
        HandCard held;
        held.slot = listField(reader);
        held.card = listField(reader);
        message.cards.push_back(held);
    }
    return message;
}

std::string_view ChooseHand::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(seat).field(contract).field(0).finish();
}

ChooseHand ChooseHand::read(std::string_view rest)
{
    FieldReader reader(rest);
    ChooseHand message;
    message.seat = reader.intField();
    message.contract = reader.intField();
    return message;
}

std::string_view AlreadyChoose::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(seat).field(contract).finish();
}

AlreadyChoose AlreadyChoose::read(std::string_view rest)
{
    FieldReader reader(rest);
    AlreadyChoose message;
    message.seat = reader.intField();
    message.contract = reader.intField();
    return message;
}

template <const std::string_view& Word> std::string_view SeatMessage<Word>::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(seat).finish();
}

template <const std::string_view& Word> SeatMessage<Word> SeatMessage<Word>::read(std::string_view rest)
{
    FieldReader reader(rest);
    return {reader.intField()};
}

template struct SeatMessage<CMD_nextplayer>;
template struct SeatMessage<CMD_endhand>;
template struct SeatMessage<CMD_dendhand>;

std::string_view PlaceCard::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(seat).field(card).field(handSlot).flag(lead).finish();
}

PlaceCard PlaceCard::read(std::string_view rest)
{
    FieldReader reader(rest);
    PlaceCard message;
    message.seat = reader.intField();
    message.card = reader.intField();
    message.handSlot = reader.intField();
    message.lead = flagField(reader);
    return message;
}

std::string_view AError::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(seat).field(code).finish();
}

AError AError::read(std::string_view rest)
{
    FieldReader reader(rest);
    AError message;
    message.seat = reader.intField();
    message.code = reader.intField();
    return message;
}

std::string_view Took::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(seat).field(kind).flag(director).flag(roundOver).finish();
}

Took Took::read(std::string_view rest)
{
    FieldReader reader(rest);
    Took message;
    message.seat = reader.intField();
    message.kind = reader.intField();
    message.director = flagField(reader);
    message.roundOver = flagField(reader);
    return message;
}

std::string_view Scores::write(std::string& buffer, std::span<const ScoreGroup> groups)
{
    LineBuilder line(buffer, command);
    bool first = true;
    for (const ScoreGroup& group : groups) {
        if (!first)
            line.plus();
        first = false;
        line.number(group.seat).plus().number(group.bank).plus().number(group.money);
    }
    return line.finish();
}

Scores Scores::read(std::string_view rest)
{
    FieldReader reader(rest);
    Scores message;
    while (!reader.atEnd()) {
        ScoreGroup group;
        group.seat = listField(reader);
        group.bank = listField(reader);
        group.money = listField(reader);
        message.groups.push_back(group);
    }
    return message;
}

std::string_view DPlaceCard::write(std::string& buffer) const
{
    return LineBuilder(buffer, command)
        .field(seat)
        .field(suit)
        .field(card)
        .field(handSlot)
        .field(dominoStart)
        .field(cardsLeft)
        .finish();
}

DPlaceCard DPlaceCard::read(std::string_view rest)
{
    FieldReader reader(rest);
    DPlaceCard message;
    message.seat = reader.intField();
    message.suit = reader.intField();
    message.card = reader.intField();
    message.handSlot = reader.intField();
    message.dominoStart = reader.intField();
    message.cardsLeft = reader.intField();
    return message;
}

std::string_view HandsUsed::write(std::string& buffer, int seat, std::span<const int> contracts)
{
    LineBuilder line(buffer, command);
    line.number(seat);
    for (const int contract : contracts)
        line.plus().number(contract);
    return line.finish();
}

HandsUsed HandsUsed::read(std::string_view rest)
{
    FieldReader reader(rest);
    HandsUsed message;
    message.seat = listField(reader);
    while (!reader.atEnd())
        message.contracts.push_back(listField(reader));
    return message;
}

std::string_view AGame::write(std::string& buffer) const
{
    LineBuilder line(buffer, command);
    line.field(slot).field(round).field(length).field(director).field(turn).field(contract);
    line.field(dominoStart).field(leader);
    for (const int card : trick)
        line.field(card);
    return line.finish();
}

AGame AGame::read(std::string_view rest)
{
    FieldReader reader(rest);
    AGame message;
    message.slot = reader.intField();
    message.round = reader.intField();
    message.length = reader.field();
    message.director = reader.intField();
    message.turn = reader.intField();
    message.contract = reader.intField();
    message.dominoStart = reader.intField();
    message.leader = reader.intField();
    for (int& card : message.trick)
        card = reader.intField();
    return message;
}

std::string_view Winner::write(std::string& buffer) const
{
    return LineBuilder(buffer, command).field(text).finish();
}

Winner Winner::read(std::string_view rest)
{
    if (!rest.empty() && rest.back() == '+')
        return {rest.substr(0, rest.size() - 1)};
    return {FieldReader(rest).field()};
}

} // namespace morlu
