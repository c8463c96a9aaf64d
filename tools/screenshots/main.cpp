// morlu-screenshots [DIR]: saves the board in the states a game passes through as DIR/board-NAME.png,
// and a table window replaying a game record as DIR/replay.png (DIR defaults to the current folder).
// Runs offscreen: QT_QPA_PLATFORM=offscreen.

#include "board.h"
#include "boarddisplay.h"
#include "chatpane.h"
#include "commands.h"
#include "dispatcher.h"
#include "gamedisplay.h"
#include "gamerecord.h"
#include "hintrequester.h"
#include "manualtimer.h"
#include "playerinput.h"
#include "replaycontroller.h"
#include "rounddisplay.h"
#include "standingspanel.h"
#include "tablerecorders.h"
#include "tablereplay.h"
#include "tablestate.h"
#include "tchat.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace morlu;
using namespace morlu::test;

/// A board with its display handlers and input, seated as "You" at seat 1 of a connected solo table,
/// beside "Bea" at seat 2.
class Scene {
public:
    Scene()
    {
        state.myseat = 1;
        state.myname = QStringLiteral("You");
        state.connected = true;
        state.ishost = true;
        board.setSeatName(1, QStringLiteral("You"));
        board.setSeatName(2, QStringLiteral("Bea"));
        display.take(morlu::CMD_newplayerinfo, "1+You");
        display.take(morlu::CMD_newplayerinfo, "2+Bea");
        round.registerOn(commands);
        game.registerOn(commands);
        board.show();
    }

    /// A game start, a round directed by @p director and a dealt hand.
    void openRound(int director)
    {
        round.startthegame("You+l+");
        round.startround(std::to_string(director) + "+1+");
        round.mycards("1+1+2+2+5+3+9+4+12+5+18+6+22+7+27+8+31");
    }

    /// WATERLOO under Bea: Klock takes the first trick with a Queen in it, and the next one is half
    /// played up to the player's turn.
    void playTrick()
    {
        openRound(2);
        round.choosehand("2+2+0+");
        game.starthand("");
        round.getnextplayer("3+");
        game.placecard("3+24+8+t+");
        round.getnextplayer("4+");
        game.placecard("4+21+6+f+");
        round.getnextplayer("1+");
        game.placecard("1+18+5+f+");
        round.getnextplayer("2+");
        game.placecard("2+20+4+f+");
        game.endhand("3+");
        game.took("3+2+f+f+");
        game.scores("1+10000+0+2+10200+200+3+9800+-200+4+10000+0");
        game.starthand("");
        round.getnextplayer("3+");
        game.placecard("3+28+2+t+");
        round.getnextplayer("4+");
        game.placecard("4+26+1+f+");
        round.getnextplayer("1+");
    }

    Board board;
    TableState state;
    ChatRecorder chat;
    HostRecorder host;
    DialogRecorder dialogs;
    TableEvents events;
    BoardDisplay display{board, state, events};
    RoundDisplay round{display, chat, events};
    GameDisplay game{display, chat, events};
    PlayerInput input{board, state, display.model(), host, dialogs, events};
    StandingsPanel* standings = new StandingsPanel(board, display.model());
    ManualTimer hintTimer;
    HintRequester hints{board, display.model(), host, hintTimer};
    morlu::Dispatcher<> commands;
};

struct Picture {
    const char* name;
    std::function<void(Scene&)> stage;
};

