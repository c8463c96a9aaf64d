#include "fakegateway.h"

#include <QHostAddress>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>

namespace morlu::test {

namespace {

constexpr const char* kService = "urn:schemas-upnp-org:service:WANIPConnection:1";

const QByteArray kRootDescription = R"(<?xml version="1.0"?>
<root xmlns="urn:schemas-upnp-org:device-1-0">
<specVersion><major>1</major><minor>0</minor></specVersion>
<device>
<deviceType>urn:schemas-upnp-org:device:InternetGatewayDevice:1</deviceType>
<friendlyName>Test gateway</friendlyName>
<deviceList><device>
<deviceType>urn:schemas-upnp-org:device:WANDevice:1</deviceType>
<serviceList><service>
<serviceType>urn:schemas-upnp-org:service:WANCommonInterfaceConfig:1</serviceType>
<serviceId>urn:upnp-org:serviceId:WANCommonIFC1</serviceId>
<controlURL>/ctl/CmnIfCfg</controlURL><eventSubURL>/evt/CmnIfCfg</eventSubURL><SCPDURL>/WANCfg.xml</SCPDURL>
</service></serviceList>
<deviceList><device>
<deviceType>urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType>
<serviceList><service>
<serviceType>urn:schemas-upnp-org:service:WANIPConnection:1</serviceType>
<serviceId>urn:upnp-org:serviceId:WANIPConn1</serviceId>
<controlURL>/ctl/IPConn</controlURL><eventSubURL>/evt/IPConn</eventSubURL><SCPDURL>/WANIPCn.xml</SCPDURL>
</service></serviceList>
</device></deviceList>
</device></deviceList>
</device>
</root>
)";

QByteArray envelope(const QByteArray& body)
{
    return R"(<?xml version="1.0"?>)"
           R"(<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" )"
           R"(s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body>)" +
           body + "</s:Body></s:Envelope>";
}

QByteArray httpResponse(int status, const QByteArray& body)
{
    const QByteArray reason = status == 200 ? "OK" : status == 404 ? "Not Found" : "Internal Server Error";
    return "HTTP/1.1 " + QByteArray::number(status) + " " + reason +
           "\r\nContent-Type: text/xml; charset=\"utf-8\"\r\nConnection: close\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

} // namespace

/** The HTTP side, on the gateway's thread. */
class FakeGateway::Server : public QTcpServer {
public:
    Server()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    mutable QMutex mutex;
    QList<Call> calls;
    QMap<QString, QString> mappings;
    int refusal = 0;
    QString refusalText;
    bool onlyPermanent = false;

private:
    void serve(QTcpSocket* socket)
    {
        QByteArray& request = m_buffers[socket];
        request += socket->readAll();
        const qsizetype headerEnd = request.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QByteArray head = request.left(headerEnd);
        const QRegularExpression lengthRe(QStringLiteral("(?im)^content-length:\\s*(\\d+)"));
        const auto length = lengthRe.match(QString::fromLatin1(head));
        const qsizetype bodyLength = length.hasMatch() ? length.captured(1).toLongLong() : 0;
        if (request.size() < headerEnd + 4 + bodyLength)
            return;
        const QByteArray body = request.mid(headerEnd + 4, bodyLength);
        m_buffers.remove(socket);
        socket->write(answer(head, body));
        socket->disconnectFromHost();
    }

