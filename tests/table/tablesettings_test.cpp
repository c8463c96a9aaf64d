#include "tablesettings.h"

#include "printers.h"
#include "profilefile.h"
#include "tempdir.h"
#include "windowplacement.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace morlu::test;

namespace {

TableSettings readFrom(const QByteArray& section)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("kavrinlobby.ini"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Morlu]\r\n" + section);
    file.close();
    return TableSettings::read(ProfileFile(path));
}

TEST(TableSettings, NoFileGivesEveryDefault)
{
    TempDir dir;
    const TableSettings s = TableSettings::read(ProfileFile(dir.file(QStringLiteral("none.ini"))));
    EXPECT_EQ(s, TableSettings{});
    EXPECT_EQ(s.textsize, 8);
    EXPECT_EQ(s.bounds, QRect(3, 3, 789, 595));
    EXPECT_EQ(s.textcolor, 0u);
    EXPECT_TRUE(s.playsounds);
    EXPECT_TRUE(s.chattersounds);
    EXPECT_EQ(s.turnsound, 0);
    EXPECT_EQ(s.botspeed, 1000);
    EXPECT_EQ(s.botspeedItem, TableSettings::BotSpeedItem::Normal);
}

struct ReadRow {
    const char* name;
    QByteArray lines;
    std::function<bool(const TableSettings&)> check;
};

class TableSettingsReading : public ::testing::TestWithParam<ReadRow> {};

TEST_P(TableSettingsReading, FollowsTheKeysReadingRule)
{
    EXPECT_TRUE(GetParam().check(readFrom(GetParam().lines)));
}

using S = TableSettings;
using Item = TableSettings::BotSpeedItem;

INSTANTIATE_TEST_SUITE_P(
    Keys, TableSettingsReading,
    ::testing::Values(
        ReadRow{"HexTextSize", "Textsize=0x0C\r\n", [](const S& s) { return s.textsize == 12; }},
        ReadRow{"DollarHex", "Textsize=$E\r\n", [](const S& s) { return s.textsize == 14; }},
        ReadRow{"OddTextSize", "Textsize=9\r\n", [](const S& s) { return s.textsize == 9; }},
        ReadRow{"NoNumber", "Textsize=big\r\nTop=0x\r\n",
                [](const S& s) { return s.textsize == 8 && s.bounds.top() == 3; }},
        ReadRow{"Bounds", "Top=-20\r\nLeft=$10\r\nWidth=1000\r\nHeight=700\r\n",
                [](const S& s) { return s.bounds == QRect(16, -20, 1000, 700); }},
        ReadRow{"BoundsNearTheIntsEnds", "Left=2147483000\r\nTop=-2147483648\r\nWidth=2147483647\r\nHeight=789\r\n",
                [](const S& s) {
                    return WindowPlacement::onScreen(s.bounds, {QRect(0, 0, 1920, 1040)}) == QRect(3, 3, 1920, 789);
                }},
        ReadRow{"ColourName", "Textcolor=CLRED\r\n", [](const S& s) { return s.textcolor == 0x0000FFu; }},
        ReadRow{"ColourNumber", "Textcolor=$0000FF00\r\n", [](const S& s) { return s.textcolor == 0x00FF00u; }},
        ReadRow{"NoColour", "Textcolor=purplish\r\n", [](const S& s) { return s.textcolor == 0u; }},
        ReadRow{"CapitalFalseIsOn", "Playsounds=False\r\nChatterSounds=FALSE\r\n",
                [](const S& s) { return s.playsounds && s.chattersounds; }},
        ReadRow{"ExactlyFalseIsOff", "Playsounds=false\r\nChatterSounds=false\r\n",
                [](const S& s) { return !s.playsounds && !s.chattersounds; }},
        ReadRow{"Slow1500", "Botspeed=1500\r\n",
                [](const S& s) { return s.botspeed == 1500 && s.botspeedItem == Item::Slow; }},
        ReadRow{"Slow2000", "Botspeed=2000\r\n",
                [](const S& s) { return s.botspeed == 2000 && s.botspeedItem == Item::Slow; }},
        ReadRow{"Fast", "Botspeed=500\r\n",
                [](const S& s) { return s.botspeed == 500 && s.botspeedItem == Item::Fast; }},
        ReadRow{"OtherSpeed", "Botspeed=fast\r\n",
                [](const S& s) { return s.botspeed == 1000 && s.botspeedItem == Item::Normal; }},
        ReadRow{"NewTurnSound", "Turnsound=1\r\n", [](const S& s) { return s.turnsound == 1; }},
        ReadRow{"ClassicTurnSound", "Turnsound=2\r\n", [](const S& s) { return s.turnsound == 0; }},
        // Files written before the master read as they always did; only the exact words count.
        ReadRow{"ExpertBots", "Botlevel=expert\r\n", [](const S& s) { return s.botLevel == S::BotLevel::Expert; }},
        ReadRow{"ClassicBots", "Botlevel=classic\r\n",
                [](const S& s) { return s.botLevel == S::BotLevel::Classic; }},
        ReadRow{"MasterBots", "Botlevel=master\r\n", [](const S& s) { return s.botLevel == S::BotLevel::Master; }},
        ReadRow{"OtherLevelIsClassic", "Botlevel=Expert\r\n",
                [](const S& s) { return s.botLevel == S::BotLevel::Classic; }},
        ReadRow{"OtherMasterIsClassic", "Botlevel=Master \r\n",
                [](const S& s) { return s.botLevel == S::BotLevel::Classic; }},
        ReadRow{"NoLevelIsClassic", "Textsize=8\r\n", [](const S& s) { return s.botLevel == S::BotLevel::Classic; }},
        ReadRow{"HintsAllowed", "AllowHints=true\r\n", [](const S& s) { return s.allowHints; }},
        ReadRow{"HintsOffUnlessTrue", "AllowHints=1\r\n", [](const S& s) { return !s.allowHints; }},
        ReadRow{"NoLobbyOffer", "ShowDownload=false\r\n", [](const S& s) { return !s.showdownload; }},
        ReadRow{"LobbyOffer", "ShowDownload=no\r\n", [](const S& s) { return s.showdownload; }},
        ReadRow{"PlayableCardsOff", "ShowPlayableCards=false\r\n", [](const S& s) { return !s.showPlayableCards; }},
        ReadRow{"PlayableCardsOnUnlessFalse", "ShowPlayableCards=no\r\n",
                [](const S& s) { return s.showPlayableCards; }},
        ReadRow{"RecordsOff", "KeepRecords=false\r\n", [](const S& s) { return !s.keepRecords; }},
        ReadRow{"RecordsOnUnlessFalse", "KeepRecords=0\r\n", [](const S& s) { return s.keepRecords; }},
        ReadRow{"Phrases", "Phrase1=Hello\r\nPhrase9=Bye\r\n",
                [](const S& s) {
                    return s.phrases[0] == QStringLiteral("Hello") && s.phrases[8] == QStringLiteral("Bye") &&
                           s.phrases[4].isEmpty();
                }},
        ReadRow{"ControlCharactersLeavePhrases", "Phrase1=\x01Hi\x02 there\x7F\r\nPhrase2=\x01\r\n",
                [](const S& s) { return s.phrases[0] == QStringLiteral("Hi there") && s.phrases[1].isEmpty(); }},
        // Cut as the editor cuts, never inside a character outside the basic plane.
        ReadRow{"LongPhrasesAreCut",
                "Phrase1=" + QByteArray(70000, 'a') + "\r\nPhrase2=" + QByteArray(49, 'b') +
                    "\xF0\x9F\x82\xA1\r\n",
                [](const S& s) {
                    return s.phrases[0] == QString(50, QLatin1Char('a')) && s.phrases[1] == QString(49, QLatin1Char('b'));
                }}),
    [](const ::testing::TestParamInfo<ReadRow>& info) { return std::string(info.param.name); });

