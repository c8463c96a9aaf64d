#include "replaycontroller.h"

#include "commands.h"
#include "dispatcher.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

/// The first of @p starts after @p position, else @p end.
int after(const std::vector<int>& starts, int position, int end)
{
    const auto it = std::upper_bound(starts.begin(), starts.end(), position);
    return it == starts.end() ? end : *it;
}

/// The last of @p starts before @p position, else 0.
int before(const std::vector<int>& starts, int position)
{
    const auto it = std::lower_bound(starts.begin(), starts.end(), position);
    return it == starts.begin() ? 0 : *std::prev(it);
}

/// How many of @p starts are at or before @p position.
int countUpTo(const std::vector<int>& starts, int position)
{
    return int(std::upper_bound(starts.begin(), starts.end(), position) - starts.begin());
}

} // namespace

ReplayController::ReplayController(ReplayTarget& target, std::unique_ptr<OneShotTimer> timer, QObject* parent)
    : QObject(parent), m_target(target), m_timer(timer ? std::move(timer) : std::make_unique<QtOneShotTimer>())
{
    m_timer->setTimeout([this] { timerFired(); });
}

ReplayController::~ReplayController() = default;

void ReplayController::load(morlu::GameRecordRead read)
{
    pause();
    m_record = std::move(read.record);
    m_problem.clear();
    if (!read.ok()) {
        // The reader's own text begins with the line it names; the player is told it once.
        QString why = read.error;
        why.remove(QRegularExpression(QStringLiteral("^line \\d+: ")));
        m_problem = read.errorLine > 0
                        ? QStringLiteral("Line %1 of the record could not be read: %2. The replay ends before it.")
                              .arg(read.errorLine)
                              .arg(why)
                        : QStringLiteral("The record could not be read: %1.").arg(why);
    }
    m_roundStarts.clear();
    m_trickStarts.clear();
    for (std::size_t n = 0; n < m_record.lines.size(); ++n) {
        const std::string_view word = morlu::splitCommand(m_record.lines[n].text).word;
        if (word == morlu::CMD_startround)
            m_roundStarts.push_back(int(n) + 1);
        else if (word == morlu::CMD_starthand)
            m_trickStarts.push_back(int(n) + 1);
    }
    m_position = 0;
    m_target.beginBatch();
    m_target.resetGame();
    m_target.endBatch();
    emit loaded();
    emit positionChanged(m_position);
}

int ReplayController::round() const
{
    return countUpTo(m_roundStarts, m_position);
}

int ReplayController::trick() const
{
    const int roundStart = before(m_roundStarts, m_position + 1);
    return countUpTo(m_trickStarts, m_position) - countUpTo(m_trickStarts, roundStart);
}

void ReplayController::seek(int position)
{
    position = std::clamp(position, 0, lineCount());
    if (position == m_position) {
        if (m_playing)
            armTimer();
        return;
    }
    if (position == m_position + 1) {
        // One line on: as it happened, sounds and all.
        m_target.feed(m_record.lines[std::size_t(m_position)].text);
        m_position = position;
    } else {
        m_target.beginBatch();
        if (position < m_position) {
            m_target.resetGame();
            m_position = 0;
        }
        feedTo(position);
        m_target.endBatch();
    }
    emit positionChanged(m_position);
    if (m_playing) {
        if (m_position >= lineCount())
            pause();
        else
            armTimer();
    }
}

void ReplayController::feedTo(int position)
{
    for (; m_position < position; ++m_position)
        m_target.feed(m_record.lines[std::size_t(m_position)].text);
}

void ReplayController::nextTrick()
{
    seek(after(m_trickStarts, m_position, lineCount()));
}

void ReplayController::previousTrick()
{
    seek(before(m_trickStarts, m_position));
}

void ReplayController::nextRound()
{
    seek(after(m_roundStarts, m_position, lineCount()));
}

void ReplayController::previousRound()
{
    seek(before(m_roundStarts, m_position));
}

void ReplayController::play()
{
    if (m_playing || lineCount() == 0)
        return;
    if (m_position >= lineCount())
        seek(0);
    m_playing = true;
    emit playingChanged(true);
    armTimer();
}

void ReplayController::pause()
{
    if (!m_playing)
        return;
    m_playing = false;
    m_timer->stop();
    emit playingChanged(false);
}

void ReplayController::togglePlay()
{
    if (m_playing)
        pause();
    else
        play();
}

void ReplayController::setSpeedIndex(std::size_t index)
{
    index = std::min(index, kSpeeds.size() - 1);
    if (index == m_speedIndex)
        return;
    m_speedIndex = index;
    emit speedChanged(index);
    if (m_playing)
        armTimer();
}

int ReplayController::nextPause() const
{
    if (m_position >= lineCount())
        return -1;
    const qint64 now = m_position > 0 ? m_record.lines[std::size_t(m_position - 1)].milliseconds : 0;
    // A record's clock never runs backwards; one that does is read as no pause.
    const qint64 gap = std::max<qint64>(0, m_record.lines[std::size_t(m_position)].milliseconds - now);
    return int(std::min<double>(kMaxPauseMs, std::round(double(gap) / speed())));
}

void ReplayController::timerFired()
{
    if (!m_playing)
        return;
    seek(m_position + 1);
}

void ReplayController::armTimer()
{
    const int pause = nextPause();
    if (pause < 0) {
        this->pause();
        return;
    }
    m_timer->start(pause);
}
