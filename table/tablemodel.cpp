#include "tablemodel.h"

#include "commands.h"
#include "gamemessages.h"
#include "names.h"
#include "sessionmessages.h"
#include "viewtext.h"

#include <algorithm>
#include <climits>
#include <string>

TableModel::TableModel(QObject* parent) : QObject(parent)
{
    m_words.add(morlu::CMD_startgame, this, &TableModel::startgame);
    m_words.add(morlu::CMD_startround, this, &TableModel::startround);
    m_words.add(morlu::CMD_mycards, this, &TableModel::mycards);
    m_words.add(morlu::CMD_choosehand, this, &TableModel::choosehand);
    m_words.add(morlu::CMD_alreadychoose, this, &TableModel::alreadychoose);
    m_words.add(morlu::CMD_starthand, this, &TableModel::starthand);
    m_words.add(morlu::CMD_nextplayer, this, &TableModel::nextplayer);
    m_words.add(morlu::CMD_placecard, this, &TableModel::placecard);
    m_words.add(morlu::CMD_dplacecard, this, &TableModel::dplacecard);
    m_words.add(morlu::CMD_endhand, this, &TableModel::endhand);
    m_words.add(morlu::CMD_took, this, &TableModel::took);
    m_words.add(morlu::CMD_scores, this, &TableModel::scores);
    m_words.add(morlu::CMD_dendhand, this, &TableModel::dendhand);
    m_words.add(morlu::CMD_handover, this, &TableModel::handover);
    m_words.add(morlu::CMD_dlayout, this, &TableModel::dlayout);
    m_words.add(morlu::CMD_handsused, this, &TableModel::handsused);
    m_words.add(morlu::CMD_agame, this, &TableModel::agame);
    m_words.add(morlu::CMD_winner, this, &TableModel::winner);
    m_words.add(morlu::CMD_sendlogininfo, this, &TableModel::sendlogininfo);
    m_words.add(morlu::CMD_newplayerinfo, this, &TableModel::playerinfo);
    m_words.add(morlu::CMD_existingplayers, this, &TableModel::playerinfo);
    m_words.add(morlu::CMD_playerdisconnected, this, &TableModel::playerdisconnected);
    m_words.add(morlu::CMD_justwatching, this, &TableModel::justwatching);
}

bool TableModel::apply(std::string_view line)
{
    m_refused = false;
    if (m_words.dispatch(line) && !m_refused)
        emit changed();
    return !m_refused;
}

bool TableModel::apply(std::string_view word, std::string_view rest)
{
    m_refused = false;
    if (m_words.dispatchSplit(word, rest) && !m_refused)
        emit changed();
    return !m_refused;
}

void TableModel::reset()
{
    // Who sits where outlives a game.
    const auto seats = m_g.seats;
    m_g = Game{};
    for (int n = 1; n <= morlu::kSeatCount; ++n) {
        m_g.seats[std::size_t(n)].name = seats[std::size_t(n)].name;
        m_g.seats[std::size_t(n)].watching = seats[std::size_t(n)].watching;
        m_g.seats[std::size_t(n)].computerNamed = seats[std::size_t(n)].computerNamed;
    }
}

// --- reading --------------------------------------------------------------------------------------

bool TableModel::contractUsed(int code) const
{
    return morlu::validContract(code) && (m_g.used[std::size_t(code)] || m_g.outOfGame[std::size_t(code)]);
}

bool TableModel::contractOutOfGame(int code) const
{
    return morlu::validContract(code) && m_g.outOfGame[std::size_t(code)];
}

int TableModel::cardsHeld() const
{
    return int(std::count_if(m_g.hand.begin() + 1, m_g.hand.end(), [](int card) { return card != 0; }));
}

int TableModel::foundationTop(int suit) const
{
    return suit >= 1 && suit <= 4 ? m_g.tops[std::size_t(suit)] : 0;
}

const TableModel::Seat& TableModel::seat(int seat) const
{
    return m_g.seats[validSeatNumber(seat) ? std::size_t(seat) : 0];
}

QString TableModel::seatName(int seat) const
{
    if (!validSeatNumber(seat))
        return QString();
    const Seat& held = m_g.seats[std::size_t(seat)];
    if (!held.name.isEmpty())
        return held.name;
    if (!held.computerNamed)
        return waitingName();
    // Seat 1 is always a person (the hosting player's table) and has no computer name; the others are
    // played by the computer under the names the host announces them by.
    return fromView(morlu::hostComputerName(seat));
}