TEST(TableSettings, WritesEveryKeyButThePhrasesAndReadsThemBack)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("kavrinlobby.ini"));
    ProfileFile file(path);
    ASSERT_TRUE(TableSettings::writePhrases(file, {QString(), QString(), QStringLiteral("Nice one")}));
    TableSettings s;
    s.textsize = 14;
    s.bounds = QRect(40, 50, 900, 650);
    s.textcolor = 0x00FF00;
    s.playsounds = false;
    s.botspeed = 500;
    s.botspeedItem = Item::Fast;
    s.turnsound = 1;
    s.chattersounds = false;
    s.botLevel = S::BotLevel::Master;
    s.allowHints = true;
    s.showPlayableCards = false;
    s.keepRecords = false;
    s.phrases[0] = QStringLiteral("not written by write()");
    ASSERT_TRUE(s.write(file));
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(),
              QByteArray("[Morlu]\nPhrase1=\nPhrase2=\nPhrase3=Nice one\nPhrase4=\nPhrase5=\n"
                         "Phrase6=\nPhrase7=\nPhrase8=\nPhrase9=\nTextsize=14\nTop=50\nLeft=40\nWidth=900\n"
                         "Height=650\nTextcolor=clLime\nBotspeed=500\nPlaysounds=false\n"
                         "Turnsound=1\nChatterSounds=false\nBotlevel=master\n"
                         "ShowPlayableCards=false\nKeepRecords=false\nAllowHints=true\n"));
    TableSettings expected = s;
    expected.phrases = {};
    expected.phrases[2] = QStringLiteral("Nice one");
    EXPECT_EQ(TableSettings::read(file), expected);
}

} // namespace

namespace {

// The recent hosts: the newest first, no repeats, at most eight; kept under "RecentHost1".."8" and read
// back in order, the blank keys skipped; the player's name falls back to the login name.
TEST(TableSettings, KeepsTheNameAndTheNewestEightRecentHosts)
{
    struct Row {
        QStringList before;
        const char* added;
        QStringList after;
    };
    QStringList eight;
    for (int n = 1; n <= 8; ++n)
        eight << QStringLiteral("h%1").arg(n);
    const Row rows[] = {
        {{}, "a", {QStringLiteral("a")}},
        {{QStringLiteral("a"), QStringLiteral("b")}, "b", {QStringLiteral("b"), QStringLiteral("a")}},
        {eight, "new", QStringList{QStringLiteral("new")} + eight.mid(0, 7)},
        {eight, "h8", QStringList{QStringLiteral("h8")} + eight.mid(0, 7)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TableSettings::withRecentHost(row.before, QString::fromLatin1(row.added)), row.after) << row.added;

    TempDir dir;
    ProfileFile file(dir.file(QStringLiteral("kavrinlobby.ini")));
    EXPECT_EQ(TableSettings::read(file).playerName, TableSettings::loginName());
    EXPECT_FALSE(TableSettings::loginName().isEmpty());
    ASSERT_TRUE(TableSettings::writeRecentHosts(file, eight));
    ASSERT_TRUE(TableSettings::writeRecentHosts(file, {QStringLiteral("[::1]:7000"), QStringLiteral("b")}));
    ASSERT_TRUE(TableSettings::writePlayerName(file, QStringLiteral("Ann Lee")));
    const TableSettings s = TableSettings::read(file);
    EXPECT_EQ(s.recentHosts, (QStringList{QStringLiteral("[::1]:7000"), QStringLiteral("b")}));
    EXPECT_EQ(s.playerName, QStringLiteral("Ann Lee"));
}

} // namespace
