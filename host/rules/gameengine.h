#pragma once

#include "announcer.h"
#include "cards.h"
#include "computerlevel.h"
#include "computerplayer.h"
#include "expertplayer.h"
#include "gamemessages.h"
#include "masterplayer.h"
#include "gamestate.h"
#include "outbox.h"
#include "random.h"
#include "roundhistory.h"
#include "sessionmessages.h"
#include "seatplayer.h"
#include "timers.h"
#include "trickscorer.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace morlu {

/**
 * The game host's rules: game flow, the five trick contracts, DOMINO and the computer players, over
 * the eleven seat records and the game variables. Plain C++: it talks to the world only through an
 * Outbox (lines to one slot or to all) and a Timers (its two named timers), and draws its chance
 * from the RandomSources it is given: one for the shuffle, one for the simple computer players'
 * choices (the same 32-bit generator for both when a seed pins the game), and a seed for the
 * expert's own streams. The session owns it, feeds it requests and timer ticks, and reads the seat
 * records for seating.
 *
 * Request entry points take the request as its message struct, read once by the session from the line
 * a table sent (a malformed numeric field fails there, before the engine sees anything); the computer
 * players hand in the same structs. Out-of-range numbers are dropped without a reply.
 */
class GameEngine {
public:
    /// Deals and the simple computer players' choices both from @p random, as one seed pins them.
    GameEngine(Outbox& outbox, Timers& timers, RandomSource& random);
    /// Deals from @p deals, the simple computer players' choices from @p choices.
    GameEngine(Outbox& outbox, Timers& timers, RandomSource& deals, RandomSource& choices);

    /// Where the chance comes from from now on (the sources are not owned and must outlive the engine).
    void setRandom(RandomSource& deals, RandomSource& choices);
    /**
     * Seed of the expert's streams: each game's expert seed is mixed from it and the number of the
     * game, never taken from the dealing generator. 0 until set.
     */
    void setExpertSeed(std::uint64_t seed) { m_expertSeed = seed; }

    /// Seat records 1..11 (index 0 unused). Slots 1..4 are the player seats.
    SeatRecord& seat(int n) { return m_state.seats[n]; }
    const SeatRecord& seat(int n) const { return m_state.seats[n]; }

    // --- requests ---------------------------------------------------------------------------------
    /// CMD_startgame: the starter's name and the length. Honoured in every phase; starts over.
    void startgame(const StartGame& request);
    /// CMD_choosetype: the seat and the contract code.
    void choosetype(const ChooseType& request);
    /// CMD_playcard: the seat and the hand slot.
    void playcard(const PlayCard& request);

    // --- timers -----------------------------------------------------------------------------------
    /// Called by the timer adapter each time an armed timer fires.
    void timerFired(TimerId id);

    // --- session hooks ----------------------------------------------------------------------------
    /// Delay of the computer's card play in milliseconds (CMD_botspeed from slot 1).
    void setBotdelay(int ms) { m_botdelay = ms; }
    int botdelay() const { return m_botdelay; }
    /// How the computer plays @p seat (1..4) whenever it plays it: Classic (the default), Expert or Master.
    void setComputerLevel(int seat, ComputerLevel level)
    {
        if (GameState::isSeat(seat))
            m_levels[seat] = level;
    }
    ComputerLevel computerLevel(int seat) const
    {
        return GameState::isSeat(seat) ? m_levels[seat] : ComputerLevel::Classic;
    }
    /// The expert computer player shared by the Expert seats; it takes a new seed with every game.
    ExpertPlayer& expert() { return m_expert; }
    /// The master computer player shared by the Master seats; seeded apart from the expert.
    MasterPlayer& master() { return m_master; }
    /// The player that decides for a seat of @p level from its seat view; null for Classic.
    const SeatPlayer* seatPlayer(ComputerLevel level) const;
    /**
     * Interval of `timer1`, the pause timer, in milliseconds (1000 by default): 3 ticks pass between
     * tricks and 7 between rounds. 0 lets the timer fire on the next turn of the event loop.
     */
    void setPauseTick(int ms) { m_pauseTick = ms < 0 ? 0 : ms; }
    int pauseTick() const { return m_pauseTick; }
    /**
     * The computer takes over @p seat after a departure or a switch to watching: when the seat is on
     * turn and no contract choice is pending, the computer timer is armed with the bot delay;
     * otherwise, when the seat must choose a contract, the computer chooses at once. Nothing happens
     * while no game runs or for seats outside 1..4.
     */
    void computerTakesOver(int seat);
    /**
     * What the master would do in @p seat's place now, decided from that seat's view alone (as for
     * a Master seat, with the same seed): the contract while the seat chooses one, the hand slot of
     * its card while it is on turn and may play; nothing at any other moment. A position asked about
     * again gets the answer it got before without deciding anew.
     */
    std::optional<Hint> hintFor(int seat);
    /**
     * Brings a table that logged in to @p slot up to date while a game runs: CMD_agame, CMD_scores with
     * zero changes and, for a seat, CMD_handsused and CMD_mycards. Nothing while no game runs.
     */
    void catchUp(int slot);

