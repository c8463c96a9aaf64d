#pragma once

#include "dispatcher.h"

#include <QObject>
#include <QString>

#include <string>
#include <string_view>

class Board;
class HostRequests;
class OneShotTimer;
class TableModel;

/**
 * Help > Hint and the key H: asks the host what its best computer player would do in the player's place,
 * and shows the answer. It may ask while the host waits for the own seat, a seat the player plays himself
 * (not watching): its card on the own turn, or its contract choice. The request is CMD_hint with the seat;
 * the host answers that table alone with the hand slot of a card, or 0 and a contract. The table then
 * rings that card or that entry of the contract chooser and writes the hint to the game log, with a few
 * words of why when the table can tell (HintReason); a ringed card takes the keyboard focus from the board
 * or another card, so Enter plays it. The ring goes as soon as the position it was given
 * for is over: the card played, the turn passed on, the contract chosen.
 *
 * An older host drops the request: when no answer comes within kAnswerMs the game log says "This host
 * gives no hints." (with other humans at the table the host player may simply not allow them, and the
 * line says so). While the player chooses a contract the chooser covers the game log, so the hint's
 * reason, or that line, also shows on the board under the contract box until the choice is made. A
 * request that the position overtakes (the turn moves on before the answer) is forgotten without a word,
 * and so is an answer that comes too late for its position.
 */
class HintRequester : public QObject {
    Q_OBJECT

public:
    /// How long the table waits for the host's answer, in milliseconds.
    static constexpr int kAnswerMs = 1000;

    /** @p timer is the one-shot timer of the wait for an answer; it must outlive the requester. */
    HintRequester(Board& board, const TableModel& model, HostRequests& host, OneShotTimer& timer,
                  QObject* parent = nullptr);

    /** Registers CMD_hint, the host's answer. */
    void registerOn(morlu::Dispatcher<>& dispatcher);

    /** True while the player may ask: the own seat, played by the player, is on turn or chooses, and the
     *  table is not offline. */
    bool mayAsk() const;
    /**
     * While @p offline (the table has lost its host and is not seated again) nobody may ask, a ring goes
     * and an answer awaited is forgotten: the host could not receive the move it suggests. Refreshes.
     */
    void setOffline(bool offline);
    /**
     * "Hint" and the key H: asks the host, unless the player may not ask or an answer is awaited. While the
     * answer's ring is still up for its position, nothing is asked again: the hint is only said again.
     */
    void Hint1Click();
    /** CMD_hint from the host: "seat+slot+" or "seat+0+contract+". */
    void hint(std::string_view rest);
    /** After each line from the host: the ring and the wait end with their position; mayAskChanged(). */
    void refresh();

    /** The hand slot whose card is ringed; 0 for none. */
    int ringedSlot() const { return m_ringedSlot; }
    /** The contract whose entry is ringed; 0 for none. */
    int ringedContract() const { return m_ringedContract; }
    bool awaitingAnswer() const { return m_awaiting; }

signals:
    /** mayAsk() changed; the menu item follows it. */
    void mayAskChanged(bool may);
    /** A line for the player: the hint and why, or that no hint came. A screen reader says it. */
    void said(const QString& text);

private:
    void answerOverdue();
    void clearRing();
    void focusRinged();
    bool choosing() const;
    bool othersSeated() const;

    Board& m_board;
    const TableModel& m_model;
    HostRequests& m_host;
    OneShotTimer& m_timer;
    bool m_awaiting = false;
    bool m_mayAsk = false;
    bool m_offline = false;
    int m_ringedSlot = 0;
    int m_ringedContract = 0;
    QString m_said; ///< the line said for the ring that is up
    std::string m_line;
};
