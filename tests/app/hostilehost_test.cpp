// The real program joins a host on 127.0.0.1 that sends it whatever a hostile host might: a line of
// megabytes, lines naming seats and cards that do not exist, a game won before any game, a catch-up of
// a game that is not there, a flood of well-formed lines, then a reset. The table must stay up and keep
// answering, its memory must stay bounded, and it must take the loss of the host as it takes any loss of
// its host: by coming back to it.

#include "printers.h"
#include "serverprocess.h"
#include "tempdir.h"
#include "tsock.h"
#include "waituntil.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/socket.h>
#include <sys/types.h>

using morlu::TSock;
using namespace morlu::test;

namespace {

constexpr int kWait = 30000;

/// The hostile host: a listener on a free port of 127.0.0.1 that keeps every table that comes.
class HostileHost {
public:
    HostileHost()
    {
        m_listener.setPortName(QStringLiteral("0"));
        m_listener.setListenAddress(QStringLiteral("127.0.0.1"));
        m_listener.OnAccept = [this](TSock*) {
            TSock* peer = nullptr;
            if (m_listener.Accept(peer)) {
                m_tables.push_back(peer);
                peer->OnRead = [this](TSock* sock, qsizetype) { m_received.append(sock->Receive()); };
            }
        };
        m_listener.setListen(true);
    }
    int port() const { return m_listener.localPort(); }
    /// Tables that connected, the first one and those that came back.
    int connections() const { return int(m_tables.size()); }
    /// The connection that came last.
    TSock& table() const { return *m_tables.back(); }
    void say(const QByteArray& line) { table().Send(line + '\xFF'); }
    /// How often the table has asked to log in to @p slot.
    int logins(int slot) const { return int(m_received.count("CMD_logininfo+" + QByteArray::number(slot) + "+")); }
    /// Ends the connection as a crashed host does (a reset): nothing still on its way arrives.
    void reset()
    {
        const linger abort{1, 0};
        ::setsockopt(table().handle(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        table().Close();
    }

private:
    TSock m_listener;
    std::vector<TSock*> m_tables;
    QByteArray m_received;
};

qint64 residentKb(const QProcess& process)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(process.processId()));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

TEST(HostileHost, TheJoiningProgramStaysUpAnswersKeepsItsMemoryAndComesBackAfterTheReset)
{
    HostileHost host;
    // A copy of the program in a folder of its own keeps its settings and tally there.
    TempDir dir;
    const QString program = dir.file(QStringLiteral("morlu"));
    ASSERT_TRUE(QFile::copy(ServerProcess::program(), program));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcess table;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TMPDIR"), dir.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    // Under the address sanitizer freed memory is held back for a while to catch late uses; the program's
    // own growth is what is measured here, so it is handed back at once (a normal build ignores this).
    const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       sanitizer + (sanitizer.isEmpty() ? "" : ":") + QStringLiteral("quarantine_size_mb=0"));
    table.setProcessEnvironment(environment);
    table.start(program, {QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("false"),
                          QStringLiteral("--port"), QString::number(host.port())});
    ASSERT_TRUE(table.waitForStarted(kWait));
    ASSERT_TRUE(waitUntil([&] { return host.connections() == 1 && host.table().isConnected(); }, kWait));
    host.say("CMD_sendlogininfo+2");
    ASSERT_TRUE(waitUntil([&] { return host.logins(2) == 1; }, kWait));
    const qint64 settled = residentKb(table);
    ASSERT_GT(settled, 0);

    // Lines that cannot be right.
    for (const char* line : {"CMD_winner+Mallory+", "CMD_agame+2+2147483647+s+1+1+1+0+1+0+0+0+0+",
                             "CMD_agame+2+3+s+9+-3+6+12+7+40+33+-1+0+", "CMD_handover+",
                             "CMD_dlayout+9+1+2+3+4+9+9+9+9+", "CMD_startround+7+-3+", "CMD_mycards+2+0+0+9+33+1+1+1+1",
                             "CMD_placecard+0+99+12+t+", "CMD_placecard+7+-3+-3+t+", "CMD_dplacecard+5+9+40+9+12+-3+",
                             "CMD_nextplayer+7+", "CMD_endhand+-1+", "CMD_scores+9+-2147483648+2147483647",
                             "CMD_newplayerinfo+12+Eve", "CMD_justwatching+0+1", "CMD_took+0+77+t+t+"})
        host.say(line);
    // The table still answers its host: a second slot offer is taken up at once.
    host.say("CMD_sendlogininfo+2");
    ASSERT_TRUE(waitUntil([&] { return host.logins(2) == 2; }, kWait));
    EXPECT_EQ(table.state(), QProcess::Running);

    // A flood of well-formed lines, far more than the table handles in the time: it waits in the
    // connection, not in the table's memory.
    QByteArray flood;
    for (int n = 0; n < 2'000'000; ++n)
        flood.append("CMD_nextplayer+2+\xFF");
    host.table().Send(flood);
    flood.clear();
    qint64 peak = 0;
    waitUntil(
        [&] {
            peak = std::max(peak, residentKb(table));
            return false;
        },
        3000);
    EXPECT_LT(peak - settled, 40 * 1024) << "kB grown under the flood";
    EXPECT_EQ(table.state(), QProcess::Running);

    // The host is gone: once the lines that came before are handled, the table comes back to it as after
    // any lost connection.
    host.reset();
    // The backlog is what the connection held, a few thousand lines at most: seconds here, longer under the
    // sanitizers, well within the test's time limit.
    ASSERT_TRUE(waitUntil([&] { return host.connections() == 2 && host.table().isConnected(); }, 5 * kWait))
        << "no reconnection";
    EXPECT_EQ(table.state(), QProcess::Running);

    // Eight megabytes without a line end are dropped, and the next offer is taken up.
    host.table().Send(QByteArray(8 << 20, 'x') + '\xFF');
    host.say("CMD_sendlogininfo+2");
    ASSERT_TRUE(waitUntil([&] { return host.logins(2) == 3; }, kWait));
    EXPECT_LT(residentKb(table) - settled, 40 * 1024) << "kB grown by the long line";

    // And it ends in order when asked.
    ::kill(pid_t(table.processId()), SIGTERM);
    ASSERT_TRUE(table.waitForFinished(kWait));
    EXPECT_EQ(table.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(table.exitCode(), 0);
}

} // namespace
