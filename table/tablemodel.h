#pragma once

#include "cards.h"
#include "dispatcher.h"
#include "playrule.h"
#include "sessionmessages.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <string_view>

/**
 * What the host has said about the game, and nothing else: the table's one memory of it. Every line the
 * table receives goes through apply() once, before the display handlers draw it; the board's helpers,
 * the playable cards, the accessibility names, the tally recorder and the standings read the model and
 * never read a widget back. Replaying a game record is feeding the same lines into a fresh model.
 *
 * Plain Qt Core: no widgets, no timers. A malformed numeric field leaves the model as it was (the
 * message is read whole before anything changes). The host is not trusted: a line that cannot be right
 * (a seat, slot, card, rank, count or round out of range, a hand with a card twice, a ninth trick taken
 * in a round, sums of money past what a bank can hold, a winner while no game runs) is ignored whole,
 * apply() says so, and the display handlers then draw nothing of it either.
 */
class TableModel : public QObject {
    Q_OBJECT

public:
    /// One seat as the host has reported it.
    struct Seat {
        QString name; ///< the human's login name; empty while no human holds the seat
        int bank = morlu::kStartingBank;
        int change = 0;      ///< change of bank in the last trick or DOMINO hand
        int gameChange = 0;  ///< change of bank since the game started (the banks start equal)
        int roundChange = 0; ///< change of bank in the running (or last) round
        int roundsWon = 0;   ///< rounds this seat ended with the largest gain (seen whole by this table)
        int directed = 0;    ///< rounds this seat has directed (chosen a contract) in this game
        int tricks = 0;      ///< tricks taken in the running round
        /// DOMINO: cards still in the seat's hand; after a catch-up that names no counts, the best guess
        int cardsLeft = 0;
        bool watching = false; ///< the human only watches; the computer plays the seat
        /// The seat shows its computer player's name while no human holds it (from the first game, or
        /// since a human left it); before that it reads "<Waiting>".
        bool computerNamed = false;
    };

    /// Lines the game log keeps; older ones are dropped.
    static constexpr int kLogLines = 2000;
    /// Rounds of the longest game: each seat directs each contract once.
    static constexpr int kMostRounds = morlu::kSeatCount * morlu::kContractCount;

    explicit TableModel(QObject* parent = nullptr);

    /**
     * Applies one line received from the host (decoded text, without the 0xFF). Lines of words the
     * model does not follow (chat, sounds) change nothing. Emits changed() after a line that changed
     * the game. Throws morlu::FieldError, like the display handlers, for a field that is no integer.
     * Returns false for a line that cannot be right, which changed nothing (see the class comment).
     */
    bool apply(std::string_view line);
    /** The same for a line already cut into its command word and the rest after "word+". */
    bool apply(std::string_view word, std::string_view rest);
    /** The slot the host gave this table (also learnt from CMD_sendlogininfo). */
    void setMyslot(int slot) { m_myslot = slot; }
    /** Forgets the game; the own slot and who sits where are kept. */
    void reset();

    int myslot() const { return m_myslot; }
    bool isPlayerSeat() const { return m_myslot >= 1 && m_myslot <= morlu::kSeatCount; }
    bool gamerunning() const { return m_g.gamerunning; }
    /** Contracts in the game: 8, 16 or 24; 0 before a game. */
    int contracttotal() const { return m_g.contracttotal; }
    /** Number of the running round, from 1; 0 before the first. */
    int round() const { return m_g.round; }
    int director() const { return m_g.director; }
    /** Seat that must choose a contract now; 0 when no choice is pending. */
    int chooser() const { return m_g.chooser; }
    /** Seat whose turn was last announced; 0 before any. */
    int turn() const { return m_g.turn; }
    /** Seat that may play now: the turn, unless the trick or the DOMINO hand is over; 0 for nobody. */
    int onTurn() const { return m_g.handOver ? 0 : m_g.turn; }
    /** The trick (from its fourth card) or the DOMINO hand is over and the next one has not opened: nobody
     *  may play. */
    bool handOver() const { return m_g.handOver; }
    /** Contract of the running round, 1..6; 0 while it is being chosen. */
    int contract() const { return m_g.contract; }
    /** The contract @p code cannot be chosen by this table's seat: used by it, or left out of the game. */
    bool contractUsed(int code) const;
    /** The contract @p code is left out of a game of this length (the first four in a short game). */
    bool contractOutOfGame(int code) const;

    /** The own hand: card code of slot 1..8, 0 for an empty slot (index 0 unused). */
    const std::array<int, morlu::kHandSlots + 1>& hand() const { return m_g.hand; }
    int cardsHeld() const;
    /** The card each seat 1..4 has on the current trick, 0 for none (index 0 unused). */
    const std::array<int, morlu::kSeatCount + 1>& trick() const { return m_g.trick; }
    /** Every seat has a card on the current trick: the host has decided it (never in DOMINO). */
    bool trickFull() const;
    /** Seat that led the current trick; 0 when nobody has. */
    int leader() const { return m_g.leader; }
    /** Seat that took the last trick, until the next trick opens; 0 otherwise. */
    int taker() const { return m_g.taker; }
    /** Trick of the round, 1..8 (the trick being played, or the last one once the round is over). */
    int tricknumber() const { return m_g.tricknumber; }
    /** DOMINO rank 1..8 of the round's first card; 0 before it. */
    int dominoStart() const { return m_g.domino.start; }
    /** The DOMINO layout: the ranks laid on each suit. */
    const morlu::DominoFoundations& layout() const { return m_g.domino; }
    /** The card last laid on the foundation of @p suit (1..4), 0 for none. */
    int foundationTop(int suit) const;
    /** Seats that passed (could lay nothing) on the last turn change, in the order they were passed. */
    const QList<int>& passed() const { return m_g.passed; }

