#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QThread>

#include <memory>

class QTcpServer;

namespace morlu::test {

/**
 * A home router's UPnP-IGD control as far as port mapping goes, served over HTTP on 127.0.0.1 from its
 * own thread (so a test may block on a call to it): the device description at rootDescription(), and
 * the SOAP actions GetExternalIPAddress, AddPortMapping and DeletePortMapping. It keeps the mappings
 * and every action it was asked for; it can refuse mappings with a UPnP error, or take only
 * permanent ones.
 */
class FakeGateway {
public:
    struct Call {
        QString action;              ///< "AddPortMapping", ...
        QMap<QString, QString> args; ///< "NewExternalPort" -> "7772", ...
    };

    FakeGateway();
    ~FakeGateway();
    FakeGateway(const FakeGateway&) = delete;
    FakeGateway& operator=(const FakeGateway&) = delete;

    /// The URL of the device description (for MORLU_UPNP_ROOTDESC).
    QString rootDescription() const;
    /// The address the router says it has on the internet.
    static constexpr const char* kExternalAddress = "203.0.113.7";

    /// AddPortMapping answers with this UPnP error (0: maps).
    void refuseWith(int code, const QString& description);
    /// AddPortMapping with a lease other than 0 gets error 725 (OnlyPermanentLeasesSupported).
    void takeOnlyPermanent();

    QList<Call> calls() const;
    /// The calls of one action, in order.
    QList<Call> calls(const QString& action) const;
    /// Mapped external ports and their lease ("0" = permanent).
    QMap<QString, QString> mappings() const;

private:
    class Server;
    QThread m_thread;
    Server* m_server = nullptr;
    quint16 m_port = 0;
};

} // namespace morlu::test