QString TableModel::startingName(int seat) const
{
    if (seat < 2 || seat > morlu::kSeatCount || !m_g.seats[std::size_t(seat)].name.isEmpty())
        return seatName(seat);
    return fromView(morlu::hostComputerName(seat));
}

void TableModel::addLog(const QString& line)
{
    m_log.append(line);
    ++m_logTotal;
    if (m_log.size() > kLogLines)
        m_log.remove(0, m_log.size() - kLogLines);
}

void TableModel::nameComputerSeats()
{
    // Seat 1 is always a person: the hosting player's table keeps "<Waiting>" until it arrives.
    for (int n = 2; n <= morlu::kSeatCount; ++n)
        m_g.seats[std::size_t(n)].computerNamed = true;
}

int TableModel::chooserOfRound(int round)
{
    return round >= 1 ? (round - 1) % morlu::kSeatCount + 1 : 0;
}

morlu::PlayPosition TableModel::playPosition() const
{
    morlu::PlayPosition position;
    position.contract = m_g.contract;
    position.hand = m_g.hand;
    position.trick = m_g.tricknumber;
    position.ledsuit =
        validSeatNumber(m_g.leader) ? morlu::getsuit(m_g.trick[std::size_t(m_g.leader)]) : int(morlu::NoSuit);
    position.domino = m_g.domino;
    return position;
}

bool TableModel::trickFull() const
{
    // DOMINO lays its cards on the foundations, never on a trick.
    return morlu::validContract(m_g.contract) && m_g.contract != morlu::Domino &&
           std::all_of(m_g.trick.begin() + 1, m_g.trick.end(), [](int card) { return card != 0; });
}

bool TableModel::ownTurn() const
{
    return isPlayerSeat() && m_g.turn == m_myslot && morlu::validContract(m_g.contract) && m_g.chooser == 0 &&
           !m_g.handOver;
}

// --- the game's words -----------------------------------------------------------------------------

void TableModel::setLength(std::string_view letter)
{
    const morlu::GameLength length = morlu::gamelengthFor(letter);
    m_g.contracttotal = length.contracts;
    for (int code = 1; code <= morlu::kContractCount; ++code)
        m_g.outOfGame[std::size_t(code)] = length.used[std::size_t(code)];
}

void TableModel::startgame(std::string_view rest)
{
    const auto message = morlu::StartGame::read(rest);
    reset();
    m_g.gamerunning = true;
    setLength(message.length);
    nameComputerSeats();
}

void TableModel::settleRound()
{
    if (m_g.roundSettled)
        return;
    m_g.roundSettled = true;
    int best = 0;
    for (int n = 1; n <= morlu::kSeatCount; ++n)
        best = std::max(best, m_g.seats[std::size_t(n)].roundChange);
    if (best <= 0)
        return;
    for (int n = 1; n <= morlu::kSeatCount; ++n)
        if (m_g.seats[std::size_t(n)].roundChange == best)
            ++m_g.seats[std::size_t(n)].roundsWon;
}

void TableModel::startround(std::string_view rest)
{
    const auto message = morlu::StartRound::read(rest);
    if (!validSeatNumber(message.seat) || message.round < 1 || message.round > kMostRounds)
        return refuse();
    settleRound();
    m_g.roundSettled = false;
    m_g.round = message.round;
    addLog(QString());
    addLog(QStringLiteral("CONTRACT %1 is starting.").arg(message.round));
    addLog(own(message.seat) ? QStringLiteral("You are the director")
                             : seatName(message.seat) + QStringLiteral(" is the director"));
    m_g.chooser = message.seat;
    // The seat that chooses directs the round; the host names it the director once the choice is in.
    m_g.director = m_g.chooser;
    m_g.contract = 0;
    m_g.turn = 0;
    m_g.trick = {};
    m_g.leader = 0;
    m_g.taker = 0;
    m_g.tricknumber = 1;
    m_g.domino = {};
    m_g.tops = {};
    m_g.passed.clear();
    for (int n = 1; n <= morlu::kSeatCount; ++n) {
        Seat& seat = m_g.seats[std::size_t(n)];
        seat.change = 0;
        seat.roundChange = 0;
        seat.tricks = 0;
        seat.cardsLeft = 0;
    }
}

