#include "tsockconnection.h"

#include "sockerrors.h"
#include "tsock.h"

namespace morlu {

TSockConnection::TSockConnection(QObject* parent) : LineConnection(parent), m_sock(new TSock(this))
{
    m_sock->setPortName(QStringLiteral("7772"));
    wire();
}

TSockConnection::TSockConnection(TSock* accepted, QObject* parent) : LineConnection(parent), m_sock(accepted)
{
    m_sock->setParent(this);
    m_open = m_sock->hasHandle();
    wire();
}

TSockConnection::~TSockConnection()
{
    // Destroying closes the handle without reports: nobody may hear of a connection that is going.
    m_sock->OnConnect = nullptr;
    m_sock->OnDisconnect = nullptr;
    m_sock->OnRead = nullptr;
    m_sock->OnWrite = nullptr;
    m_sock->OnInfo = nullptr;
    delete m_sock;
}

void TSockConnection::wire()
{
    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, &TSockConnection::connectTimedOut);
    m_sock->OnConnect = [this](TSock*) {
        m_connecting = false;
        m_connectTimer.stop();
        emit connected();
    };
    m_sock->OnRead = [this](TSock* sender, qsizetype) {
        const QByteArray bytes = sender->Receive();
        deliver(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    };
    // After an orderly close by the peer the socket closes itself, which gives the "Socket Closed" below.
    m_sock->OnDisconnect = nullptr;
    m_sock->OnInfo = [this](TSock*, TSocketInfo info, const QString& msg) {
        if (info == TSocketInfo::Error) {
            const bool neverMade = m_connecting;
            m_connecting = false;
            m_connectTimer.stop();
            emit failed(msg);
            if (neverMade)
                emit connectFailed(sockerrors::reason(sockerrors::codeOf(msg)));
        } else if (info == TSocketInfo::Close && m_open) {
            // The socket reports "Socket Closed" on every Close(); the connection ends once.
            m_open = false;
            emit closed();
        }
    };
}

void TSockConnection::open(const QString& host, const QString& port)
{
    // A connection that was never made keeps its failed handle; trying again starts afresh.
    if (m_sock->hasHandle() && !m_sock->isConnected() && !m_sock->isConnecting())
        dropQuietly();
    m_sock->setHostName(host);
    m_sock->setPortName(port);
    if (!m_sock->hasHandle()) {
        resetFraming();
        m_open = true;
    }
    m_connecting = !m_sock->Open();
    if (m_connecting)
        m_connectTimer.start(connectTimeout());
}

void TSockConnection::connectTimedOut()
{
    if (!m_connecting || !m_sock->isConnecting())
        return;
    m_connecting = false;
    dropQuietly();
    const QString report = sockerrors::text(10060);
    emit failed(report);
    emit connectFailed(QStringLiteral("no answer within %1 seconds").arg(connectTimeout() / 1000.0));
}

void TSockConnection::dropQuietly()
{
    m_open = false;
    m_sock->Close();
}

void TSockConnection::sendLine(std::string_view bytes)
{
    m_sock->Send(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

void TSockConnection::close()
{
    m_connecting = false;
    m_connectTimer.stop();
    m_sock->Close();
}

qsizetype TSockConnection::bytesToWrite() const
{
    return m_sock->outgoingSize();
}

QString TSockConnection::peerName() const
{
    return m_sock->HostName();
}

void TSockConnection::setReceiving(bool on)
{
    m_sock->setReading(on);
}

bool TSockConnection::isOpen() const
{
    return m_sock->hasHandle();
}

bool TSockConnection::isConnecting() const
{
    return m_sock->isConnecting();
}

bool TSockConnection::isConnected() const
{
    return m_sock->isConnected();
}

} // namespace morlu
