#pragma once

#include "gamerecord.h"
#include "oneshottimer.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <string_view>
#include <vector>

/**
 * What a replay does to the table: forget the game, take recorded lines through the same dispatch the
 * live table uses, and, around many lines at once, keep quiet and draw only at the end.
 */
class ReplayTarget {
public:
    virtual ~ReplayTarget() = default;
    /** The table as before the record's first line: no game, the record's seats and names. */
    virtual void resetGame() = 0;
    /** One recorded line, handled as if the host had just sent it. */
    virtual void feed(std::string_view line) = 0;
    /** Many lines follow: sounds muted and drawing suspended until endBatch(), which draws once. */
    virtual void beginBatch() = 0;
    virtual void endBatch() = 0;
};

/**
 * Plays a game record back on a ReplayTarget, without widgets. The position is the number of the
 * record's lines the table has taken (0 = none, lineCount() = all of them). Going forward hands the
 * table the lines in between; going back resets the table and hands it the lines from the start, so
 * every position shows exactly what the live table showed after that line. A move of more than one
 * line is one batch: quiet, drawn once.
 *
 * Rounds start after each CMD_startround, tricks after each CMD_starthand (in DOMINO a round has one
 * such hand). Playing hands over one line at a time, each after the recorded pause before it, divided
 * by the speed and capped at kMaxPauseMs, on a single-shot timer that is armed only while playing.
 */
class ReplayController : public QObject {
    Q_OBJECT

public:
    /// The speeds offered, as factors of the recorded time.
    static constexpr std::array<double, 5> kSpeeds{0.5, 1.0, 2.0, 4.0, 8.0};
    /// The longest pause between two lines while playing, whatever the record says.
    static constexpr int kMaxPauseMs = 3000;

    /** Plays on @p target; @p timer paces playing (the Qt one when null). */
    explicit ReplayController(ReplayTarget& target, std::unique_ptr<OneShotTimer> timer = {}, QObject* parent = nullptr);
    ~ReplayController() override;

    /**
     * Takes @p read (a whole record, or the part of a damaged one before its unreadable line) and
     * shows it at position 0. The read's error is kept for the player: problem().
     */
    void load(morlu::GameRecordRead read);

    const morlu::GameRecord& record() const { return m_record; }
    int lineCount() const { return int(m_record.lines.size()); }
    int position() const { return m_position; }
    /** Positions right after each CMD_startround, in order. */
    const std::vector<int>& roundStarts() const { return m_roundStarts; }
    /** Positions right after each CMD_starthand, in order. */
    const std::vector<int>& trickStarts() const { return m_trickStarts; }
    /** The round shown at the position, from 1; 0 before the first. */
    int round() const;
    /** The trick of that round shown at the position, from 1; 0 before its first. */
    int trick() const;
    /**
     * Why the record could not be read to its end, for the player ("Line 57 of the record could not be
     * read (a damaged line): the replay ends before it."); empty when it was read whole.
     */
    QString problem() const { return m_problem; }

    /** Shows the table after @p position lines (clamped to 0..lineCount()). */
    void seek(int position);
    void step(int lines) { seek(m_position + lines); }
    void nextTrick();
    void previousTrick();
    void nextRound();
    void previousRound();
    void toStart() { seek(0); }
    void toEnd() { seek(lineCount()); }

    bool playing() const { return m_playing; }
    /** Starts playing from the position (from the start when at the end). */
    void play();
    void pause();
    void togglePlay();
    double speed() const { return kSpeeds[m_speedIndex]; }
    std::size_t speedIndex() const { return m_speedIndex; }
    /** Chooses kSpeeds[@p index] (clamped). */
    void setSpeedIndex(std::size_t index);
    /** The pause before the next line at this speed, in milliseconds; -1 at the end. */
    int nextPause() const;
    /** The play timer has fired: the next line, and the timer armed for the one after it. */
    void timerFired();

signals:
    void positionChanged(int position);
    void playingChanged(bool playing);
    void speedChanged(std::size_t index);
    /** A new record was loaded. */
    void loaded();

private:
    void feedTo(int position);
    void armTimer();

    ReplayTarget& m_target;
    std::unique_ptr<OneShotTimer> m_timer;
    morlu::GameRecord m_record;
    QString m_problem;
    std::vector<int> m_roundStarts;
    std::vector<int> m_trickStarts;
    int m_position = 0;
    bool m_playing = false;
    std::size_t m_speedIndex = 1;
};
