#include "tablelink.h"

#include "esockexception.h"
#include "fieldreader.h"

#include <exception>

using morlu::TSock;
using morlu::TSocketInfo;

TableLink::TableLink(QObject* parent) : QObject(parent)
{
    m_sock.setObjectName(QStringLiteral("sock"));
    m_sock.setPortName(QStringLiteral("7772"));
    m_sock.OnRead = [this](TSock* sender, qsizetype count) { sockRead(sender, count); };
    m_sock.OnInfo = [this](TSock* sender, TSocketInfo info, const QString& msg) { sockInfo(sender, info, msg); };

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(1);
    m_timer1.setTimerType(Qt::PreciseTimer);
    connect(&m_timer1, &QTimer::timeout, this, &TableLink::Timer1Timer);
}

TableLink::~TableLink()
{
    m_sock.OnRead = nullptr;
    m_sock.OnInfo = nullptr;
}

void TableLink::open(const QString& host, const QString& port)
{
    m_sock.setHostName(host);
    m_sock.setPortName(port);
    m_sock.Open();
}

void TableLink::sendline(std::string_view line)
{
    m_sock.Send(QByteArrayView(line.data(), qsizetype(line.size())));
}

void TableLink::sockRead(TSock* sender, qsizetype)
{
    receive(sender->Receive());
}

void TableLink::receive(QByteArrayView bytes)
{
    const auto status = m_framer.feed(std::string_view(bytes.data(), std::size_t(bytes.size())), m_queue, 0);
    startTimer();
    if (status == morlu::LineFramer::Status::LineTooLong && !m_ended) {
        qWarning("Morlu: the host sent a line longer than %zu bytes; closing the connection",
                 morlu::LineFramer::kMaxLine);
        m_sock.Close();
    }
}

void TableLink::sockInfo(TSock* sender, TSocketInfo info, const QString& msg)
{
    // A connection that was made and then fails (the host's end reset it, e.g. because the hosting
    // program ended with lines still unread) is over just as if the host had closed it.
    if (info == TSocketInfo::Error && sender->isConnected() && !m_ended) {
        sender->Close();
        return;
    }
    // Every other report (a refused connection among them) leaves the table as it is.
    if (msg != QLatin1String("Socket Closed") || m_ended)
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
    try {
        m_dispatcher.dispatch(m_line.text);
    } catch (const morlu::FieldError& error) {
        qWarning("%s", error.what());
    } catch (const std::exception& error) {
        qWarning("Morlu: a message from the host was dropped: %s", error.what());
    }
    m_dispatching = false;
    startTimer();
    emit lineHandled();
    finishIfEnded();
    return true;
}

void TableLink::finishIfEnded()
{
    if (m_ended && !m_closedSent && m_queue.empty() && !m_dispatching) {
        m_closedSent = true;
        emit closed();
    }
}