const std::vector<Picture>& pictures()
{
    static const std::vector<Picture> all = {
        {"start", [](Scene&) {}},
        {"chooser",
         [](Scene& s) {
             s.round.startthegame("You+s+");
             s.round.startround("1+3+");
             s.round.mycards("1+1+2+2+5+3+9+4+12+5+18+6+22+7+27+8+31");
             s.round.handsused("1+6");
         }},
        {"trick",
         [](Scene& s) {
             s.playTrick();
             s.board.setEyesShown(3, true);
         }},
        {"domino",
         [](Scene& s) {
             s.openRound(3);
             s.round.choosehand("3+6+0+");
             // The Jacks open the suits (start rank 5 in the American order), the Queen of the third follows.
             s.game.dplacecard("3+3+20+3+5+7+");
             s.game.dplacecard("4+3+21+4+5+7+");
             s.game.dplacecard("1+2+12+4+5+7+");
             s.game.dplacecard("2+1+4+1+5+7+");
             s.round.getnextplayer("3+");
         }},
        {"error",
         [](Scene& s) {
             s.playTrick();
             s.game.aerror("1+3+");
         }},
        {"winner",
         [](Scene& s) {
             s.playTrick();
             s.game.winner("Bea and Kling+");
         }},
        {"standings",
         [](Scene& s) {
             // A short game: every seat directs DOMINO and then GUILLOTINE once; what each seat took or paid.
             const int money[8][4] = {{1600, -800, -800, 0},    {-800, 800, 0, 0},        {0, -800, 1600, -800},
                                      {-800, 0, -800, 1600},    {1500, -600, -500, -400}, {-700, 1900, -800, -400},
                                      {-300, -900, 1600, -400}, {-600, -500, -300, 1400}};
             int banks[4] = {10000, 10000, 10000, 10000};
             s.round.startthegame("You+s+");
             for (int round = 1; round <= 8; ++round) {
                 const int director = (round - 1) % 4 + 1;
                 s.round.startround(std::to_string(director) + "+" + std::to_string(round) + "+");
                 s.round.choosehand(std::to_string(director) + (round <= 4 ? "+6+0+" : "+5+0+"));
                 std::string scores;
                 for (int seat = 1; seat <= 4; ++seat) {
                     banks[seat - 1] += money[round - 1][seat - 1];
                     scores += std::to_string(seat) + "+" + std::to_string(banks[seat - 1]) + "+" +
                               std::to_string(money[round - 1][seat - 1]) + (seat < 4 ? "+" : "");
                 }
                 s.game.scores(scores);
             }
             s.game.winner("Kling+");
         }},
        {"instructions", [](Scene& s) { s.input.QuickInstructions1Click(); }},
        {"chat",
         [](Scene& s) {
             // The window's chat pane in the board's chat area, with what two players wrote.
             auto* pane = new ChatPane(
                 s.board.chatArea(), s.state, s.host, [](const QString&) {}, [](const QUrl&) { return true; }, {},
                 &s.board);
             // Made after the board was shown: its parts are shown by hand.
             for (QWidget* part : s.board.chatArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                 part->show();
             pane->systemLine(QStringLiteral("You are Connected."));
             pane->systemLine(QStringLiteral("Bea is Connected."));
             pane->chatrecieved("2+Bea chats: Bonjour! see www.example.org :)#12 and <b>no markup</b>|clBlack");
             pane->chatrecieved("4+ Bea waves back :)#11|$00800000");
             pane->chatrecieved("1+You says: Way To Go Teamie!|clBlack");
             pane->chatrecieved("2+Bea chats: ça va, Jürgen? Привет, Łukasz!|clNavy");
             s.playTrick();
         }},
        {"hint",
         [](Scene& s) {
             s.openRound(2);
             s.round.choosehand("2+3+0+");
             s.game.starthand("");
             s.round.getnextplayer("3+");
             s.game.placecard("3+11+3+t+");
             s.round.getnextplayer("4+");
             s.game.placecard("4+15+5+f+");
             s.round.getnextplayer("1+");
             s.hints.refresh();
             s.hints.hint("1+3+");
         }},
        {"hint-contract",
         [](Scene& s) {
             s.round.startthegame("You+s+");
             s.round.startround("1+1+");
             s.round.mycards("1+1+2+2+5+3+9+4+12+5+18+6+19+7+23+8+24");
             s.hints.refresh();
             s.hints.hint("1+0+5+");
         }},
    };
    return all;
}

/// The first round of a short game as "Ann" in seat 1 recorded it, a chat line included, up to the
/// middle of its second trick; Bea sits in seat 2.
bool writeRecord(const QString& path)
{
    const std::vector<std::pair<int, const char*>> lines = {
        {0, "CMD_startgame+Ann+s+"},
        {1200, "CMD_startround+1+1+"},
        {1210, "CMD_mycards+1+1+2+2+5+3+9+4+12+5+18+6+22+7+27+8+31"},
        {5400, "CMD_choosehand+1+5+0+"},
        {5410, "CMD_starthand+"},
        {5420, "CMD_nextplayer+2+"},
        {6900, "CMD_placecard+2+20+4+t+"},
        {6910, "CMD_nextplayer+3+"},
        {8100, "CMD_placecard+3+23+7+f+"},
        {8110, "CMD_nextplayer+4+"},
        {9300, "CMD_placecard+4+17+1+f+"},
        {9310, "CMD_nextplayer+1+"},
        {12800, "CMD_placecard+1+22+6+f+"},
        {12810, "CMD_endhand+3+"},
        {12820, "CMD_took+3+2+f+f+"},
        {12830, "CMD_scores+1+10200+200+2+10000+0+3+9800+-200+4+10000+0"},
        {14000, "CMD_chat+2+Bea chats: nice one|clBlue"},
        {15830, "CMD_starthand+"},
        {15840, "CMD_nextplayer+3+"},
        {17200, "CMD_placecard+3+9+2+t+"},
        {17210, "CMD_nextplayer+4+"},
        {18500, "CMD_placecard+4+13+3+f+"},
        {18510, "CMD_nextplayer+1+"},
    };
    GameRecordWriter writer;
    if (!writer.open(path, {{"date", "2026-12-08 14:25:01"},
                            {"host", "127.0.0.1"},
                            {"seat", "1"},
                            {"name", "Ann"},
                            {"name1", "Ann"},
                            {"name2", "Bea"},
                            {"name3", "Klock"},
                            {"name4", "Kling"}}))
        return false;
    for (const auto& [ms, line] : lines)
        writer.append(ms, line);
    return writer.close(true);
}

/// A table window replaying writeRecord()'s game, at its last line, saved as @p file.
bool saveReplay(const QString& file)
{
    QTemporaryDir folder;
    const QString record = folder.filePath(QStringLiteral("2026-12-08_142501.morlugame"));
    if (!writeRecord(record))
        return false;
    Tchat table;
    table.setSettingsPath(folder.filePath(QStringLiteral("settings.ini")));
    if (!table.openGameRecord(record))
        return false;
    table.show();
    table.replay().controller().toEnd();
    QApplication::processEvents();
    const QImage image = table.grab().toImage();
    return !image.isNull() && image.save(file);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() > 1 || (args.size() == 1 && args.first().startsWith(QLatin1Char('-')))) {
        std::fprintf(stderr, "usage: morlu-screenshots [DIR]\n");
        return 2;
    }
    const QDir dir(args.value(0, QStringLiteral(".")));
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "morlu-screenshots: cannot make %s\n", qPrintable(dir.path()));
        return 1;
    }
    for (const Picture& picture : pictures()) {
        Scene scene;
        picture.stage(scene);
        QApplication::processEvents();
        const QImage image = scene.board.grab().toImage();
        const QString file = dir.filePath(QStringLiteral("board-%1.png").arg(QLatin1String(picture.name)));
        if (image.isNull() || !image.save(file)) {
            std::fprintf(stderr, "morlu-screenshots: cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }
    const QString replay = dir.filePath(QStringLiteral("replay.png"));
    if (!saveReplay(replay)) {
        std::fprintf(stderr, "morlu-screenshots: cannot write %s\n", qPrintable(replay));
        return 1;
    }
    std::printf("%s\n", qPrintable(replay));
    return 0;
}
