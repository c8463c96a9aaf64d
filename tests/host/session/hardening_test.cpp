// What keeps one table from spoiling the game for the others: lines that always fit, names that are
// cleaned and distinct, one login per connection within its deadline, fair dispatch, departures that
// take their requests with them, a log that cannot be flooded or forged, and accept failures that wait.

#include "lineframer.h"
#include "printers.h"
#include "sessionfixture.h"
#include "sessionmessages.h"
#include "tserver.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace morlu;
using namespace morlu::test;

namespace {

using Lines = std::vector<std::string>;

class HardeningTest : public SessionFixture {
protected:
    void SetUp() override { ann = &join("Ann"); }

    /// A table logs in as @p name and leaves again; the name it was seated under.
    std::string seatedAs(const std::string& name)
    {
        TestTable& table = open();
        const std::size_t from = ann->count();
        LoginInfo login{table.slot(), "1.0.5", name};
        std::string line;
        login.write(line);
        table.sendRaw(QByteArray(line.data(), qsizetype(line.size())));
        EXPECT_TRUE(ann->waitForWord("CMD_newplayerinfo", from));
        const std::string seated = server.slot(table.slot()).name;
        const int slot = table.slot();
        table.close();
        EXPECT_TRUE(waitFree(slot));
        return seated;
    }