    QByteArray answer(const QByteArray& head, const QByteArray& body)
    {
        if (head.startsWith("GET ")) {
            if (head.startsWith("GET /rootDesc.xml "))
                return httpResponse(200, kRootDescription);
            return httpResponse(404, QByteArray());
        }
        const QRegularExpression actionRe(QStringLiteral("(?im)^soapaction:\\s*\"?[^#\"]*#(\\w+)"));
        const auto action = actionRe.match(QString::fromLatin1(head));
        if (!action.hasMatch())
            return httpResponse(404, QByteArray());
        Call call{action.captured(1), {}};
        const QRegularExpression argRe(QStringLiteral("<(New\\w+)>([^<]*)</\\1>"));
        for (auto it = argRe.globalMatch(QString::fromUtf8(body)); it.hasNext();) {
            const auto arg = it.next();
            call.args.insert(arg.captured(1), arg.captured(2));
        }
        QMutexLocker lock(&mutex);
        calls.append(call);
        const QByteArray service = kService;
        if (call.action == QLatin1String("GetExternalIPAddress")) {
            return httpResponse(200, envelope("<u:GetExternalIPAddressResponse xmlns:u=\"" + service +
                                              "\"><NewExternalIPAddress>" + kExternalAddress +
                                              "</NewExternalIPAddress></u:GetExternalIPAddressResponse>"));
        }
        if (call.action == QLatin1String("AddPortMapping")) {
            const QString lease = call.args.value(QStringLiteral("NewLeaseDuration"));
            if (refusal != 0)
                return fault(refusal, refusalText);
            if (onlyPermanent && lease != QLatin1String("0"))
                return fault(725, QStringLiteral("OnlyPermanentLeasesSupported"));
            mappings.insert(call.args.value(QStringLiteral("NewExternalPort")), lease);
            return httpResponse(200, envelope("<u:AddPortMappingResponse xmlns:u=\"" + service + "\"/>"));
        }
        if (call.action == QLatin1String("DeletePortMapping")) {
            if (mappings.remove(call.args.value(QStringLiteral("NewExternalPort"))) == 0)
                return fault(714, QStringLiteral("NoSuchEntryInArray"));
            return httpResponse(200, envelope("<u:DeletePortMappingResponse xmlns:u=\"" + service + "\"/>"));
        }
        return fault(401, QStringLiteral("Invalid Action"));
    }

    static QByteArray fault(int code, const QString& description)
    {
        return httpResponse(500, envelope("<s:Fault><faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring>"
                                          "<detail><UPnPError xmlns=\"urn:schemas-upnp-org:control-1-0\"><errorCode>" +
                                          QByteArray::number(code) + "</errorCode><errorDescription>" +
                                          description.toUtf8() + "</errorDescription></UPnPError></detail></s:Fault>"));
    }

    QMap<QTcpSocket*, QByteArray> m_buffers;
};

FakeGateway::FakeGateway()
{
    m_server = new Server;
    m_server->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_server, &QObject::deleteLater);
    m_thread.start();
    QSemaphore listening;
    QMetaObject::invokeMethod(m_server, [this, &listening] {
        m_server->listen(QHostAddress::LocalHost, 0);
        m_port = m_server->serverPort();
        listening.release();
    });
    listening.acquire();
}

FakeGateway::~FakeGateway()
{
    m_thread.quit();
    m_thread.wait();
}

QString FakeGateway::rootDescription() const
{
    return QStringLiteral("http://127.0.0.1:%1/rootDesc.xml").arg(m_port);
}

void FakeGateway::refuseWith(int code, const QString& description)
{
    QMutexLocker lock(&m_server->mutex);
    m_server->refusal = code;
    m_server->refusalText = description;
}

void FakeGateway::takeOnlyPermanent()
{
    QMutexLocker lock(&m_server->mutex);
    m_server->onlyPermanent = true;
}

QList<FakeGateway::Call> FakeGateway::calls() const
{
    QMutexLocker lock(&m_server->mutex);
    return m_server->calls;
}

QList<FakeGateway::Call> FakeGateway::calls(const QString& action) const
{
    QList<Call> picked;
    for (const Call& call : calls()) {
        if (call.action == action)
            picked.append(call);
    }
    return picked;
}

QMap<QString, QString> FakeGateway::mappings() const
{
    QMutexLocker lock(&m_server->mutex);
    return m_server->mappings;
}

} // namespace morlu::test