void TableModel::mycards(std::string_view rest)
{
    const auto message = morlu::MyCards::read(rest);
    // A hand holds each card once, in a slot of its own.
    std::array<bool, morlu::kHandSlots + 1> takenSlot{};
    std::array<bool, morlu::kCardCount + 1> takenCard{};
    for (const morlu::HandCard& held : message.cards) {
        if (!validHandSlot(held.slot) || !validCard(held.card) || takenSlot[std::size_t(held.slot)] ||
            takenCard[std::size_t(held.card)])
            return refuse();
        takenSlot[std::size_t(held.slot)] = takenCard[std::size_t(held.card)] = true;
    }
    if (!validSeatNumber(message.seat))
        return refuse();
    if (message.seat != m_myslot)
        return;
    // A deal (or the catch-up) names every card held: the slots it leaves out are empty.
    m_g.hand = {};
    for (const morlu::HandCard& held : message.cards)
        m_g.hand[std::size_t(held.slot)] = held.card;
    // In a DOMINO round (the catch-up of a table that arrives or comes back) the own count is the hand's.
    if (m_g.gamerunning && m_g.contract == morlu::Domino && validSeatNumber(m_myslot))
        m_g.seats[std::size_t(m_myslot)].cardsLeft = cardsHeld();
}

void TableModel::choosehand(std::string_view rest)
{
    const auto message = morlu::ChooseHand::read(rest);
    if (!validSeatNumber(message.seat) || !morlu::validContract(message.contract) ||
        m_g.seats[std::size_t(message.seat)].directed >= kMostRounds)
        return refuse();
    m_g.chooser = 0;
    m_g.director = message.seat;
    ++m_g.seats[std::size_t(message.seat)].directed;
    if (message.seat == m_myslot)
        m_g.used[std::size_t(message.contract)] = true;
    m_g.contract = message.contract;
    addLog(fromView(morlu::contractName(m_g.contract)));
    if (m_g.contract == morlu::Domino)
        for (int n = 1; n <= morlu::kSeatCount; ++n)
            m_g.seats[std::size_t(n)].cardsLeft = morlu::kHandSlots;
}

void TableModel::alreadychoose(std::string_view rest)
{
    const auto message = morlu::AlreadyChoose::read(rest);
    if (!validSeatNumber(message.seat) || !morlu::validContract(message.contract))
        return refuse();
    m_g.chooser = message.seat;
    if (message.seat == m_myslot)
        m_g.used[std::size_t(message.contract)] = true;
}

void TableModel::starthand(std::string_view rest)
{
    morlu::StartHand::read(rest);
    if (m_g.taker != 0 && m_g.contract != morlu::Domino) {
        // No trick opens after a round's eighth.
        if (m_g.tricknumber >= morlu::kHandSlots)
            return refuse();
        ++m_g.tricknumber;
    }
    m_g.trick = {};
    m_g.leader = 0;
    m_g.taker = 0;
    m_g.handOver = false;
}

void TableModel::nextplayer(std::string_view rest)
{
    const int seat = morlu::NextPlayer::read(rest).seat;
    // 0 says nobody is on turn.
    if (seat != 0 && !validSeatNumber(seat))
        return refuse();
    m_g.passed.clear();
    // In DOMINO the host passes over, without a word, every seat that holds cards but can lay none;
    // the log says who passed.
    if (m_g.contract == morlu::Domino && m_g.domino.start != 0 && validSeatNumber(m_g.turn) && seat != 0) {
        for (int n = nextSeatNumber(m_g.turn); n != seat; n = nextSeatNumber(n))
            if (m_g.seats[std::size_t(n)].cardsLeft > 0)
                m_g.passed.append(n);
    }
    for (const int n : m_g.passed)
        addLog(seatName(n) + QStringLiteral(" passes."));
    m_g.turn = seat;
}

void TableModel::takeFromHand(int slot)
{
    if (slot >= 1 && slot <= morlu::kHandSlots)
        m_g.hand[std::size_t(slot)] = 0;
}

void TableModel::placecard(std::string_view rest)
{
    const auto message = morlu::PlaceCard::read(rest);
    if (!validSeatNumber(message.seat) || !validCard(message.card) || !validHandSlot(message.handSlot))
        return refuse();
    m_g.trick[std::size_t(message.seat)] = message.card;
    if (message.lead)
        m_g.leader = message.seat;
    if (message.seat == m_myslot)
        takeFromHand(message.handSlot);
    m_g.passed.clear();
    // The fourth card closes the trick: the host decides it at once and pauses before the next one opens,
    // still naming the seat that laid last as on turn, so nobody may play until then.
    if (trickFull())
        m_g.handOver = true;
}

