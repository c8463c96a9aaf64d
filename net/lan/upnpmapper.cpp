#include "upnpmapper.h"

#include <cstring>
#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <miniupnpc/upnperrors.h>

namespace morlu {

namespace {

constexpr int kDiscoveryMs = 2000;
constexpr const char* kProtocol = "TCP";
constexpr const char* kDescription = "Morlu";

QString upnpError(int code)
{
    const char* text = strupnperror(code);
    return text != nullptr ? QStringLiteral("%1 %2").arg(code).arg(QString::fromUtf8(text))
                           : QStringLiteral("error %1").arg(code);
}

} // namespace

struct UpnpMapper::Router {
    UPNPUrls urls{};
    IGDdatas data{};
    char lanAddress[64] = {};

    ~Router() { FreeUPNPUrls(&urls); }
};

UpnpMapper::UpnpMapper(const QByteArray& rootDescription, QObject* parent)
    : QObject(parent), m_rootDescription(rootDescription)
{
}

UpnpMapper::~UpnpMapper() = default;

bool UpnpMapper::findRouter()
{
    if (m_router)
        return true;
    auto router = std::make_unique<Router>();
    int found = 0;
    if (!m_rootDescription.isEmpty()) {
        found = UPNP_GetIGDFromUrl(m_rootDescription.constData(), &router->urls, &router->data, router->lanAddress,
                                   sizeof router->lanAddress);
    } else {
        int error = 0;
        UPNPDev* devices = upnpDiscover(kDiscoveryMs, nullptr, nullptr, UPNP_LOCAL_PORT_ANY, 0, 2, &error);
        if (devices != nullptr) {
            found =
                UPNP_GetValidIGD(devices, &router->urls, &router->data, router->lanAddress, sizeof router->lanAddress);
            freeUPNPDevlist(devices);
        }
    }
    if (found == 0 || router->urls.controlURL == nullptr) {
        emit failed(QStringLiteral("no router answered"));
        return false;
    }
    m_router = std::move(router);
    return true;
}

void UpnpMapper::map(quint16 port, int leaseSeconds)
{
    if (!findRouter())
        return;
    const QByteArray portText = QByteArray::number(port);
    const QByteArray leaseText = QByteArray::number(leaseSeconds);
    int lease = leaseSeconds;
    int result = UPNP_AddPortMapping(m_router->urls.controlURL, m_router->data.first.servicetype, portText.constData(),
                                     portText.constData(), m_router->lanAddress, kDescription, kProtocol, nullptr,
                                     leaseText.constData());
    if (result == kOnlyPermanentLeases) {
        lease = 0;
        result = UPNP_AddPortMapping(m_router->urls.controlURL, m_router->data.first.servicetype, portText.constData(),
                                     portText.constData(), m_router->lanAddress, kDescription, kProtocol, nullptr, "0");
    }
    if (result != UPNPCOMMAND_SUCCESS) {
        emit failed(QStringLiteral("the router refused to open port %1 (%2)").arg(port).arg(upnpError(result)));
        return;
    }
    m_mappedPort = port;
    char external[64] = {};
    result = UPNP_GetExternalIPAddress(m_router->urls.controlURL, m_router->data.first.servicetype, external);
    if (result != UPNPCOMMAND_SUCCESS || external[0] == '\0') {
        emit failed(QStringLiteral("the router opened port %1 but did not tell its internet address").arg(port));
        return;
    }
    emit mapped(QString::fromLatin1(external), port, lease);
}

void UpnpMapper::unmap()
{
    if (m_router && m_mappedPort != 0) {
        const QByteArray portText = QByteArray::number(m_mappedPort);
        UPNP_DeletePortMapping(m_router->urls.controlURL, m_router->data.first.servicetype, portText.constData(),
                               kProtocol, nullptr);
        m_mappedPort = 0;
    }
    emit unmapped();
}

} // namespace morlu
