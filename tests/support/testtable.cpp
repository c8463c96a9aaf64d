#include "testtable.h"

#include "memoryconnection.h"
#include "sessionmessages.h"
#include "tsock.h"
#include "tsockconnection.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <algorithm>
#include <sys/socket.h>

namespace morlu::test {

std::string_view wordOf(std::string_view line)
{
    const auto plus = line.find('+');
    return plus == std::string_view::npos ? std::string_view() : line.substr(0, plus);
}

TestTable::TestTable(quint16 port) : TestTable(std::make_unique<TSockConnection>())
{
    m_connection->open(QStringLiteral("127.0.0.1"), QString::number(port));
}

TestTable::TestTable(std::unique_ptr<LineConnection> connection) : m_connection(std::move(connection))
{
    m_connection->setDropOverlongLines(true);
    QObject::connect(m_connection.get(), &LineConnection::lineReceived, [this](std::string_view line) { read(line); });
    QObject::connect(m_connection.get(), &LineConnection::lineTooLong, [this] { ++m_overlongLines; });
    // The table's own close() and reset() disconnect these first, so what is left is the host's doing.
    QObject::connect(m_connection.get(), &LineConnection::closed, [this] { m_closedByHost = true; });
    QObject::connect(m_connection.get(), &LineConnection::failed, [this] { m_closedByHost = true; });
}

TestTable::~TestTable()
{
    m_connection->disconnect();
}

void TestTable::read(std::string_view line)
{
    if (wordOf(line) == CMD_sendlogininfo)
        m_slot = SendLoginInfo::read(line.substr(CMD_sendlogininfo.size() + 1)).slot;
    if (!keepLines) {
        if (onLine)
            onLine(line);
        return;
    }
    std::string& kept = m_lines.emplace_back(line);
    if (onLine)
        onLine(kept);
}

int TestTable::waitSlot()
{
    waitUntil([this] { return m_slot != 0 || m_closedByHost; });
    return m_slot;
}

bool TestTable::login(const std::string& name, const std::string& version)
{
    if (waitSlot() == 0)
        return false;
    std::string line;
    LoginInfo{m_slot, version, name}.write(line);
    sendRaw(QByteArray(line.data(), qsizetype(line.size())));
    return waitFor("CMD_newplayerinfo+" + std::to_string(m_slot) + "+" + name);
}

void TestTable::send(std::string_view line)
{
    QByteArray bytes(line.data(), qsizetype(line.size()));
    bytes.append(char(0xFF));
    sendRaw(bytes);
}

void TestTable::sendRaw(const QByteArray& bytes)
{
    m_connection->sendLine(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

void TestTable::close()
{
    m_connection->disconnect();
    m_connection->close();
}

void TestTable::reset()
{
    m_connection->disconnect();
    if (auto* memory = qobject_cast<MemoryConnection*>(m_connection.get())) {
        memory->reset();
        return;
    }
    if (auto* tcp = qobject_cast<TSockConnection*>(m_connection.get())) {
        const linger hard{1, 0};
        ::setsockopt(tcp->sock().handle(), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    }
    m_connection->close();
}

bool TestTable::connected() const
{
    return m_connection->isConnected();
}

std::vector<std::string> TestTable::linesOf(std::string_view word, std::size_t from) const
{
    std::vector<std::string> result;
    for (std::size_t i = from; i < m_lines.size(); ++i) {
        if (wordOf(m_lines[i]) == word)
            result.push_back(m_lines[i]);
    }
    return result;
}

std::vector<std::string> TestTable::linesFrom(std::size_t from) const
{
    return {m_lines.begin() + std::ptrdiff_t(std::min(from, m_lines.size())), m_lines.end()};
}

bool TestTable::has(std::string_view line) const
{
    return std::find(m_lines.begin(), m_lines.end(), line) != m_lines.end();
}

bool TestTable::waitFor(std::string_view line, std::size_t from, int milliseconds)
{
    return waitUntil(
        [&] {
            return std::find(m_lines.begin() + std::ptrdiff_t(std::min(from, m_lines.size())), m_lines.end(), line) !=
                   m_lines.end();
        },
        milliseconds);
}

bool TestTable::waitForWord(std::string_view word, std::size_t from, int milliseconds)
{
    return waitUntil([&] { return !linesOf(word, from).empty(); }, milliseconds);
}

bool TestTable::waitClosed(int milliseconds)
{
    return waitUntil([this] { return m_closedByHost; }, milliseconds);
}

} // namespace morlu::test
