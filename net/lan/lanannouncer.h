#pragma once

#include "daemonclient.h"

#include <QObject>
#include <QString>
#include <QTimer>

struct AvahiEntryGroup;

namespace morlu {

/** What the announcement tells of a game: its TXT record. */
struct AnnouncedSeats {
    int players = 0;      ///< humans seated in seats 1 to 4
    int free = 4;         ///< seats without a human
    bool playing = false; ///< a game runs

    bool operator==(const AnnouncedSeats&) const = default;
};

/**
 * A hosted game announced on the local network as a DNS-SD service of type `_morlu._tcp` through the
 * system's daemon, with the TXT record `version=1.0.5`, `players=N`, `free=N`, `state=waiting|playing`.
 *
 * Seat changes are gathered for kCoalesceMs before the record is updated, so a burst of arrivals is
 * one update. A name longer than a DNS label (63 bytes) is cut to fit. A name already taken on the network is replaced
 * by the daemon's alternative ("Ann's game #2"); name() tells the one in use. Without a daemon nothing is announced
 * (one log line) and the announcement appears when the daemon does. Destroying the object withdraws the announcement.
 */
class LanAnnouncer : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kServiceType = "_morlu._tcp";
    static constexpr int kCoalesceMs = 250;
    /// A service name is one DNS label.
    static constexpr int kMaxNameBytes = 63;

    LanAnnouncer(const QString& name, quint16 port, DaemonClient::Logger logger, QObject* parent = nullptr);
    ~LanAnnouncer() override;

    /// @p base followed by @p suffix, @p base cut (at a character) so the whole fits kMaxNameBytes of UTF-8.
    static QString serviceName(const QString& base, const QString& suffix = QString());

    /// The record to announce; sent within kCoalesceMs.
    void setSeats(const AnnouncedSeats& seats);
    /// The service name in use (after a collision, the alternative).
    QString name() const { return m_name; }
    /// True once the daemon has confirmed the announcement, until it is withdrawn or lost.
    bool established() const { return m_established; }

signals:
    /// The daemon confirmed the announcement under @p name.
    void announced(const QString& name);

private:
    static void groupCallback(AvahiEntryGroup* group, int state, void* self);
    void follow();
    void publish();
    void updateRecord();
    void dropGroup();
    void log(const QString& text) const;

    DaemonClient m_daemon;
    AvahiEntryGroup* m_group = nullptr;
    QString m_name;
    quint16 m_port;
    AnnouncedSeats m_seats;
    QTimer m_coalesce;
    DaemonClient::Logger m_log;
    bool m_established = false;
};

} // namespace morlu
