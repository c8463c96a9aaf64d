#pragma once

#include "gameaddress.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace morlu {
class GameFinder;
} // namespace morlu

/**
 * Join Game: where the player says which game to join. The address field has the keyboard when the
 * dialog opens; Enter there joins the address typed ("host", "host:port", "[v6]:port", the port 7772
 * when left out). Beside it: the player's name, the games found on the local network (Enter or a
 * double-click joins one), and the recent hosts (a click copies one to the address field, Enter or a
 * double-click joins it). An address or a name that cannot be used is refused with a line saying why,
 * and the dialog stays open.
 *
 * The dialog only reports the choice (joinChosen); the table keeps the name and the recent hosts and
 * starts the game. Without a finder, or with one that is not available, a line says that local
 * discovery is unavailable and the list stays empty.
 */
class Tjoingame : public QDialog {
    Q_OBJECT

public:
    explicit Tjoingame(QWidget* parent = nullptr);

    /** The finder whose games are listed (followed as it changes); nullptr: discovery unavailable. */
    void setGameFinder(morlu::GameFinder* finder);
    void setPlayerName(const QString& name);
    /** The recent hosts, newest first, as the player typed them. */
    void setRecentHosts(const QStringList& hosts);
    /** Puts @p text in the address field (Change Address after a failed join keeps what was tried). */
    void setAddress(const QString& text);
    /** Shows the dialog over @p window with the address field focused and its text selected. */
    void showCentredOn(const QWidget* window);
    /** The line under the address: why an address or a name was refused; empty when none was. */
    QString errorText() const;

signals:
    /** The player chose to join @p address as @p name (trimmed); the dialog has closed. */
    void joinChosen(const QString& name, const GameAddress& address);

private:
    /// Joins what the address field holds.
    void joinTyped();
    void joinAddress(const GameAddress& address);
    void refreshFound();
    void showError(const QString& text);

    QPointer<morlu::GameFinder> m_finder;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_address = nullptr;
    QLabel* m_error = nullptr;
    QListWidget* m_found = nullptr;
    QLabel* m_discovery = nullptr;
    QListWidget* m_recent = nullptr;
};
