#include "gamechecker.h"

#include <sstream>

namespace morlu::test {

void GameChecker::newGame(const std::string& length)
{
    m_length = gamelengthFor(length);
    m_rounds = 0;
    m_winners = 0;
    m_directed = {};
    m_banks = {0, kStartingBank, kStartingBank, kStartingBank, kStartingBank};
    m_error.clear();
    m_roundOpen = false;
}

bool GameChecker::everyFreeContractDirectedOnce()
{
    for (int seat = 1; seat <= 4; ++seat) {
        for (int code = 1; code <= 6; ++code) {
            if (m_directed[seat][code] != (m_length.used[code] ? 0 : 1))
                return fail("seat " + std::to_string(seat) + " directed contract " + std::to_string(code) + " " +
                            std::to_string(m_directed[seat][code]) + " times");
        }
    }
    return true;
}

void GameChecker::toSlot(int slot, std::string_view line)
{
    const std::string_view rest = restOf(line, CMD_mycards);
    if (rest.data() == nullptr) {
        fail("unexpected line to slot " + std::to_string(slot) + ": " + std::string(line));
        return;
    }
    const MyCards cards = MyCards::read(rest);
    if (cards.seat != slot || cards.cards.size() != 8 || !m_engine->seat(slot).inuse)
        fail("CMD_mycards to the wrong slot or with a partial hand");
    for (std::size_t i = 0; i < cards.cards.size(); ++i) {
        if (cards.cards[i].slot != static_cast<int>(i) + 1 || cards.cards[i].card != m_engine->seat(slot).cards[i + 1])
            fail("CMD_mycards does not show the dealt hand");
    }
}

void GameChecker::toAll(std::string_view line)
{
    if (!m_error.empty())
        return;
    if (m_winners > 0) {
        fail("a line after the winner: " + std::string(line));
        return;
    }
    std::string_view rest;
    if (!(rest = restOf(line, CMD_placecard)).empty())
        placecard(PlaceCard::read(rest));
    else if (!(rest = restOf(line, CMD_nextplayer)).empty())
        nextplayer(NextPlayer::read(rest).seat);
    else if (!(rest = restOf(line, CMD_dplacecard)).empty())
        dplacecard(DPlaceCard::read(rest));
    else if (!(rest = restOf(line, CMD_took)).empty())
        took(Took::read(rest));
    else if (!(rest = restOf(line, CMD_scores)).empty())
        scores(Scores::read(rest));
    else if (!(rest = restOf(line, CMD_endhand)).empty())
        endhand(EndHand::read(rest).seat);
    else if (restOf(line, CMD_starthand).data() != nullptr)
        starthand();
    else if (!(rest = restOf(line, CMD_choosehand)).empty())
        choosehand(ChooseHand::read(rest));
    else if (!(rest = restOf(line, CMD_startround)).empty())
        startround(StartRound::read(rest));
    else if (!(rest = restOf(line, CMD_dendhand)).empty())
        dendhand(DEndHand::read(rest).seat);
    else if (!(rest = restOf(line, CMD_winner)).empty())
        winner(Winner::read(rest).text);
    else if (restOf(line, CMD_startgame).data() == nullptr)
        fail("unexpected broadcast: " + std::string(line));
}

std::string_view GameChecker::restOf(std::string_view line, std::string_view word)
{
    if (line.size() < word.size() + 2 || line.substr(0, word.size()) != word || line[word.size()] != '+')
        return {};
    return line.substr(word.size() + 1, line.size() - word.size() - 2);
}

bool GameChecker::fail(const std::string& text)
{
    if (m_error.empty()) {
        std::ostringstream where;
        where << text << " (round " << m_rounds << ", contract " << m_contract << ", trick " << m_trick << ")";
        m_error = where.str();
    }
    return false;
}

int GameChecker::held(int seat) const
{
    int count = 0;
    for (int slot = 1; slot <= 8; ++slot)
        count += m_hands[seat][slot] != 0 ? 1 : 0;
    return count;
}

bool GameChecker::holdsSuit(int seat, int suit) const
{
    for (int slot = 1; slot <= 8; ++slot) {
        if (getsuit(m_hands[seat][slot]) == suit)
            return true;
    }
    return false;
}

bool GameChecker::barredFirstLead(int contract, int card)
{
    const int suit = getsuit(card);
    return (suit == Hearts && (contract == Morlu || contract == Guillotine)) ||
           (suit == Spades && (contract == Siege || contract == Guillotine));
}

bool GameChecker::dominoLegal(int card) const
{
    if (m_start == 0)
        return true;
    const int suit = getsuit(card);
    return dominorank(card) == (m_start - 1 + m_laid[suit]) % 8 + 1 && m_laid[suit] < 8;
}

bool GameChecker::canLay(int seat) const
{
    for (int slot = 1; slot <= 8; ++slot) {
        if (m_hands[seat][slot] != 0 && dominoLegal(m_hands[seat][slot]))
            return true;
    }
    return false;
}

int GameChecker::moneyCardsLeft() const
{
    switch (m_contract) {
    case Morlu:
        return m_kingLeft;
    case Waterloo:
        return m_queensLeft;
    case Siege:
        return m_spadesLeft;
    default:
        return -1;
    }
}

void GameChecker::startround(const StartRound& message)
{
    if (m_roundOpen)
        fail("a round started while the last one was still open");
    ++m_rounds;
    if (message.round != m_rounds || message.seat != (m_rounds - 1) % 4 + 1)
        fail("round " + std::to_string(message.round) + " chosen by seat " + std::to_string(message.seat));
    if (m_rounds > m_length.contracts)
        fail("more rounds than the game has");
    m_contract = 0;
    m_chooser = message.seat;
}

void GameChecker::choosehand(const ChooseHand& message)
{
    if (message.seat != m_chooser)
        fail("the director is not the chooser");
    if (m_length.used[message.contract] || m_directed[message.seat][message.contract]++ > 0)
        fail("contract " + std::to_string(message.contract) + " directed again");
    m_contract = message.contract;
    m_director = message.seat;
    std::array<int, 33> seen{};
    for (int seat = 1; seat <= 4; ++seat) {
        m_hands[seat] = m_engine->seat(seat).cards;
        for (int slot = 1; slot <= 8; ++slot)
            ++seen[m_hands[seat][slot]];
    }
    for (int card = 1; card <= 32; ++card) {
        if (seen[card] != 1)
            fail("the deal does not hand out card " + std::to_string(card) + " exactly once");
    }
    m_trick = 0;
    m_kingLeft = 1;
    m_queensLeft = 4;
    m_spadesLeft = 8;
    m_start = 0;
    m_laid = {};
    m_roundOpen = true;
    m_expectRoundEnd = false;
    m_trickDone = true;
}

void GameChecker::starthand()
{
    if (!m_roundOpen || m_expectRoundEnd || !m_trickDone || (m_contract == Domino && m_trick > 0))
        fail("a trick opened when the round should have ended");
    ++m_trick;
    m_plays = 0;
    m_led = 0;
    m_trickCards = {};
    m_trickDone = false;
    m_turn = m_trick == 1 ? m_director - 1 : m_taker - 1;
    m_turn = m_turn < 1 ? 4 : m_turn;
}

void GameChecker::nextplayer(int seat)
{
    int expected = m_turn % 4 + 1;
    if (m_contract == Domino && m_start != 0) {
        while (!canLay(expected))
            expected = expected % 4 + 1;
    }
    if (seat != expected)
        fail("turn passed to seat " + std::to_string(seat) + ", not " + std::to_string(expected));
    m_turn = seat;
}

void GameChecker::placecard(const PlaceCard& message)
{
    const int seat = message.seat;
    const int card = message.card;
    if (m_contract < 1 || m_contract > 5 || seat != m_turn || m_trickDone)
        fail("a card out of turn or outside a trick");
    if (message.handSlot < 1 || message.handSlot > 8 || m_hands[seat][message.handSlot] != card || card == 0)
        fail("seat " + std::to_string(seat) + " played card " + std::to_string(card) + " it does not hold");
    if (message.lead != (m_plays == 0))
        fail("wrong lead flag");
    if (m_plays == 0) {
        if (m_trick == 1 && barredFirstLead(m_contract, card)) {
            for (int slot = 1; slot <= 8; ++slot) {
                if (m_hands[seat][slot] != 0 && !barredFirstLead(m_contract, m_hands[seat][slot]))
                    fail("a barred first lead by a seat that held another card");
            }
        }
        m_led = getsuit(card);
    } else if (getsuit(card) != m_led && holdsSuit(seat, m_led)) {
        fail("seat " + std::to_string(seat) + " did not follow suit");
    }
    m_hands[seat][message.handSlot] = 0;
    m_trickCards[seat] = card;
    ++m_plays;
}

void GameChecker::endhand(int taker)
{
    if (m_plays != 4)
        fail("a trick ended with " + std::to_string(m_plays) + " cards");
    int best = 0;
    for (int seat = 1; seat <= 4; ++seat) {
        if (getsuit(m_trickCards[seat]) == m_led && (best == 0 || m_trickCards[seat] > m_trickCards[best]))
            best = seat;
    }
    if (taker != best)
        fail("seat " + std::to_string(taker) + " took a trick won by seat " + std::to_string(best));
    m_taker = taker;
    m_trickDone = true;
    m_charged = {};
    // What the trick must be charged for, in check order: King of Hearts, Queens, Spades, trick 1 or 8.
    const bool all = m_contract == Guillotine;
    m_expectedTook.clear();
    m_tookIndex = 0;
    for (int seat = 1; seat <= 4; ++seat) {
        if ((all || m_contract == Morlu) && m_trickCards[seat] == kKingOfHearts)
            m_expectedTook.push_back(1);
    }
    for (int seat = 1; seat <= 4; ++seat) {
        if ((all || m_contract == Waterloo) && isQueen(m_trickCards[seat]))
            m_expectedTook.push_back(2);
    }
    for (int seat = 1; seat <= 4; ++seat) {
        if ((all || m_contract == Siege) && isSpade(m_trickCards[seat]))
            m_expectedTook.push_back(3);
    }
    if ((all || m_contract == Touche) && m_trick == 1)
        m_expectedTook.push_back(4);
    if ((all || m_contract == Touche) && m_trick == 8)
        m_expectedTook.push_back(5);
}

void GameChecker::took(const Took& message)
{
    if (message.seat < 1 || message.seat > 4 || message.director != (message.seat == m_director))
        fail("wrong director flag");
    if (message.seat != m_taker)
        fail("a trick's money charged to a seat that did not take it");
    if (m_tookIndex >= m_expectedTook.size() || m_expectedTook[m_tookIndex++] != message.kind)
        fail("penalty kind " + std::to_string(message.kind) + " out of the check order");
    static constexpr std::array<int, 6> amounts{0, 800, 200, 100, 400, 400};
    if (!message.director)
        m_charged[message.seat] += amounts.at(message.kind);
    int* counter = nullptr;
    if (message.kind == 1)
        counter = &m_kingLeft;
    else if (message.kind == 2)
        counter = &m_queensLeft;
    else if (message.kind == 3)
        counter = &m_spadesLeft;
    if (counter != nullptr)
        --*counter;
    const bool last = counter != nullptr && *counter == 0 && message.kind == m_contract;
    if (message.roundOver != last)
        fail("round-over flag " + std::string(message.roundOver ? "t" : "f") + " on penalty kind " +
             std::to_string(message.kind));
}

void GameChecker::dplacecard(const DPlaceCard& message)
{
    const int seat = message.seat;
    const int card = message.card;
    if (m_contract != Domino || seat != m_turn)
        fail("a DOMINO card out of turn");
    if (message.handSlot < 1 || message.handSlot > 8 || m_hands[seat][message.handSlot] != card || card == 0)
        fail("a DOMINO card the seat does not hold");
    if (!dominoLegal(card))
        fail("card " + std::to_string(card) + " breaks the layout");
    if (m_start == 0)
        m_start = dominorank(card);
    ++m_laid[getsuit(card)];
    m_hands[seat][message.handSlot] = 0;
    if (message.suit != getsuit(card) || message.dominoStart != m_start || message.cardsLeft != held(seat))
        fail("wrong DOMINO report");
}

void GameChecker::dendhand(int loser)
{
    int out = 0;
    for (int seat = 1; seat <= 4; ++seat)
        out += held(seat) == 0 ? 1 : 0;
    if (out != 3 || held(loser) == 0)
        fail("the DOMINO round ended with " + std::to_string(out) + " seats out");
    m_charged = {};
    if (loser != m_director)
        m_charged[loser] = kDominoCost;
    m_expectRoundEnd = true;
    m_trickDone = true;
}

void GameChecker::scores(const Scores& message)
{
    if (message.groups.size() != 4)
        return void(fail("CMD_scores without four groups"));
    if (m_contract != Domino && m_tookIndex != m_expectedTook.size())
        fail("a trick was not charged for everything it held");
    int banks = 0;
    int changes = 0;
    int collected = 0;
    for (int seat = 1; seat <= 4; ++seat) {
        const ScoreGroup& group = message.groups[seat - 1];
        banks += group.bank;
        changes += group.money;
        if (group.seat != seat || group.bank != m_banks[seat] + group.money)
            fail("bank of seat " + std::to_string(seat) + " does not follow its change");
        if (group.money > 0 && seat != m_director)
            fail("seat " + std::to_string(seat) + " gained without directing");
        if (seat != m_director && group.money != -m_charged[seat])
            fail("seat " + std::to_string(seat) + " paid what it did not take");
        collected += seat != m_director ? m_charged[seat] : 0;
        m_banks[seat] = group.bank;
    }
    if (banks != 4 * kStartingBank || changes != 0 || message.groups[m_director - 1].money != collected)
        fail("money was made or lost");
    if (m_contract != Domino && (m_trick == 8 || moneyCardsLeft() == 0))
        m_expectRoundEnd = true;
    if (m_expectRoundEnd)
        m_roundOpen = false;
}

void GameChecker::winner(std::string_view text)
{
    ++m_winners;
    if (m_roundOpen || m_rounds != m_length.contracts)
        fail("winner after " + std::to_string(m_rounds) + " rounds");
    int best = 1;
    for (int seat = 2; seat <= 4; ++seat)
        best = m_banks[seat] > m_banks[best] ? seat : best;
    const auto nameOf = [&](int seat) {
        const SeatRecord& record = m_engine->seat(seat);
        return record.name.empty() ? record.botname : record.name;
    };
    std::string expected = nameOf(best);
    for (int seat = 1; seat <= 4; ++seat) {
        if (seat != best && m_banks[seat] == m_banks[best])
            expected += " and " + nameOf(seat);
    }
    if (text != expected)
        fail("winner text '" + std::string(text) + "', expected '" + expected + "'");
}

} // namespace morlu::test
