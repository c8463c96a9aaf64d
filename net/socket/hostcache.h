#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace morlu {

/**
 * The process-wide cache of resolved host names shared by every line socket. A name is resolved once
 * and its addresses kept for the rest of the run, even if the name later points elsewhere. Names that
 * fail to resolve are not kept. Addresses are numeric texts ("127.0.0.1", "::1"), IPv4 or IPv6, in the
 * order a connection tries them. Used on the main thread only.
 */
class HostCache {
public:
    /// Resolves one name to its addresses; empty when the name is unknown.
    using Resolver = std::function<QStringList(const QString& name)>;

    static HostCache& instance();

    /// The cached addresses of the name, or the resolver's answer, which is then cached.
    QStringList lookup(const QString& name);

    bool contains(const QString& name) const { return m_entries.contains(name); }
    qsizetype size() const { return m_entries.size(); }
    void insert(const QString& name, const QStringList& addresses) { m_entries.insert(name, addresses); }

    /// Replaces the resolver (tests count or fake resolutions). An empty function restores the system's.
    void setResolver(Resolver resolver);
    /// Forgets every entry (tests only: the program never purges the cache).
    void clear() { m_entries.clear(); }

    /// The system's name service: every stream address getaddrinfo() gives for the name, IPv4 or IPv6,
    /// in its order, without repeats.
    static QStringList systemResolve(const QString& name);

private:
    HostCache() = default;

    QHash<QString, QStringList> m_entries;
    Resolver m_resolver;
};

} // namespace morlu
