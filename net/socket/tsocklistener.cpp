#include "tsocklistener.h"

#include "tsockconnection.h"

namespace morlu {

TSockListener::TSockListener(QObject* parent) : ConnectionListener(parent)
{
    m_sock1.setObjectName(QStringLiteral("Sock1"));
    m_sock1.setPortName(QStringLiteral("7772"));
    m_sock1.OnAccept = [this](TSock*) { emit pending(); };
}

TSockListener::~TSockListener()
{
    m_sock1.OnAccept = nullptr;
}

void TSockListener::listen(const QString& port, const QString& address)
{
    if (m_sock1.Listen())
        return;
    m_sock1.setPortName(port);
    m_sock1.setListenAddress(address);
    m_sock1.setListen(true);
}

std::unique_ptr<LineConnection> TSockListener::accept()
{
    TSock* sock = nullptr;
    if (!m_sock1.Accept(sock) || sock == nullptr)
        return nullptr;
    sock->setKeepAlive(true);
    return std::make_unique<TSockConnection>(sock);
}

} // namespace morlu
