#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace morlu {

/** One game a host announces on the local network. */
struct FoundGame {
    QString name;    ///< the service name: "Ann's game", or a dedicated host's --name
    QString host;    ///< the address to connect to, as text (an IPv4 address or a host name)
    quint16 port = 0;
    QString version; ///< the host's version text ("1.0.5")
    int players = 0; ///< humans seated in seats 1 to 4
    int free = 0;    ///< seats without a human
    bool playing = false;

    bool operator==(const FoundGame&) const = default;
};

/**
 * The games announced on the local network, as the table's Join Game dialog lists them. The table
 * sees only this interface; the program's composition hands it the real finder (DNS-SD through the
 * system's daemon), tests hand it a fake.
 *
 * available() is false when local discovery cannot work here (no daemon): the dialog says so and
 * games() stays empty.
 */
class GameFinder : public QObject {
    Q_OBJECT

public:
    explicit GameFinder(QObject* parent = nullptr);
    ~GameFinder() override;

    virtual bool available() const = 0;
    virtual QList<FoundGame> games() const = 0;

signals:
    /** The list or the availability changed. */
    void changed();
};

} // namespace morlu
