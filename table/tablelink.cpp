#include "tablelink.h"

#include "fieldreader.h"
#include "tsockconnection.h"
#include "wiretext.h"

#include <exception>

using morlu::LineConnection;

TableLink::TableLink(QObject* parent) : TableLink(std::make_unique<morlu::TSockConnection>(), parent) {}

TableLink::TableLink(std::unique_ptr<LineConnection> connection, QObject* parent)
    : QObject(parent), m_sock(std::move(connection))
{
    m_sock->setObjectName(QStringLiteral("sock"));
    // One line the table cannot take is no reason to leave the game: it is dropped, the rest comes.
    m_sock->setDropOverlongLines(true);
    connect(m_sock.get(), &LineConnection::lineReceived, this, &TableLink::sockRead);
    connect(m_sock.get(), &LineConnection::lineTooLong, this, &TableLink::sockLineTooLong);
    connect(m_sock.get(), &LineConnection::failed, this, &TableLink::sockError);
    connect(m_sock.get(), &LineConnection::closed, this, &TableLink::sockClosed);

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(1);
    m_timer1.setTimerType(Qt::PreciseTimer);
    connect(&m_timer1, &QTimer::timeout, this, &TableLink::Timer1Timer);
}

TableLink::~TableLink()
{
    // The connection goes without reports.
    m_sock->disconnect(this);
}

void TableLink::open(const QString& host, const QString& port)
{
    // Also a new connection after the last one ended: it is reported as ended again when it ends.
    m_ended = false;
    m_closedSent = false;
    m_receiving = true;
    m_sock->setReceiving(true);
    m_sock->open(host, port);
}

void TableLink::sendline(std::string_view line)
{
    // The whole line in one character set: Windows-1252 when it fits, which older tables read.
    m_sock->sendLine(morlu::wiretext::encodeLine(line, m_encoded));
}

void TableLink::sockRead(std::string_view line)
{
    m_queue.push(0, line);
    if (m_receiving && m_queue.size() >= kMostWaiting) {
        m_receiving = false;
        m_sock->setReceiving(false);
    }
    startTimer();
}

void TableLink::sockLineTooLong()
{
    ++m_droppedLines;
    qWarning("Morlu: the host sent a line longer than %zu bytes; it was dropped", morlu::LineFramer::kMaxLine);
}

void TableLink::sockError(const QString&)
{
    // A connection that was made and then fails (the host's end reset it, e.g. because the hosting
    // program ended with lines still unread) is over just as if the host had closed it. A refused
    // connection leaves the table as it is.
    if (m_sock->isConnected() && !m_ended)
        m_sock->close();
}

void TableLink::sockClosed()
{
    if (m_ended)
        return;
    m_ended = true;
    finishIfEnded();
}

void TableLink::startTimer()
{
    if (!m_queue.empty() && !m_dispatching && !m_timer1.isActive())
        m_timer1.start();
}

void TableLink::Timer1Timer()
{
    processsocktimer();
    if (m_queue.empty())
        m_timer1.stop();
}

bool TableLink::processsocktimer()
{
    if (m_dispatching || !m_queue.pop(m_line)) {
        finishIfEnded();
        return false;
    }
    // A handler may open a modal box whose loop runs this timer again; lines wait until it returns.
    m_dispatching = true;
    m_timer1.stop();
    if (!m_receiving && m_queue.size() <= kMostWaiting / 2) {
        m_receiving = true;
        m_sock->setReceiving(true);
    }
    // Handlers read UTF-8; an older host sends names and chat in Windows-1252.
    morlu::wiretext::decodeInPlace(m_line.text);
    if (m_observer)
        m_observer(m_line.text);
    dispatch(m_line.text);
    m_dispatching = false;
    startTimer();
    emit lineHandled();
    finishIfEnded();
    return true;
}

void TableLink::handleLine(std::string_view line)
{
    dispatch(line);
    emit lineHandled();
}

void TableLink::dispatch(std::string_view line)
{
    try {
        m_dispatcher.dispatch(line);
    } catch (const morlu::FieldError& error) {
        qWarning("%s", error.what());
    } catch (const std::exception& error) {
        qWarning("Morlu: a message from the host was dropped: %s", error.what());
    }
}

void TableLink::finishIfEnded()
{
    if (m_ended && !m_closedSent && m_queue.empty() && !m_dispatching) {
        m_closedSent = true;
        emit closed();
    }
}
