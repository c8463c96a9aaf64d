#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

namespace morlu {

/**
 * The router's side of a port mapping, through UPnP-IGD. Every call blocks on the network, so the
 * object lives on a worker thread (see RouterPort) and answers with signals.
 *
 * The router is found once: from the device description at @p rootDescription when given, else by
 * discovery on the local network. Mappings are TCP, the same external and internal port, for this
 * machine's address as the router sees it.
 */
class UpnpMapper : public QObject {
    Q_OBJECT

public:
    /// The UPnP error of a router that only keeps permanent mappings.
    static constexpr int kOnlyPermanentLeases = 725;

    explicit UpnpMapper(const QByteArray& rootDescription, QObject* parent = nullptr);
    ~UpnpMapper() override;

    /// Maps (or maps again, to renew) @p port for @p leaseSeconds; a router that keeps only permanent
    /// mappings gets one, reported with a lease of 0.
    void map(quint16 port, int leaseSeconds);
    /// Removes the mapping made by map(), if any.
    void unmap();

signals:
    /// The port is mapped; @p external is the router's address on the internet; @p leaseSeconds 0 = permanent.
    void mapped(const QString& external, quint16 port, int leaseSeconds);
    /// Mapping failed; @p why says so plainly ("no router answered", "the router refused ...").
    void failed(const QString& why);
    void unmapped();

private:
    bool findRouter();

    struct Router;
    std::unique_ptr<Router> m_router;
    QByteArray m_rootDescription;
    quint16 m_mappedPort = 0;
};

} // namespace morlu
