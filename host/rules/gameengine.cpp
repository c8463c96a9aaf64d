#include "gameengine.h"

#include "gamemessages.h"
#include "names.h"
#include "playrule.h"

namespace morlu {

namespace {

constexpr int kTicksBetweenTricks = 3;
constexpr int kTicksBetweenRounds = 7;
constexpr int kNextTrick = 1;
constexpr int kNextRound = 2;

int previousSeat(int seat)
{
    return seat - 1 < 1 ? kSeatCount : seat - 1;
}

/// What the play rule looks at when @p seat is to play: the tables judge their cards by the same rule.
PlayPosition playPosition(const GameState& s, int seat)
{
    PlayPosition position;
    position.contract = s.contract;
    position.trick = s.tricknumber;
    position.ledsuit = s.ledsuit;
    position.domino.start = s.domino.dominostart();
    for (int suit = Diamonds; suit <= Spades; ++suit) {
        for (int rank = 1; rank <= 8; ++rank)
            position.domino.laid[std::size_t(suit)][std::size_t(rank)] = s.domino.laid(suit, rank);
    }
    for (int slot = 1; slot <= kHandSlots; ++slot)
        position.hand[std::size_t(slot)] = s.seats[seat].cards[std::size_t(slot)];
    return position;
}

} // namespace

int GameEngine::slotHolding(int seat, int card) const
{
    for (int slot = 1; slot <= kHandSlots; ++slot) {
        if (card != 0 && m_state.seats[seat].cards[slot] == card)
            return slot;
    }
    return 0;
}

GameEngine::GameEngine(Outbox& outbox, Timers& timers, RandomSource& random)
    : GameEngine(outbox, timers, random, random)
{
}

GameEngine::GameEngine(Outbox& outbox, Timers& timers, RandomSource& deals, RandomSource& choices)
    : m_timers(timers), m_deals(&deals), m_announcer(outbox, m_state), m_scorer(m_state, m_announcer),
      m_computer(m_state, choices)
{
    for (int seat = 2; seat <= kSeatCount; ++seat)
        m_state.seats[seat].botname = hostComputerName(seat);
}

void GameEngine::setRandom(RandomSource& deals, RandomSource& choices)
{
    m_deals = &deals;
    m_computer.setRandom(choices);
}

const SeatPlayer* GameEngine::seatPlayer(ComputerLevel level) const
{
    switch (level) {
    case ComputerLevel::Expert:
        return &m_expert;
    case ComputerLevel::Master:
        return &m_master;
    case ComputerLevel::Classic:
        break;
    }
    return nullptr;
}

// --- game flow ------------------------------------------------------------------------------------

void GameEngine::startgame(const StartGame& request)
{
    GameState& s = m_state;
    s.gamerunning = true;
    s.playopen = false;
    s.contracttotal = 24;
    m_timers.stop(TimerId::Timer1);
    s.trickleader = 0;

    // The expert and the master draw from their own streams, seeded apart from the dealing generator.
    m_expert.setSeed(PlayoutRandom::mix(m_expertSeed, ++m_gamesStarted));
    m_master.setSeed(PlayoutRandom::mix(m_expert.seed(), 0x4D41535445ull));

    const GameLength length = gamelengthFor(request.length);
    s.gamelength = length.letter;
    m_announcer.toAll(StartGame{request.name, s.gamelength});

    for (int n = 1; n <= kSeatCount; ++n) {
        SeatRecord& record = s.seats[n];
        record.bank = kStartingBank;
        record.justwatch = 0;
        for (int code = 1; code <= kContractCount; ++code)
            record.used[code] = length.used[code] ? 1 : 0;
    }
    s.contracttotal = length.contracts;
    s.directorseat = 4;
    s.chooserseat = 0;
    s.contractnumber = 0;
    startround();
}

void GameEngine::startround()
{
    GameState& s = m_state;
    m_timers.stop(TimerId::Timer1);
    for (int n = 1; n <= kSeatCount; ++n) {
        s.seats[n].money = 0;
        s.seats[n].tookfirst = 0;
        s.seats[n].tooklast = 0;
        s.trickcards[n] = 0;
    }
    s.tricknumber = 1;
    s.queenstaken = 0;
    s.spadestaken = 0;
    s.domino.setDominostart(0);
    m_history.clear();
    s.chooserseat = s.directorseat + 1 > kSeatCount ? 1 : s.directorseat + 1;
    ++s.contractnumber;
    m_announcer.toAll(StartRound{s.chooserseat, s.contractnumber});

    shuffleAndDeal();
    for (int n = 1; n <= kSeatCount; ++n) {
        if (s.seats[n].inuse)
            m_announcer.mycards(n, n);
    }
    if (s.computerPlayed(s.chooserseat))
        computerchoosehand(s.chooserseat);
}

void GameEngine::shuffleAndDeal()
{
    // Each card in turn takes a random empty place: places 1..32 are drawn until an empty one comes up.
    std::array<int, kCardCount + 1> places{};
    for (int card = 1; card <= kCardCount; ++card) {
        int place = 0;
        do {
            place = static_cast<int>(m_deals->draw(kCardCount)) + 1;
        } while (places[place] != 0);
        places[place] = card;
    }
    // Place p goes round the table: seat ((p - 1) mod 4) + 1, slot ((p - 1) div 4) + 1.
    for (int place = 1; place <= kCardCount; ++place)
        m_state.seats[(place - 1) % kSeatCount + 1].cards[(place - 1) / kSeatCount + 1] = places[place];
    for (int n = 1; n <= kSeatCount; ++n) {
        auto& cards = m_state.seats[n].cards;
        std::sort(cards.begin() + 1, cards.end());
    }
}

void GameEngine::choosetype(const ChooseType& request)
{
    GameState& s = m_state;
    if (!GameState::isSeat(request.seat) || !validContract(request.contract))
        return;
    if (request.seat != s.chooserseat)
        return;
    SeatRecord& record = s.seats[request.seat];
    if (record.used[request.contract]) {
        m_announcer.toSeat(request.seat, AlreadyChoose{request.seat, request.contract});
        return;
    }
    s.contract = request.contract;
    s.directorseat = s.chooserseat;
    s.chooserseat = 0;
    record.used[request.contract] = 1;
    s.ledsuit = NoSuit;
    s.domino.clearFoundations();
    s.turnseat = previousSeat(request.seat);
    m_announcer.toAll(ChooseHand{s.directorseat, s.contract});
    s.playopen = true;
    starthand();
}

void GameEngine::starthand()
{
    GameState& s = m_state;
    s.playopen = true;
    m_timers.stop(TimerId::Timer1);
    s.ledsuit = NoSuit;
    m_announcer.toAll(StartHand{});
    for (int n = 1; n <= kSeatCount; ++n) {
        s.trickcards[n] = 0;
        s.seats[n].played = 0;
        s.seats[n].out = 0;
    }
    if (s.turnseat < 1)
        s.turnseat = kSeatCount;
    findplayer();
}

void GameEngine::findplayer()
{
    GameState& s = m_state;
    // In DOMINO a seat that can lay nothing (or is out) passes silently. Some seat can always lay while
    // the round runs; the bound only keeps a broken layout from hanging the host.
    for (int step = 0; step < kSeatCount; ++step) {
        s.turnseat = s.turnseat + 1 > kSeatCount ? 1 : s.turnseat + 1;
        if (s.contract != Domino || s.domino.dominostart() == 0 || checkforplay(s.turnseat))
            break;
        m_history.passed(s.turnseat);
    }
    s.seats[s.turnseat].played = 0;
    m_announcer.toAll(NextPlayer{s.turnseat});
    if (s.computerPlayed(s.turnseat))
        m_timers.arm(TimerId::ComputerTimer, m_botdelay);
}

void GameEngine::armPause(int ticks, int tag)
{
    m_state.countdown = ticks;
    m_state.timer1tag = tag;
    m_timers.arm(TimerId::Timer1, m_pauseTick);
}

void GameEngine::endround()
{
    if (m_state.contractnumber < m_state.contracttotal)
        armPause(kTicksBetweenRounds, kNextRound);
    else
        checkforwin();
}

void GameEngine::timer1Timer()
{
    if (--m_state.countdown >= 1)
        return;
    m_timers.stop(TimerId::Timer1);
    if (m_state.timer1tag == kNextTrick)
        starthand();
    else if (m_state.timer1tag == kNextRound)
        startround();
}

void GameEngine::checkforwin()
{
    GameState& s = m_state;
    int best = 1;
    for (int n = 2; n <= kSeatCount; ++n) {
        if (s.seats[n].bank > s.seats[best].bank)
            best = n;
    }
    const auto nameOf = [&](int n) -> const std::string& {
        return s.seats[n].name.empty() ? s.seats[n].botname : s.seats[n].name;
    };
    std::string text = nameOf(best);
    for (int n = 1; n <= kSeatCount; ++n) {
        if (n != best && s.seats[n].bank == s.seats[best].bank) {
            text += " and ";
            text += nameOf(n);
        }
    }
    m_announcer.toAll(Winner{text});
    s.gamerunning = false;
}

void GameEngine::timerFired(TimerId id)
{
    if (id == TimerId::Timer1)
        timer1Timer();
    else
        computertimerTimer();
}

// --- trick contracts ------------------------------------------------------------------------------

void GameEngine::playcard(const PlayCard& request)
{
    GameState& s = m_state;
    if (!s.playopen)
        return;
    const int seat = request.seat;
    const int slot = request.handSlot;
    if (!GameState::isSeat(seat) || seat != s.turnseat || slot < 1 || slot > kHandSlots)
        return;
    SeatRecord& record = s.seats[seat];
    if (record.played || record.cards[slot] == 0)
        return;
    if (s.contract == Domino) {
        playdomino(seat, slot);
        return;
    }

    const int card = record.cards[slot];
    const int suit = getsuit(card);
    const bool lead = s.ledsuit == NoSuit;
    if (const int code = playRefusal(playPosition(s, seat), slot); code != PlayAllowed) {
        m_announcer.toSeat(seat, AError{seat, code});
        return;
    }
    if (lead) {
        s.ledsuit = suit;
        s.trickleader = seat;
    }
    m_announcer.toAll(PlaceCard{seat, card, slot, lead});
    m_history.played(seat, card);
    record.played = 1;
    s.trickcards[seat] = card;
    record.cards[slot] = 0;

    for (int n = 1; n <= kSeatCount; ++n) {
        if (!s.seats[n].played) {
            findplayer();
            return;
        }
    }
    endhand();
}

void GameEngine::endhand()
{
    GameState& s = m_state;
    s.trickleader = 0;
    int winner = 0;
    for (int n = 1; n <= kSeatCount; ++n) {
        if (getsuit(s.trickcards[n]) == s.ledsuit && (winner == 0 || s.trickcards[n] > s.trickcards[winner]))
            winner = n;
    }
    if (s.tricknumber == 1)
        s.seats[winner].tookfirst = 1;
    if (s.tricknumber == 8)
        s.seats[winner].tooklast = 1;
    m_announcer.toAll(EndHand{winner});

    m_scorer.score(winner);
    m_announcer.scores(0, false);

    if (++s.tricknumber >= 9) {
        endround();
        return;
    }
    s.turnseat = winner - 1;
    s.playopen = false;
    armPause(kTicksBetweenTricks, kNextTrick);
}

// --- DOMINO ---------------------------------------------------------------------------------------

void GameEngine::playdomino(int seat, int slot)
{
    GameState& s = m_state;
    SeatRecord& record = s.seats[seat];
    const int card = record.cards[slot];
    const int suit = getsuit(card);
    if (const int code = playRefusal(playPosition(s, seat), slot); code != PlayAllowed) {
        m_announcer.toSeat(seat, AError{seat, code});
        return;
    }
    if (s.domino.dominostart() == 0)
        s.domino.setDominostart(dominorank(card));
    int held = 0;
    for (int n = 1; n <= kHandSlots; ++n)
        held += record.cards[n] != 0 ? 1 : 0;
    m_announcer.toAll(DPlaceCard{seat, suit, card, slot, s.domino.dominostart(), held - 1});

    s.domino.lay(card);
    m_history.played(seat, card);
    record.played = 1;
    s.trickcards[seat] = card;
    record.cards[slot] = 0;
    record.out = held == 1 ? 1 : 0;

    int outCount = 0;
    int loser = 0;
    for (int n = 1; n <= kSeatCount; ++n) {
        if (s.seats[n].out)
            ++outCount;
        else
            loser = n;
    }
    if (outCount != 3) {
        findplayer();
        return;
    }
    m_announcer.toAll(DEndHand{loser});
    for (int n = 1; n <= kSeatCount; ++n)
        s.seats[n].money = 0;
    if (loser != s.directorseat) {
        s.seats[loser].money = -kDominoCost;
        s.seats[loser].bank -= kDominoCost;
        s.seats[s.directorseat].money = kDominoCost;
        s.seats[s.directorseat].bank += kDominoCost;
    }
    m_announcer.scores(0, false);
    endround();
}

} // namespace morlu
