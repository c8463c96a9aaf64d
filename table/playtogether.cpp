#include "playtogether.h"

#include "chatsink.h"
#include "friendsline.h"
#include "lanaddresses.h"
#include "profilefile.h"
#include "tabledialogs.h"
#include "tablemodel.h"
#include "tablesettings.h"
#include "tablestate.h"
#include "tjoingame.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

/// The port option, left out for the port every host and table uses unless told otherwise.
QStringList portOption(quint16 port)
{
    return port == GameAddress::kDefaultPort ? QStringList()
                                             : QStringList{QStringLiteral("--port"), QString::number(port)};
}

} // namespace

PlayTogether::PlayTogether(QWidget& window, TableState& state, const TableModel& model, TableDialogs& dialogs,
                           ChatSink& chat, FriendsLine& friends, std::function<QString()> settingsPath, QObject* parent)
    : QObject(parent), m_window(window), m_state(state), m_model(model), m_dialogs(dialogs), m_chat(chat),
      m_friends(friends), m_settingsPath(std::move(settingsPath)), m_restarter([](const QStringList& arguments) {
          if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments))
              qWarning("Morlu: could not start the chosen game");
      }),
      m_join(new Tjoingame(&window)), m_host(new Thostgame(&window))
{
    connect(m_join, &Tjoingame::joinChosen, this, &PlayTogether::joinChosen);
    connect(m_host, &Thostgame::hostChosen, this, &PlayTogether::hostChosen);
    connect(m_join, &QDialog::rejected, this, &PlayTogether::dialogCancelled);
    connect(m_host, &QDialog::rejected, this, &PlayTogether::dialogCancelled);
}

QStringList PlayTogether::hostArguments(const HostChoice& choice)
{
    // The own table always joins its host on this machine, whatever the address says.
    QStringList arguments{choice.name, QStringLiteral("127.0.0.1"), QStringLiteral("true")};
    arguments << portOption(choice.port);
    if (!choice.announce)
        arguments << QStringLiteral("--no-announce");
    if (choice.upnp)
        arguments << QStringLiteral("--upnp");
    return arguments;
}

QStringList PlayTogether::joinArguments(const QString& name, const GameAddress& address)
{
    return QStringList{name, address.host(), QStringLiteral("false")} << portOption(address.port());
}

void PlayTogether::setGameFinder(morlu::GameFinder* finder)
{
    m_join->setGameFinder(finder);
}

QString PlayTogether::keptName() const
{
    return TableSettings::read(ProfileFile(m_settingsPath())).playerName;
}

void PlayTogether::HostGame1Click()
{
    m_host->setPlayerName(keptName());
    m_host->showCentredOn(&m_window);
}

void PlayTogether::JoinGame1Click()
{
    showJoin(std::nullopt);
}

void PlayTogether::changeAddress(const QString& address, const QString& port)
{
    m_stranded = true;
    showJoin(GameAddress::of(address, quint16(port.toUInt())).text());
}

void PlayTogether::showJoin(const std::optional<QString>& address)
{
    const TableSettings settings = TableSettings::read(ProfileFile(m_settingsPath()));
    m_join->setPlayerName(settings.playerName);
    m_join->setRecentHosts(settings.recentHosts);
    if (address)
        m_join->setAddress(*address);
    m_join->showCentredOn(&m_window);
}

void PlayTogether::offerAnotherPort(const QString& port)
{
    m_stranded = true;
    m_host->setPlayerName(m_state.myname.isEmpty() ? keptName() : m_state.myname);
    m_host->offerAnotherPort(quint16(port.toUInt()), &m_window);
}

void PlayTogether::joinChosen(const QString& name, const GameAddress& address)
{
    if (!mayLeave(QStringLiteral("join %1").arg(address.text())))
        return;
    // The address goes into the recent hosts once that host answers (rememberHost()), not when typed.
    ProfileFile file(m_settingsPath());
    TableSettings::writePlayerName(file, name);
    restart(joinArguments(name, address));
}

void PlayTogether::rememberHost(const QString& address, const QString& port)
{
    ProfileFile file(m_settingsPath());
    const QString host = GameAddress::of(address, quint16(port.toUInt())).text();
    TableSettings::writeRecentHosts(file, TableSettings::withRecentHost(TableSettings::read(file).recentHosts, host));
}

void PlayTogether::hostChosen(const HostChoice& choice)
{
    if (!mayLeave(QStringLiteral("host a new game on port %1").arg(choice.port)))
        return;
    ProfileFile file(m_settingsPath());
    TableSettings::writePlayerName(file, choice.name);
    restart(hostArguments(choice));
}

bool PlayTogether::mayLeave(const QString& what)
{
    // A replayed game is a record on the screen, not a game anybody would leave.
    if (!m_model.gamerunning() || (m_replaying && m_replaying()))
        return true;
    return m_dialogs.askYesNo(QStringLiteral("A game is in progress. Leave it and %1?").arg(what));
}

void PlayTogether::dialogCancelled()
{
    // No arguments: the solo game a plain start gives.
    if (m_stranded)
        restart({});
}

void PlayTogether::restart(const QStringList& arguments)
{
    m_restarter(arguments);
    emit leaving();
}

void PlayTogether::hostingStarted(quint16 port)
{
    const QStringList addresses = lanaddresses::forFriends(m_interfaces(), port);
    if (addresses.isEmpty()) {
        m_chat.systemLine(QStringLiteral("This machine has no network address: only players on it can join."));
        return;
    }
    for (const QString& address : addresses)
        m_friends.addAddress(address);
    m_chat.noticeLine(QStringLiteral("Tell your friends: ") + addresses.join(QStringLiteral(" or ")));
}

void PlayTogether::addReachableAddress(const QString& address)
{
    m_friends.addAddress(address);
}