void TableModel::dplacecard(std::string_view rest)
{
    const auto message = morlu::DPlaceCard::read(rest);
    // The card lies on its own suit's foundation, after the start rank is known; the seat holds what is
    // left of its eight cards.
    if (!validSeatNumber(message.seat) || !validCard(message.card) || morlu::getsuit(message.card) != message.suit ||
        !validHandSlot(message.handSlot) || message.dominoStart < 1 || message.dominoStart > 8 ||
        message.cardsLeft < 0 || message.cardsLeft >= morlu::kHandSlots)
        return refuse();
    m_g.domino.start = message.dominoStart;
    m_g.domino.laid[std::size_t(message.suit)][std::size_t(morlu::dominorank(message.card))] = true;
    m_g.tops[std::size_t(message.suit)] = message.card;
    m_g.seats[std::size_t(message.seat)].cardsLeft = message.cardsLeft;
    if (message.seat == m_myslot)
        takeFromHand(message.handSlot);
    m_g.passed.clear();
}

void TableModel::endhand(std::string_view rest)
{
    const int seat = morlu::EndHand::read(rest).seat;
    // A round has eight tricks; a table that came late counts only those it saw.
    int taken = 0;
    for (int n = 1; n <= morlu::kSeatCount; ++n)
        taken += m_g.seats[std::size_t(n)].tricks;
    if (!validSeatNumber(seat) || taken >= morlu::kHandSlots)
        return refuse();
    addLog(own(seat) ? QStringLiteral("You have taken the trick.")
                     : seatName(seat) + QStringLiteral(" has taken the trick."));
    m_g.taker = seat;
    ++m_g.seats[std::size_t(seat)].tricks;
    m_g.handOver = true;
}

void TableModel::took(std::string_view rest)
{
    /// What the log says after the taker's name, by kind 1..5: when the director took it, and when another seat pays.
    struct TookText {
        const char* director;
        const char* pays;
    };
    static constexpr std::array<TookText, 5> kTookTexts{{
        {" took the King of Hearts.", " -800 for the King of Hearts."},
        {" took a Queen.", " -200 for a Queen."},
        {" took a Spade.", " -100 for a Spade."},
        {" took the First Trick.", " -400 for First Trick."},
        {" took the Last Trick.", " -400 for Last Trick."},
    }};
    const auto message = morlu::Took::read(rest);
    if (!validSeatNumber(message.seat) || message.kind < 1 || message.kind > int(kTookTexts.size()))
        return refuse();
    const TookText& texts = kTookTexts[std::size_t(message.kind - 1)];
    addLog(seatName(message.seat) + QString::fromLatin1(message.director ? texts.director : texts.pays));
    if (message.roundOver)
        addLog(QStringLiteral("No More Money Cards-Round Over."));
}

void TableModel::scores(std::string_view rest)
{
    const auto message = morlu::Scores::read(rest);
    // Banks and changes are whole dollars in an int: sums that would not fit are no host's.
    const auto fits = [](qint64 sum) { return sum >= INT_MIN && sum <= INT_MAX; };
    std::array<bool, morlu::kSeatCount + 1> named{};
    for (const morlu::ScoreGroup& group : message.groups) {
        if (!validSeatNumber(group.seat) || named[std::size_t(group.seat)] ||
            !fits(qint64(group.bank) - morlu::kStartingBank) ||
            !fits(qint64(m_g.seats[std::size_t(group.seat)].roundChange) + group.money))
            return refuse();
        named[std::size_t(group.seat)] = true;
    }
    for (const morlu::ScoreGroup& group : message.groups) {
        Seat& seat = m_g.seats[std::size_t(group.seat)];
        seat.bank = group.bank;
        seat.change = group.money;
        seat.roundChange += group.money;
        seat.gameChange = group.bank - morlu::kStartingBank;
    }
}

void TableModel::dendhand(std::string_view rest)
{
    const int seat = morlu::DEndHand::read(rest).seat;
    if (!validSeatNumber(seat))
        return refuse();
    const bool director = seat == m_g.director;
    if (own(seat))
        addLog(director ? QStringLiteral("You have cards left.") : QStringLiteral("You have cards left. - 800"));
    else
        addLog(seatName(seat) +
               (director ? QStringLiteral(" has cards left.") : QStringLiteral(" has cards left. - 800")));
    m_g.handOver = true;
    m_g.passed.clear();
}

void TableModel::winner(std::string_view rest)
{
    const auto message = morlu::Winner::read(rest);
    // Only a game that runs can be won.
    if (!m_g.gamerunning)
        return refuse();
    settleRound();
    m_g.winner = fromView(message.text);
    m_g.gamerunning = false;
    m_g.turn = 0;
    m_g.chooser = 0;
}