    const Seat& seat(int seat) const;
    /**
     * The name the table shows for @p seat: the human's name, else "<Waiting>" until the seat's computer
     * player is named (a game starts, or a human leaves the seat), then the computer player's name as the
     * host announces it in its winner text (none for seat 1, which is always a person's).
     */
    QString seatName(int seat) const;
    /**
     * The name @p seat plays a game that starts now under: seatName(), but a seat 2..4 that no person holds
     * already by its computer player's name, which the host's start of the game only then gives it.
     */
    QString startingName(int seat) const;
    /** The host's winner text once the game is over; empty before. */
    QString winner() const { return m_g.winner; }
    /** The round the winner was announced after is over and the standings hold. */
    bool gameOver() const { return !m_g.winner.isEmpty(); }
    /**
     * The round this table came into the game at, by the host's catch-up; 0 when it saw the game from its
     * start. Rounds won count only the rounds it saw whole; banks and contracts directed are the game's.
     */
    int joinedRound() const { return m_g.joinedRound; }

    /** What the rule for playable cards needs, from what the host said. */
    morlu::PlayPosition playPosition() const;
    /** The host waits for a card from this table's seat. */
    bool ownTurn() const;

    /** The game log: what the log pane shows, oldest first, at most kLogLines. It outlives a game. */
    const QStringList& log() const { return m_log; }
    /** Empties the game log (a replay going back to its start); logTotal() keeps counting. */
    void clearLog() { m_log.clear(); }
    /** Lines ever written to the log, dropped ones included: a reader that drew n of them draws the rest. */
    qint64 logTotal() const { return m_logTotal; }

    /** The seat's name shown before a game, while nobody holds it. */
    static QString waitingName() { return QStringLiteral("<Waiting>"); }
    /** The chooser of round @p round: the host passes the choice round the table from seat 1. */
    static int chooserOfRound(int round);

signals:
    /** A line changed the game; observers redraw from the model. */
    void changed();

private:
    void startgame(std::string_view rest);
    void startround(std::string_view rest);
    void mycards(std::string_view rest);
    void choosehand(std::string_view rest);
    void alreadychoose(std::string_view rest);
    void starthand(std::string_view rest);
    void nextplayer(std::string_view rest);
    void placecard(std::string_view rest);
    void dplacecard(std::string_view rest);
    void endhand(std::string_view rest);
    void took(std::string_view rest);
    void scores(std::string_view rest);
    void dendhand(std::string_view rest);
    void handover(std::string_view rest);
    void dlayout(std::string_view rest);
    void handsused(std::string_view rest);
    void agame(std::string_view rest);
    void winner(std::string_view rest);
    void sendlogininfo(std::string_view rest);
    void playerinfo(std::string_view rest);
    void playerdisconnected(std::string_view rest);
    void justwatching(std::string_view rest);
    /// The line being applied cannot be right: it changes nothing and apply() returns false.
    void refuse() { m_refused = true; }
    /**
     * A DOMINO round is on the board and @p layout can stand there: a start rank and, for each suit laid,
     * a top of that suit (none before the first card), 0..8 cards in each hand, every card laid or held.
     * CMD_dlayout changes the model only then.
     */
    bool acceptsLayout(const morlu::DLayout& layout) const;
    void settleRound();
    void setLength(std::string_view letter);
    void takeFromHand(int slot);
    void nameComputerSeats();
    void addLog(const QString& line);
    /// The seat's name in a log line: "You" forms are the caller's.
    bool own(int seat) const { return validSeatNumber(seat) && seat == m_myslot; }
    static bool validSeatNumber(int seat) { return seat >= 1 && seat <= morlu::kSeatCount; }
    static bool validSlotNumber(int slot) { return slot >= 1 && slot <= morlu::kSlotCount; }
    static bool validCard(int card) { return card >= 1 && card <= morlu::kCardCount; }
    static bool validHandSlot(int slot) { return slot >= 1 && slot <= morlu::kHandSlots; }
    /// The seat after @p seat round the table (4 is followed by 1).
    static int nextSeatNumber(int seat) { return seat % morlu::kSeatCount + 1; }

    morlu::Dispatcher<> m_words;
    bool m_refused = false;
    int m_myslot = 0;
    /// Everything a new game (or a catch-up) starts afresh.
    struct Game {
        bool gamerunning = false;
        int contracttotal = 0;
        std::array<bool, morlu::kContractCount + 1> outOfGame{};
        std::array<bool, morlu::kContractCount + 1> used{}; ///< by this table's seat
        int round = 0;
        int joinedRound = 0;
        int director = 0;
        int chooser = 0;
        int turn = 0;
        int contract = 0;
        bool roundSettled = true; ///< the rounds won are counted for the last round
        std::array<int, morlu::kHandSlots + 1> hand{};
        std::array<int, morlu::kSeatCount + 1> trick{};
        int leader = 0;
        int taker = 0;
        bool handOver = false; ///< the trick (or the DOMINO hand) is over; nobody may play
        int tricknumber = 1;
        morlu::DominoFoundations domino;
        std::array<int, 5> tops{};
        QList<int> passed;
        std::array<Seat, morlu::kSeatCount + 1> seats{};
        QString winner;
    };
    Game m_g;
    QStringList m_log;
    qint64 m_logTotal = 0;
};
