#include "tableoptions.h"

#include "chatbuttons.h"
#include "chatentry.h"
#include "chatpane.h"
#include "chatview.h"
#include "printers.h"
#include "profilefile.h"
#include "soundoutput.h"
#include "soundplayer.h"
#include "tableevents.h"
#include "tablemenus.h"
#include "tablerecorders.h"
#include "tablestate.h"
#include "tempdir.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

using namespace morlu::test;

namespace {

class SilentOutput : public SoundOutput {
public:
    void play(const QString&) override {}
};

/// The parts the settings apply to, a settings file in a folder of its own and a colour chooser that
/// answers what the test says.
class TableOptionsTest : public ::testing::Test {
protected:
    TableOptionsTest()
    {
        state.myseat = 1;
        state.connected = true;
    }

    void writeFile(const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray fileBytes() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    QAction* action(const char* name) const { return window.findChild<QAction*>(QString::fromLatin1(name)); }
    std::vector<std::string> takeSent()
    {
        std::vector<std::string> sent;
        sent.swap(host.sent);
        return sent;
    }

    TempDir dir;
    QString path = dir.file(QStringLiteral("kavrinlobby.ini"));
    QMainWindow window;
    TableMenus menus{window.menuBar()};
    QWidget area;
    TableState state;
    HostRecorder host;
    ChatPane chat{&area, state, host, [](const QString&) {}};
    SilentOutput output;
    SoundPlayer sounds{output, chat, {}};
    TableEvents events;
    std::optional<QColor> nextColour;
    TableOptions options{TableOptions::Parts{window, menus, chat, sounds, events, host, state}, path,
                         [this](const QColor&) { return nextColour; }};
};

TEST_F(TableOptionsTest, WithoutAFileTheDefaultsApplyAtLogin)
{
    window.move(200, 200);
    window.resize(900, 700);
    options.loadinifile();
    EXPECT_EQ(chat.mainchat().textSize(), 8);
    EXPECT_EQ(QRect(window.pos(), window.size()), QRect(3, 3, 789, 595));
    EXPECT_EQ(options.savedbounds(), QRect(3, 3, 789, 595));
    EXPECT_EQ(chat.textColour(), 0u);
    EXPECT_TRUE(sounds.playSounds());
    EXPECT_TRUE(sounds.chatterSounds());
    EXPECT_TRUE(action("PlayChatterSounds1")->isChecked());
    EXPECT_EQ(events.chosenturnsound(), 0);
    EXPECT_TRUE(action("Classic1")->isChecked());
    EXPECT_TRUE(action("Normal1")->isChecked());
    EXPECT_EQ(options.chosenbotspeed(), 1000);
    EXPECT_TRUE(window.findChild<QMenu*>(QStringLiteral("ComputerPlayers1"))->isEnabled());
    EXPECT_EQ(takeSent(), (std::vector<std::string>{"CMD_botspeed+1+1000+\xFF", "CMD_botlevel+1+classic+\xFF",
                                                    "CMD_botlevel+2+classic+\xFF", "CMD_botlevel+3+classic+\xFF",
                                                    "CMD_botlevel+4+classic+\xFF", "CMD_allowhints+f+\xFF"}));
    EXPECT_EQ(fileBytes(), QByteArray("<none>")) << "reading writes nothing";
}

TEST_F(TableOptionsTest, EveryKeyIsAppliedToItsPart)
{
    writeFile("[Other]\r\nTextsize=99\r\n[Morlu]\r\nTextsize=0x0C\r\nTop=40\r\nLeft=30\r\nWidth=800\r\nHeight=600\r\n"
              "Textcolor=CLRED\r\nPhrase3=Hi all\r\nPhrase4=\r\nPlaysounds=false\r\nBotspeed=2000\r\nTurnsound=1\r\n"
              "ChatterSounds=false\r\nBotlevel=expert\r\nShowPlayableCards=false\r\nKeepRecords=false\r\n");
    options.loadinifile();
    EXPECT_FALSE(action("ShowPlayableCards1")->isChecked());
    EXPECT_FALSE(action("KeepGameRecords1")->isChecked());
    EXPECT_EQ(chat.mainchat().textSize(), 12);
    EXPECT_TRUE(action("N12")->isChecked());
    EXPECT_EQ(QRect(window.pos(), window.size()), QRect(30, 40, 800, 600));
    EXPECT_EQ(chat.textColour(), 0x0000FFu);
    EXPECT_EQ(chat.buttons().phrase(3), QStringLiteral("Hi all"));
    EXPECT_EQ(chat.buttons().phrase(4), QStringLiteral("Excellent!"));
    EXPECT_FALSE(sounds.playSounds());
    EXPECT_FALSE(action("PlaySounds1")->isChecked());
    EXPECT_TRUE(action("Slow1")->isChecked());
    EXPECT_EQ(events.chosenturnsound(), 1);
    EXPECT_TRUE(action("New1")->isChecked());
    EXPECT_FALSE(sounds.chatterSounds());
    EXPECT_TRUE(action("BotExpert1")->isChecked());
    EXPECT_EQ(takeSent(), (std::vector<std::string>{"CMD_botspeed+1+2000+\xFF", "CMD_botlevel+1+expert+\xFF",
                                                    "CMD_botlevel+2+expert+\xFF", "CMD_botlevel+3+expert+\xFF",
                                                    "CMD_botlevel+4+expert+\xFF", "CMD_allowhints+f+\xFF"}));
}

TEST_F(TableOptionsTest, AnotherSeatTellsTheHostNothingAndCannotChooseTheComputerPlayers)
{
    state.myseat = 3;
    options.loadinifile();
    EXPECT_TRUE(host.sent.empty());
    EXPECT_FALSE(window.findChild<QMenu*>(QStringLiteral("ComputerPlayers1"))->isEnabled());
    // A speed chosen from the menu goes out from any seat; the host keeps only slot 1's.
    action("Fast1")->trigger();
    EXPECT_EQ(takeSent(), std::vector<std::string>{"CMD_botspeed+3+500+\xFF"});
}

TEST_F(TableOptionsTest, TheLevelAndTheLeaveForHintsGoOutFromSlotOneOnly)
{
    struct Row {
        int seat;
        const char* stored;
        const char* item;
        std::vector<std::string> atLogin;
        std::vector<std::string> onChoice;
        bool hintsShown;
    };
    const auto levels = [](const char* word) {
        std::vector<std::string> lines;
        for (int seat = 1; seat <= 4; ++seat)
            lines.push_back("CMD_botlevel+" + std::to_string(seat) + "+" + word + "+\xFF");
        return lines;
    };
    const std::vector<std::string> masterLogin = [&] {
        std::vector<std::string> lines{"CMD_botspeed+1+1000+\xFF"};
        for (const std::string& line : levels("master"))
            lines.push_back(line);
        lines.push_back("CMD_allowhints+t+\xFF");
        return lines;
    }();
    const Row rows[] = {
        {1, "[Morlu]\r\nBotlevel=master\r\nAllowHints=true\r\n", "AllowHints1", masterLogin,
         {"CMD_allowhints+f+\xFF"}, true},
        {1, "[Morlu]\r\nBotlevel=master\r\nAllowHints=true\r\n", "BotExpert1", masterLogin, levels("expert"), true},
        {1, "[Morlu]\r\nBotlevel=expert\r\n", "BotMaster1",
         [&] {
             std::vector<std::string> lines{"CMD_botspeed+1+1000+\xFF"};
             for (const std::string& line : levels("expert"))
                 lines.push_back(line);
             lines.push_back("CMD_allowhints+f+\xFF");
             return lines;
         }(),
         levels("master"), true},
        // Another seat neither sees the item nor speaks for the host player, but keeps its own choice.
        {3, "[Morlu]\r\nAllowHints=false\r\n", "AllowHints1", {}, {}, false},
        {3, "[Morlu]\r\nBotlevel=expert\r\n", "BotMaster1", {}, {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.item) + " at seat " + std::to_string(row.seat));
        state.myseat = row.seat;
        writeFile(row.stored);
        options.loadinifile();
        EXPECT_EQ(takeSent(), row.atLogin);
        EXPECT_EQ(action("AllowHints1")->isVisible(), row.hintsShown);
        const bool wasChecked = action(row.item)->isChecked();
        action(row.item)->trigger();
        EXPECT_EQ(takeSent(), row.onChoice);
        const TableSettings kept = TableSettings::read(ProfileFile(path));
        if (std::string(row.item) == "AllowHints1")
            EXPECT_EQ(kept.allowHints, !wasChecked);
        else
            EXPECT_EQ(TableSettings::botLevelWord(kept.botLevel),
                      std::string(row.item) == "BotMaster1" ? QStringLiteral("master") : QStringLiteral("expert"));
    }
}

TEST_F(TableOptionsTest, NothingIsWrittenBeforeTheSettingsWereRead)
{
    const QByteArray stored =
        "; the player's own\r\n[Morlu]\r\nTextsize=14\r\nPlaysounds=true\r\n\r\n[Lobby]\r\nName=Ann\r\n";
    writeFile(stored);
    window.move(100, 100);
    action("PlaySounds1")->trigger();
    action("Slow1")->trigger();
    action("N8")->trigger();
    nextColour = QColor(Qt::green);
    options.TextColor1Click();
    options.FormClose();
    EXPECT_FALSE(options.saveinifile());
    EXPECT_EQ(fileBytes(), stored);
    // They did take effect on the table.
    EXPECT_FALSE(sounds.playSounds());
    EXPECT_EQ(chat.textColour(), 0x00FF00u);

    options.loadinifile();
    action("PlaySounds1")->trigger();
    EXPECT_EQ(fileBytes(), "; the player's own\r\n[Morlu]\r\nTextsize=14\r\nPlaysounds=false\r\nTop=3\r\nLeft=3\r\n"
                           "Width=789\r\nHeight=595\r\nTextcolor=clBlack\r\nBotspeed=1000\r\nTurnsound=0\r\n"
                           "ChatterSounds=true\r\nBotlevel=classic\r\nShowPlayableCards=true\r\nKeepRecords=true\r\n"
                           "AllowHints=false\r\n\r\n[Lobby]\r\n"
                           "Name=Ann\r\n");
}

TEST_F(TableOptionsTest, EachOptionIsWrittenAsItIsChosen)
{
    options.loadinifile();
    struct Row {
        const char* item;
        const char* line;
    };
    const Row rows[] = {{"PlaySounds1", "Playsounds=false"},
                        {"PlayChatterSounds1", "ChatterSounds=false"},
                        {"New1", "Turnsound=1"},
                        {"Slow1", "Botspeed=1500"},
                        {"BotExpert1", "Botlevel=expert"},
                        {"BotMaster1", "Botlevel=master"},
                        {"AllowHints1", "AllowHints=true"},
                        {"N14", "Textsize=14"},
                        {"ShowPlayableCards1", "ShowPlayableCards=false"},
                        {"KeepGameRecords1", "KeepRecords=false"}};
    for (const Row& row : rows) {
        action(row.item)->trigger();
        EXPECT_TRUE(fileBytes().contains(row.line)) << row.item;
    }
    // A size from the menu shows with the next line; the ticks follow the last choice only.
    EXPECT_EQ(chat.mainchat().textSize(), 14);
    action("N10")->trigger();
    EXPECT_FALSE(action("N14")->isChecked());
    EXPECT_TRUE(action("N10")->isChecked());

    nextColour.reset();
    options.TextColor1Click();
    EXPECT_TRUE(fileBytes().contains("Textcolor=clBlack"));
    nextColour = QColor(0, 0, 128);
    options.TextColor1Click();
    EXPECT_TRUE(fileBytes().contains("Textcolor=clNavy"));
    EXPECT_EQ(chat.mychat().palette().color(QPalette::Text), QColor(0, 0, 128));
}

TEST_F(TableOptionsTest, TheWindowsPlaceIsWrittenAtCloseOnlyWhenItMoved)
{
    options.loadinifile();
    options.FormClose();
    EXPECT_EQ(fileBytes(), QByteArray("<none>"));

    window.move(50, 60);
    options.FormClose();
    EXPECT_TRUE(fileBytes().contains("Top=60\nLeft=50\nWidth=789\nHeight=595\n"));
    EXPECT_EQ(options.savedbounds(), QRect(50, 60, 789, 595));

    action("ResetScreenLocation1")->trigger();
    EXPECT_EQ(QRect(window.pos(), window.size()), QRect(3, 3, 789, 595));
    EXPECT_TRUE(fileBytes().contains("Top=60\n")) << "resetting writes nothing";
}

TEST_F(TableOptionsTest, ALoginAfterADroppedConnectionLeavesTheWindowWhereThePlayerPutIt)
{
    writeFile("[Morlu]\nTop=40\nLeft=30\nWidth=800\nHeight=600\n");
    options.loadinifile();
    window.move(200, 150);
    window.resize(850, 650);
    options.loadinifile();
    EXPECT_EQ(QRect(window.pos(), window.size()), QRect(200, 150, 850, 650));
    options.FormClose();
    EXPECT_TRUE(fileBytes().contains("Top=150\nLeft=200\n")) << fileBytes().constData();
}

TEST_F(TableOptionsTest, DoneOnThePhraseEditorSetsTheButtonsAndWritesAllNine)
{
    QStringList phrases;
    for (int n = 1; n <= 9; ++n)
        phrases << (n == 2 ? QString() : QStringLiteral("P%1").arg(n));
    options.savePhrases(phrases);
    EXPECT_EQ(chat.buttons().phrase(2), QString());
    EXPECT_EQ(chat.buttons().phrase(9), QStringLiteral("P9"));
    EXPECT_EQ(fileBytes(), "[Morlu]\nPhrase1=P1\nPhrase2=\nPhrase3=P3\nPhrase4=P4\nPhrase5=P5\nPhrase6=P6\nPhrase7=P7\n"
                           "Phrase8=P8\nPhrase9=P9\n");
}

// A save that fails is said once in the chat, with the path and the reason, and tried again when the
// window closes; phrases are cut to what the editor takes.
TEST_F(TableOptionsTest, AFailedSaveIsSaidOnceAndTriedAgainAtClose)
{
    struct Row {
        const char* name;
        std::function<void()> change;
        QByteArray written; ///< a line the file holds once the folder is there
    };
    QStringList phrases{QString(70, QLatin1Char('p'))};
    const Row rows[] = {
        {"an option", [&] { action("New1")->trigger(); }, "Turnsound=1"},
        {"the phrases", [&] { options.savePhrases(phrases); }, "Phrase1=" + QByteArray(50, 'p') + "\n"},
    };
    options.loadinifile();
    for (const Row& row : rows) {
        const QString folder = dir.file(QString::fromLatin1(row.name));
        path = folder + QStringLiteral("/kavrinlobby.ini");
        options.setPath(path);
        chat.mainchat().ClearMainChat1Click();
        row.change();
        row.change();
        const QStringList said = chat.mainchat().toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(said.size(), 1) << row.name;
        EXPECT_TRUE(said.at(0).contains(path)) << row.name;
        EXPECT_TRUE(said.at(0).contains(QStringLiteral("No such file or directory"))) << row.name;
        ASSERT_TRUE(QDir().mkdir(folder));
        options.FormClose();
        EXPECT_TRUE(fileBytes().contains(row.written)) << row.name << fileBytes().constData();
    }
}

} // namespace
