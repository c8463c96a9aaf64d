#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

namespace morlu {

/**
 * The process-wide cache of resolved host names shared by every line socket. A name is resolved once
 * and its first IPv4 address kept for the rest of the run, even if the name later points elsewhere.
 * Names that fail to resolve are not kept. Addresses are IPv4 in host byte order. Used on the main
 * thread only.
 */
class HostCache {
public:
    /// Resolves one name to an IPv4 address; nullopt when the name is unknown.
    using Resolver = std::function<std::optional<quint32>(const QString& name)>;

    static HostCache& instance();

    /// The cached address of the name, or the resolver's answer, which is then cached.
    std::optional<quint32> lookup(const QString& name);

    bool contains(const QString& name) const { return m_entries.contains(name); }
    qsizetype size() const { return m_entries.size(); }
    void insert(const QString& name, quint32 address) { m_entries.insert(name, address); }

    /// Replaces the resolver (tests count or fake resolutions). An empty function restores the system's.
    void setResolver(Resolver resolver);
    /// Forgets every entry (tests only: the program never purges the cache).
    void clear() { m_entries.clear(); }

    /// The system's name service: the first IPv4 address getaddrinfo() gives for the name.
    static std::optional<quint32> systemResolve(const QString& name);

private:
    HostCache() = default;

    QHash<QString, quint32> m_entries;
    Resolver m_resolver;
};

} // namespace morlu
