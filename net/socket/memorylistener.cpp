#include "memorylistener.h"

#include "sockerrors.h"
#include "uncaughterror.h"

#include <cerrno>

namespace morlu {

MemoryListener::MemoryListener(QObject* parent) : ConnectionListener(parent) {}

MemoryListener::~MemoryListener() = default;

void MemoryListener::listen(const QString&, const QString&)
{
    m_listening = true;
}

std::unique_ptr<MemoryConnection> MemoryListener::connect(const QString& tableName)
{
    if (!m_listening) {
        // An end joined to nothing: nothing it sends goes anywhere.
        auto table = std::make_unique<MemoryConnection>(QStringLiteral("127.0.0.1"));
        MemoryConnection* end = table.get();
        QMetaObject::invokeMethod(
            end,
            [end] {
                uncaughterror::guard([end] {
                    const int code = sockerrors::fromErrno(ECONNREFUSED);
                    emit end->failed(sockerrors::text(code));
                    emit end->connectFailed(sockerrors::reason(code));
                });
            },
            Qt::QueuedConnection);
        return table;
    }
    MemoryConnection::Ends ends = MemoryConnection::pair(QStringLiteral("127.0.0.1"), tableName);
    m_waiting.push_back(std::move(ends.second));
    notifyLater();
    return std::move(ends.first);
}

std::unique_ptr<LineConnection> MemoryListener::accept()
{
    m_armed = true;
    std::unique_ptr<LineConnection> taken;
    if (!m_waiting.empty()) {
        taken = std::move(m_waiting.front());
        m_waiting.pop_front();
    }
    notifyLater();
    return taken;
}

void MemoryListener::notifyLater()
{
    if (m_notifyPosted || m_waiting.empty() || !m_armed)
        return;
    m_notifyPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_notifyPosted = false;
            if (m_waiting.empty() || !m_armed)
                return;
            m_armed = false;
            uncaughterror::guard([this] { emit pending(); });
        },
        Qt::QueuedConnection);
}

} // namespace morlu
