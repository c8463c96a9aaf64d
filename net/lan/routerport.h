#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>

namespace morlu {

class UpnpMapper;

/**
 * The host's port opened on the home router (UPnP-IGD) for as long as the host runs: mapped at open(),
 * renewed at half the lease, removed at close() (or destruction). The router's calls block, so they
 * run on a worker thread; neither the host nor the window waits for them, except close(), which waits
 * for the removal (bounded by the library's own network timeouts).
 *
 * The router is the one whose device description is named by the environment variable
 * MORLU_UPNP_ROOTDESC (a URL), else the one found by discovery on the local network.
 */
class RouterPort : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultLeaseSeconds = 3600;

    explicit RouterPort(quint16 port, QObject* parent = nullptr);
    ~RouterPort() override;

    /// Lease asked of the router, in seconds (kDefaultLeaseSeconds); before open().
    void setLeaseSeconds(int seconds) { m_leaseSeconds = seconds; }
    /// Asks the router to map the port; reachable() or notReachable() follows.
    void open();
    /// Removes the mapping and waits until the router has been told. Idempotent.
    void close();

    /// "ADDRESS:PORT" once mapped, else empty.
    QString address() const { return m_address; }
    /// Times the mapping was renewed.
    int renewals() const { return m_renewals; }

signals:
    /// Reachable from the internet at @p address ("203.0.113.7:7772").
    void reachable(const QString& address);
    /// Not reachable from the internet; @p why says why plainly.
    void notReachable(const QString& why);

private:
    void mapped(const QString& external, quint16 port, int leaseSeconds);
    void failed(const QString& why);

    quint16 m_port;
    int m_leaseSeconds = kDefaultLeaseSeconds;
    QThread m_thread;
    UpnpMapper* m_mapper = nullptr;
    QTimer m_renew;
    QString m_address;
    int m_renewals = 0;
    bool m_closed = false;
};

} // namespace morlu
