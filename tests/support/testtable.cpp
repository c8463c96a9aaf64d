#include "testtable.h"

#include "sessionmessages.h"

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

TestTable::TestTable(quint16 port) : m_sock(std::make_unique<TSock>())
{
    m_sock->setHostName(QStringLiteral("127.0.0.1"));
    m_sock->setPortName(QString::number(port));
    m_sock->OnRead = [this](TSock*, qsizetype) { read(); };
    m_sock->OnInfo = [this](TSock*, TSocketInfo info, const QString& msg) {
        // The table's own close() and reset() detach this first, so what is left is the host's doing.
        if (msg == QLatin1String("Socket Closed") || info == TSocketInfo::Error)
            m_closedByHost = true;
    };
    m_sock->Open();
}

TestTable::~TestTable()
{
    m_sock->OnRead = nullptr;
    m_sock->OnInfo = nullptr;
}

void TestTable::read()
{
    const QByteArray bytes = m_sock->Receive();
    // Host lines are never longer than the framer's limit; a failure here shows as missing lines.
    std::vector<std::string> fresh;
    m_framer.feed(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                  [&](std::string_view line) { fresh.emplace_back(line); });
    for (std::string& line : fresh) {
        if (wordOf(line) == CMD_sendlogininfo)
            m_slot = SendLoginInfo::read(std::string_view(line).substr(CMD_sendlogininfo.size() + 1)).slot;
        m_lines.push_back(std::move(line));
        if (onLine)
            onLine(m_lines.back());
    }
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
    m_sock->Send(bytes);
}

void TestTable::close()
{
    m_sock->OnInfo = nullptr;
    m_sock->Close();
}

void TestTable::reset()
{
    const linger hard{1, 0};
    ::setsockopt(m_sock->handle(), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    m_sock->OnInfo = nullptr;
    m_sock->Close();
}

bool TestTable::connected() const
{
    return m_sock->isConnected();
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
