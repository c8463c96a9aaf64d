#include "soundplayer.h"

#include "board.h"
#include "printers.h"
#include "qtsoundoutput.h"
#include "soundoutput.h"
#include "tablerecorders.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSoundEffect>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>

using namespace morlu::test;

namespace {

/// The sound output seam: records what would have been played.
class SoundRecorder : public SoundOutput {
public:
    QStringList played;
    void play(const QString& name) override { played << name; }
};

struct SoundRow {
    const char* name;
    bool playSounds;
    bool chatterSounds;
    bool chatter; ///< a chatter sound from seat 3 rather than a game event
    const char* sound;
    QStringList played;
    QStringList chat;
};

class SoundPlayerSwitches : public ::testing::TestWithParam<SoundRow> {};

TEST_P(SoundPlayerSwitches, EachSwitchGatesItsOwnKindOfSound)
{
    const SoundRow& row = GetParam();
    SoundRecorder output;
    ChatRecorder chat;
    SoundPlayer player(output, chat, [](int seat) { return seat == 3 ? QStringLiteral("Cid") : QString(); });
    player.setPlaySounds(row.playSounds);
    player.setChatterSounds(row.chatterSounds);
    if (row.chatter)
        player.playasound(3, QString::fromLatin1(row.sound));
    else
        player.playsounds(QString::fromLatin1(row.sound));
    EXPECT_EQ(output.played, row.played);
    EXPECT_EQ(chat.texts(), row.chat);
    for (const auto& [line, colour] : chat.lines)
        EXPECT_EQ(colour, ChatSink::kSystemColour);
}

const QStringList kNone;

INSTANTIATE_TEST_SUITE_P(
    Switches, SoundPlayerSwitches,
    ::testing::Values(
        SoundRow{"GameSoundOn", true, false, false, "placecard", {QStringLiteral("placecard")}, kNone},
        SoundRow{"GameSoundOff", false, true, false, "turnnew", kNone, kNone},
        SoundRow{"NameInCapitals", true, true, false, "TURN", {QStringLiteral("turn")}, kNone},
        SoundRow{"ChatterOnWithGameSoundsOff", false, true, true, "wave1", {QStringLiteral("wave1")}, kNone},
        SoundRow{
            "ChatterOffIsWritten", true, false, true, "wave1", kNone, {QStringLiteral("0+Cid: <Chatter Sound> Doh")}},
        SoundRow{"ChatterOffLastTitle",
                 true,
                 false,
                 true,
                 "wave20",
                 kNone,
                 {QStringLiteral("0+Cid: <Chatter Sound> Crying")}},
        // A relayed name that is no chatter sound is neither played nor written.
        SoundRow{"UnknownChatter", true, true, true, "placecard", kNone, kNone},
        SoundRow{"UnknownChatterOff", true, false, true, "wave21", kNone, kNone}),
    [](const ::testing::TestParamInfo<SoundRow>& info) { return std::string(info.param.name); });

TEST(SoundPlayer, AChatterSoundFromASeatWithoutANameWritesNothing)
{
    SoundRecorder output;
    ChatRecorder chat;
    SoundPlayer player(output, chat, [](int) { return QString(); });
    player.playasound(7, QStringLiteral("wave3"));
    EXPECT_TRUE(chat.lines.empty());
}

/**
 * The machine's own output: with no sound device (CI, offscreen) nothing is loaded and nothing waits;
 * with one, every sound is loaded once and a request reaches its effect. Either way a burst of 50
 * requests must not hold up the board: the longest gap between two board repaints during the burst is
 * printed (no timing assertion: the machine is shared).
 */
TEST(QtSoundOutput, ABurstOfRequestsDoesNotHoldUpTheBoard)
{
    QtSoundOutput output;
    SoundRecorder unused;
    ChatRecorder chat;
    SoundPlayer player(output, chat, {});
    if (output.hasDevice()) {
        ASSERT_NE(output.effect(QStringLiteral("placecard")), nullptr);
        EXPECT_EQ(output.effect(QStringLiteral("PLACECARD")), output.effect(QStringLiteral("placecard")));
    } else {
        EXPECT_EQ(output.effect(QStringLiteral("placecard")), nullptr);
    }

    Board board;
    board.show();
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    int repaints = 0;
    QTimer repaint;
    repaint.setInterval(2);
    QObject::connect(&repaint, &QTimer::timeout, &board, [&] {
        board.repaint();
        const qint64 at = clock.nsecsElapsed();
        if (repaints++ > 0)
            longest = std::max(longest, at - last);
        last = clock.nsecsElapsed();
    });
    repaint.start();
    const QStringList names{QStringLiteral("placecard"), QStringLiteral("turn"), QStringLiteral("wave7"),
                            QStringLiteral("gotmoney"), QStringLiteral("error")};
    int requests = 0;
    QTimer burst;
    burst.setInterval(1);
    QObject::connect(&burst, &QTimer::timeout, &board, [&] {
        player.playsounds(names.at(requests % names.size()));
        if (++requests == 50)
            burst.stop();
    });
    burst.start();
    QElapsedTimer deadline;
    deadline.start();
    while ((requests < 50 || repaints < 10) && deadline.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    repaint.stop();
    EXPECT_EQ(requests, 50);
    EXPECT_EQ(output.started(), output.hasDevice() ? 50 : 0);
    std::printf("[ measured ] 50 sound requests (%s): longest gap between board repaints %.2f ms over %d repaints\n",
                output.hasDevice() ? "sound device" : "no sound device", double(longest) / 1e6, repaints);
}

} // namespace
