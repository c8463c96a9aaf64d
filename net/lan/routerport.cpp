#include "routerport.h"

#include "upnpmapper.h"

namespace morlu {

RouterPort::RouterPort(quint16 port, QObject* parent) : QObject(parent), m_port(port)
{
    m_thread.setObjectName(QStringLiteral("router"));
    m_mapper = new UpnpMapper(qgetenv("MORLU_UPNP_ROOTDESC"));
    m_mapper->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_mapper, &QObject::deleteLater);
    connect(m_mapper, &UpnpMapper::mapped, this, &RouterPort::mapped);
    connect(m_mapper, &UpnpMapper::failed, this, &RouterPort::failed);
    m_renew.setSingleShot(true);
    connect(&m_renew, &QTimer::timeout, this, [this] {
        QMetaObject::invokeMethod(m_mapper,
                                  [m = m_mapper, port = m_port, lease = m_leaseSeconds] { m->map(port, lease); });
    });
    m_thread.start();
}

RouterPort::~RouterPort()
{
    close();
}

void RouterPort::open()
{
    if (m_closed)
        return;
    QMetaObject::invokeMethod(m_mapper, [m = m_mapper, port = m_port, lease = m_leaseSeconds] { m->map(port, lease); });
}

void RouterPort::close()
{
    if (std::exchange(m_closed, true))
        return;
    m_renew.stop();
    // Behind a mapping still under way, so that one is removed too; waited for, since the worker's
    // loop may end before it would get to a call merely queued.
    QMetaObject::invokeMethod(m_mapper, &UpnpMapper::unmap, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    // The worker went with the thread's end (deleteLater runs as the thread finishes).
    m_mapper = nullptr;
}

void RouterPort::mapped(const QString& external, quint16 port, int leaseSeconds)
{
    if (m_closed)
        return;
    // Half the lease, so a lost renewal has another chance before the router lets go.
    if (leaseSeconds > 0)
        m_renew.start(leaseSeconds * 500);
    const QString address = QStringLiteral("%1:%2").arg(external).arg(port);
    if (!m_address.isEmpty())
        ++m_renewals;
    if (address == m_address)
        return;
    m_address = address;
    emit reachable(address);
}

void RouterPort::failed(const QString& why)
{
    if (m_closed)
        return;
    // A renewal that fails is tried again at the next half lease.
    if (!m_address.isEmpty())
        m_renew.start(m_leaseSeconds * 500);
    m_address.clear();
    emit notReachable(why);
}

} // namespace morlu