    TestTable* ann = nullptr;
};

TEST_F(HardeningTest, NamesAreCleanedAtLogin)
{
    struct Row {
        const char* what;
        std::string sent;
        std::string seated;
    };
    const std::vector<Row> rows{
        {"plain", "Bob", "Bob"},
        {"blanks around", "  Bob \t", "Bob"},
        {"control characters", "B\x01o\nb\x1b[2J", "Bob[2J"},
        {"a forged log line", "Bob\nSlot 1: Ann left", "BobSlot 1: Ann left"},
        {"empty", "", "Player 2"},
        {"only blanks and controls", " \r\n ", "Player 2"},
        {"65000 characters", std::string(65000, 'x'), std::string(40, 'x')},
        {"UTF-8 cut at 40 characters, not bytes",
         [] {
             std::string s;
             for (int i = 0; i < 50; ++i)
                 s += "\xC3\xAB"; // U+00EB
             return s;
         }(),
         [] {
             std::string s;
             for (int i = 0; i < 40; ++i)
                 s += "\xC3\xAB";
             return s;
         }()},
        {"Windows-1252 read as such", "Jos\xE9", "Jos\xC3\xA9"},
        {"C1 controls",
         "B\xC2\x85o\xC2\x9B"
         "b",
         "Bob"},
        {"a right-to-left override", "Eve\xE2\x80\xAEtsoH", "EvetsoH"},
        {"direction isolates and embeddings",
         "\xE2\x81\xA6"
         "Bob\xE2\x81\xA9\xE2\x80\xAA",
         "Bob"},
        {"zero-width characters and other invisible ones",
         "Z\xE2\x80\x8Do\xE2\x80\x8B\xEF\xBB\xBF\xE2\x81\xA0\xC2\xAD"
         "e",
         "Zoe"},
        {"nothing visible", "\xE2\x80\x8B\xE2\x80\x8C", "Player 2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(seatedAs(row.sent), row.seated);
    }
}

TEST_F(HardeningTest, ANameAlreadyAtTheTableIsMadeDistinct)
{
    TestTable& bob = join("Bob");
    TestTable& ivan = join("Ivan");
    struct Row {
        std::string sent;
        std::string seated;
    };
    for (const Row& row : std::vector<Row>{{"Ann", "Ann (2)"},
                                           {"ANN", "ANN (2)"},
                                           {"bob", "bob (2)"},
                                           {"Ann (2)", "Ann (2)"},
                                           {std::string(40, 'y'), std::string(40, 'y')},
                                           {"Carl", "Carl"},
                                           // Look-alikes: a Cyrillic letter, an invisible joiner.
                                           {"\xD0\x92ob", "\xD0\x92ob (2)"},
                                           {"\xD0\x90nn", "\xD0\x90nn (2)"},
                                           {"B\xE2\x80\x8Dob", "Bob (2)"},
                                           {"Iv\xD0\xB0n", "Iv\xD0\xB0n (2)"},
                                           // Different names in different scripts stay as they are.
                                           {"\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD", "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD"},
                                           {"Bo", "Bo"},
                                           {"Iwan", "Iwan"}}) {
        EXPECT_EQ(seatedAs(row.sent), row.seated) << row.sent;
    }
    // With "Ann (2)" seated, the next Ann is "Ann (3)"; a long name makes room for its number.
    TestTable& second = join("Ann (2)");
    EXPECT_EQ(seatedAs("ann"), "ann (3)");
    TestTable& longName = join(std::string(40, 'z'));
    EXPECT_EQ(seatedAs(std::string(40, 'Z')), std::string(36, 'Z') + " (2)");
    (void)bob, (void)ivan, (void)second, (void)longName;
}

TEST_F(HardeningTest, ASecondLoginIsIgnored)
{
    TestTable& bob = join("Bob");
    const std::size_t from = ann->count();
    bob.send("CMD_logininfo+2+1.0.5+Mallory");
    bob.send("CMD_logininfo+2+0.9+Bob");
    ASSERT_TRUE(flush(bob, *ann));
    EXPECT_EQ(server.slot(2).name, "Bob");
    EXPECT_EQ(ann->linesFrom(from), Lines{"CMD_chat+2+Bob chats: marker|clBlack"});
}

// A relayed text cannot show as more than one line, reorder what is around it, or carry a colour the
// tables cannot read (which they draw red: the host says so itself).
TEST_F(HardeningTest, RelayedTextsAreOneLineInTheirOwnDirectionAndColour)
{
    TestTable& bob = join("Bob");
    struct Row {
        std::string sent;
        std::string relayed;
    };
    const std::vector<Row> rows{
        {"CMD_chat+2+hi\r\nObs disconnected.|clBlack", "CMD_chat+2+Bob chats: hi Obs disconnected.|clBlack"},
        {"CMD_chat+2+a\nb\rc\x0B"
         "d\x0C"
         "e|clRed",
         "CMD_chat+2+Bob chats: a b c d e|clRed"},
        {"CMD_chat+2+a\xE2\x80\xA8"
         "b\xE2\x80\xA9"
         "c\xC2\x85"
         "d|clRed",
         "CMD_chat+2+Bob chats: a b c d|clRed"},
        {"CMD_action+2+says: \xE2\x80\xAEniW\xE2\x80\xAC \xE2\x81\xA7x\xE2\x81\xA9|clNavy",
         "CMD_action+2+Bob says: niW x|clNavy"},
        {"CMD_chat+2+lower case|clnavy", "CMD_chat+2+Bob chats: lower case|clnavy"},
        {"CMD_chat+2+any value|$00ff00FF", "CMD_chat+2+Bob chats: any value|$00ff00FF"},
        {"CMD_chat+2+system colour|clBtnFace", "CMD_chat+2+Bob chats: system colour|clBtnFace"},
        {"CMD_chat+2+no colour", "CMD_chat+2+Bob chats: no colour"},
        {"CMD_chat+2+decimal|255", "CMD_chat+2+Bob chats: decimal|clRed"},
        {"CMD_chat+2+short hex|$FF", "CMD_chat+2+Bob chats: short hex|clRed"},
        {"CMD_chat+2+long hex|$0000FF000", "CMD_chat+2+Bob chats: long hex|clRed"},
        {"CMD_chat+2+no such name|clChartreuse", "CMD_chat+2+Bob chats: no such name|clRed"},
        {"CMD_chat+2+empty|", "CMD_chat+2+Bob chats: empty|clRed"},
        {"CMD_chat+2+a|b|clRed", "CMD_chat+2+Bob chats: a|clRed"},
        // The starter's name that slot 1 sends goes to every table too.
        {"CMD_startgame+Ann\nBob have Won the Game!\xE2\x80\xAE+s+", "CMD_startgame+Ann Bob have Won the Game!+s+"},
    };
    for (const Row& row : rows) {
        const std::size_t from = bob.count();
        (wordOf(row.sent) == CMD_startgame ? *ann : bob).send(row.sent);
        ASSERT_TRUE(bob.waitForWord(wordOf(row.sent), from)) << row.sent;
        EXPECT_EQ(bob.linesOf(wordOf(row.sent), from), Lines{row.relayed}) << row.sent;
    }
}

TEST_F(HardeningTest, EveryRelayFitsOneLine)
{
    TestTable& bob = join(std::string(40, 'B'));
    // Three bytes in UTF-8 and no place in the Western set, so the relay goes out as UTF-8 and at its
    // longest: a cut must not split it.
    const std::string mark = "\xE2\x9C\x93";
    std::string marks;
    while (marks.size() + mark.size() <= LineFramer::kMaxLine - 30)
        marks += mark;
    struct Row {
        const char* what;
        std::string request; ///< without the slot: the word, then the rest after "+2+"
        std::string relayStart;
        std::string relayEnd;
    };
    const std::string head = "CMD_chat+2+" + std::string(40, 'B') + " chats: ";
    const std::vector<Row> rows{
        {"chat up to the line limit", "CMD_chat+" + std::string(LineFramer::kMaxLine - 19, 'x') + "|clBlack",
         head + "xxx", "x|clBlack"},
        {"chat without a colour", "CMD_chat+" + std::string(LineFramer::kMaxLine - 11, 'x'), head + "xxx", "xxx"},
        {"action of three-byte characters", "CMD_action+" + marks + "|$00FF00FF",
         "CMD_action+2+" + std::string(40, 'B') + " " + mark, mark + "|$00FF00FF"},
        {"a chatter sound", "CMD_playasound+" + std::string(LineFramer::kMaxLine - 17, 'w'), "CMD_playasound+2+ww",
         "ww"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string word = row.request.substr(0, row.request.find('+'));
        const std::size_t from = ann->count();
        bob.send(word + "+2+" + row.request.substr(word.size() + 1));
        ASSERT_TRUE(ann->waitForWord(word, from));
        const std::string relay = ann->linesOf(word, from).front();
        EXPECT_LE(relay.size(), LineFramer::kMaxLine);
        EXPECT_EQ(relay.substr(0, row.relayStart.size()), row.relayStart);
        EXPECT_EQ(relay.substr(relay.size() - row.relayEnd.size()), row.relayEnd);
    }
    EXPECT_EQ(ann->overlongLines(), 0);
    EXPECT_EQ(bob.overlongLines(), 0);
    EXPECT_FALSE(ann->closedByHost());
    EXPECT_FALSE(bob.closedByHost());
}

TEST_F(HardeningTest, AConnectionThatDoesNotLogInInTimeIsClosed)
{
    TestTable& prompt = join("Prompt");
    server.setLoginTimeout(50); // for the connections from here on
    TestTable& silent = open();
    TestTable& late = open();
    ASSERT_EQ(silent.slot(), 3);
    late.send("CMD_chat+4+anything but a login|clBlack"); // keeps nothing open
    EXPECT_TRUE(silent.waitClosed());
    EXPECT_TRUE(late.waitClosed());
    EXPECT_TRUE(waitFree(3));
    EXPECT_TRUE(waitFree(4));
    // The tables that logged in stay.
    EXPECT_TRUE(flush(prompt, *ann));
    EXPECT_FALSE(prompt.closedByHost());
    EXPECT_TRUE(logged("Slot 3: no login within"));
    // The freed slot is offered again.
    server.setLoginTimeout(TServer::kLoginTimeout);
    EXPECT_EQ(join("Next").slot(), 3);
}

// Nobody keeps the free slots by re-opening connections that never log in: an address may have three
// waiting for their login at once; one more is closed at once, without a slot, and the burst is logged
// once. Tables that log in do not count, and other addresses are not kept out.
TEST_F(HardeningTest, AnAddressMayKeepAtMostThreeConnectionsWaitingForTheirLogin)
{
    std::vector<TestTable*> waiting;
    for (int n = 0; n < 3; ++n)
        waiting.push_back(&open());
    EXPECT_EQ(waiting.back()->slot(), 4);
    for (int n = 0; n < 3; ++n) {
        TestTable& squatter = host.connect();
        EXPECT_TRUE(squatter.waitClosed());
        EXPECT_EQ(squatter.lines(), Lines{});
    }
    EXPECT_EQ(server.slotcount(), 4);
    EXPECT_EQ(log.filter(QStringLiteral("waiting for their login")).size(), 1) << log.join('\n').toStdString();

    // Another address gets its slot; once one of the waiting logs in, so does the next from the first.
    tables.push_back(std::make_unique<TestTable>(host.memory->connect(QStringLiteral("192.0.2.7"))));
    EXPECT_EQ(tables.back()->waitSlot(), 5);
    EXPECT_TRUE(waiting[0]->login("Bob"));
    TestTable& next = join("Cid");
    EXPECT_EQ(next.slot(), 6);
    EXPECT_FALSE(next.closedByHost());

    // Tables that log in promptly, all from one address, fill every slot.
    EXPECT_TRUE(waiting[1]->login("Dee"));
    EXPECT_TRUE(waiting[2]->login("Eve"));
    for (const char* name : {"Fay", "Gus", "Hal"})
        EXPECT_FALSE(join(name).closedByHost()) << name;
    EXPECT_EQ(server.slotcount(), 9);
}

TEST_F(HardeningTest, OnlySlotOneStartsAGame)
{
    TestTable& bob = join("Bob");
    TestTable& spectator = join("Watcher");
    for (TestTable* table : {&bob, &spectator}) {
        table->send("CMD_startgame+" + std::to_string(table->slot()) + "+s+");
        ASSERT_TRUE(flush(*table, *ann));
        EXPECT_FALSE(server.engine().gamerunning());
    }
    ann->send("CMD_startgame+Ann+s+");
    ASSERT_TRUE(flush(*ann, bob));
    EXPECT_TRUE(server.engine().gamerunning());
}

TEST_F(HardeningTest, ADepartedTablesRequestsDoNotActOnTheNextOccupant)
{
    TestTable& bob = join("Bob");
    ann->send("CMD_startgame+Ann+l+");
    ASSERT_TRUE(flush(*ann, bob));
    server.setDispatchInterval(3600000); // lines wait until dispatched by hand
    bob.send("CMD_justwatch+2+1");
    bob.send("CMD_chat+2+from the grave|clBlack");
    ASSERT_TRUE(waitUntil([&] { return server.waitingLines() == 2; }));
    bob.close();
    ASSERT_TRUE(waitFree(2));
    EXPECT_EQ(server.waitingLines(), 0u);
    server.setDispatchInterval(0);
    TestTable& cid = join("Cid");
    ASSERT_EQ(cid.slot(), 2);
    ASSERT_TRUE(flush(cid, *ann));
    EXPECT_EQ(server.slot(2).justwatch, 0);
    EXPECT_TRUE(cid.linesOf("CMD_justwatching").empty());
    for (const std::string& line : ann->linesOf("CMD_chat"))
        EXPECT_EQ(line.find("grave"), std::string::npos);
}

TEST_F(HardeningTest, TablesAreServedInTurnAndJunkTakesNoTick)
{
    TestTable& flood = join("Flood");
    server.setDispatchInterval(3600000);
    struct Row {
        const char* what;
        QByteArray floodBytes;
        std::size_t lines;
        int ticksForAnn; ///< ticks until Ann's chat is relayed, at most
    };
    QByteArray chats;
    for (int i = 0; i < 500; ++i)
        chats += "CMD_chat+2+spam|clBlack\xFF";
    const std::vector<Row> rows{
        {"500 requests ahead", chats, 500, 2},
        {"1000 empty lines ahead", QByteArray(1000, char(0xFF)), 1000, 1},
        {"unknown words ahead", QByteArray("CMD_nosuch+2+\xFF", 14).repeated(500), 500, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        flood.sendRaw(row.floodBytes);
        ASSERT_TRUE(waitUntil([&] { return server.waitingLines() == row.lines; }));
        const std::size_t from = flood.count();
        ann->send("CMD_chat+1+my turn|clBlack");
        ASSERT_TRUE(waitUntil([&] { return server.waitingLines() == row.lines + 1; }));
        // Nothing is dispatched while the relay is waited for: only the ticks below count.
        int ticks = 0;
        do {
            ASSERT_LT(ticks, 10);
            server.socktimerTimer();
            ++ticks;
        } while (!flood.waitFor("CMD_chat+1+Ann chats: my turn|clBlack", from, 200));
        EXPECT_LE(ticks, row.ticksForAnn);
        while (server.waitingLines() > 0)
            server.socktimerTimer();
        QCoreApplication::processEvents();
    }
    EXPECT_FALSE(flood.closedByHost());
}

TEST_F(HardeningTest, TheLogCutsEscapesAndLimitsRepeatedErrors)
{
    qint64 now = 0;
    server.setClock([&now] { return now; });
    TestTable& bob = open();
    bob.send("CMD_logininfo+2+1.0.5+Bob\x1b[2J");
    ASSERT_TRUE(ann->waitFor("CMD_newplayerinfo+2+Bob[2J"));
    for (int i = 0; i < 50; ++i)
        bob.send("CMD_playcard+2+" + std::string(10000, 'q') + "\x1b\n+1+");
    ASSERT_TRUE(flush(bob, *ann));
    now += 1000;
    bob.send("CMD_playcard+2+late+1+");
    ASSERT_TRUE(flush(bob, *ann));
    bob.close();
    ASSERT_TRUE(waitFree(2));

    int errors = 0;
    for (const QString& line : log) {
        EXPECT_LE(line.size(), 300) << line.left(80).toStdString();
        EXPECT_FALSE(line.contains('\n') || line.contains(QChar(0x1b))) << line.left(80).toStdString();
        errors += line.contains("is not a valid integer value") ? 1 : 0;
    }
    EXPECT_EQ(errors, LogLimiter::kLinesPerSecond + 1);
    EXPECT_TRUE(logged("Slot 2: 45 more errors were not logged"));
    EXPECT_TRUE(logged("'late' is not a valid integer value"));
    EXPECT_TRUE(logged("logged in as Bob[2J"));
}

/// Accepting over TCP, where the process can run out of file descriptors.
class AcceptTest : public SessionFixture {
protected:
    AcceptTest() : SessionFixture(Transport::Tcp) {}
};

TEST_F(AcceptTest, FailuresBackOffAndTheConnectionIsTakenOnceDescriptorsAreBack)
{
    // A retry far away: while it waits, nothing may try again however often the loop turns.
    server.setAcceptRetry(3600000);
    TestTable& ann = join("Ann");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    // The kernel completes the connection at once; the host has not seen it yet and, with the limit
    // lowered, finds no descriptor for it.
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    // Every descriptor up to a lowered limit is taken, so the event loop keeps what it has and nothing more
    // can be opened.
    rlimit lowered = saved;
    lowered.rlim_cur = rlim_t(fd) + 16;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
    std::vector<int> fillers;
    for (int filler = ::dup(fd); filler >= 0; filler = ::dup(fd))
        fillers.push_back(filler);
    const auto failures = [&] { return log.filter("Could Not Accept Connection").size(); };
    ASSERT_TRUE(waitUntil([&] { return failures() == 1; }));
    for (int turn = 0; turn < 50; ++turn)
        QCoreApplication::processEvents();
    EXPECT_EQ(failures(), 1) << "one attempt per retry interval, not one per event-loop turn";
    for (const int filler : fillers)
        ::close(filler);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    server.setAcceptRetry(0); // the retry falls due now
    EXPECT_TRUE(waitUntil([&] { return server.slot(2).inuse == 1; }));
    EXPECT_EQ(failures(), 1);
    ::close(fd);
    EXPECT_TRUE(waitFree(2));
    EXPECT_FALSE(ann.closedByHost());
}

} // namespace