    // --- state, read by the session and by tests ------------------------------------------------
    bool gamerunning() const { return m_state.gamerunning; }
    int turnseat() const { return m_state.turnseat; }
    int chooserseat() const { return m_state.chooserseat; }
    /**
     * A game runs, no contract is being chosen and the seat on turn may play no card: the trick or the
     * DOMINO hand is over, and the pause before the next trick or round runs.
     */
    bool handOver() const
    {
        const GameState& s = m_state;
        // Between tricks the seat before the taker is named (0 before seat 1) until the next trick opens.
        return s.gamerunning && s.chooserseat == 0 &&
               (!s.playopen || (GameState::isSeat(s.turnseat) && s.seats[s.turnseat].played != 0));
    }
    /**
     * The DOMINO layout and the cards each seat still holds, while a DOMINO round is on the board (being
     * played, or in the pause after it); nothing at any other moment.
     */
    std::optional<DLayout> dominoLayout() const;
    /// Every game variable, read-only.
    const GameState& state() const { return m_state; }
    /// The cards laid this round and who laid them, and DOMINO passes: what every table has seen.
    const RoundHistory& history() const { return m_history; }
    /// The hand slot of @p seat that holds @p card; 0 when none does.
    int slotHolding(int seat, int card) const;

private:
    // Game flow.
    void startround();
    void shuffleAndDeal();
    void starthand();
    void findplayer();
    void endround();
    void timer1Timer();
    void checkforwin();
    void armPause(int ticks, int tag);

    // Trick contracts (the charging is m_scorer's).
    void endhand();

    // DOMINO.
    void playdomino(int seat, int slot);
    bool checkforplay(int seat) const { return m_state.domino.checkforplay(m_state.seats[seat]); }

    // Computer players: decisions come from m_computer, requests go through choosetype/playcard.
    void computerchoosehand(int seat);
    void computertimerTimer();
    void computerplay(int seat);

    Timers& m_timers;
    RandomSource* m_deals;
    GameState m_state;
    Announcer m_announcer;
    TrickScorer m_scorer;
    ComputerPlayer m_computer;
    ExpertPlayer m_expert;
    MasterPlayer m_master;
    RoundHistory m_history;
    std::array<ComputerLevel, kSeatCount + 1> m_levels{};
    std::uint64_t m_expertSeed = 0;
    std::uint64_t m_gamesStarted = 0;
    /// The last hint and the position it was for.
    struct HintMemo {
        std::uint64_t game = 0;
        int seat = 0;
        int contractnumber = 0;
        int contract = 0;
        CardMask hand = 0;
        CardMask gone = 0;
        bool operator==(const HintMemo&) const = default;
    };
    HintMemo m_hintFor;
    Hint m_hint;
    int m_botdelay = 0;
    int m_pauseTick = 1000;
};

} // namespace morlu
