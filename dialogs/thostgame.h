#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

/** What the player chose in Host Game. */
struct HostChoice {
    QString name;
    quint16 port = 7772;
    bool announce = true; ///< announce the game on the local network
    bool upnp = false;    ///< ask the router to open the port

    bool operator==(const HostChoice&) const = default;
};

/**
 * Host Game: the player's name, the port (7772), "Announce on the local network" (on) and "Open the
 * port on my router" (off). Enter or "Host" reports the choice (hostChosen) and closes; a name or port
 * that cannot be used is refused with a line saying why and the dialog stays open.
 *
 * offerAnotherPort() opens it again after the port turned out to be in use: a line says so and the
 * port field has the keyboard with its text selected.
 */
class Thostgame : public QDialog {
    Q_OBJECT

public:
    explicit Thostgame(QWidget* parent = nullptr);

    void setPlayerName(const QString& name);
    void setPort(quint16 port);
    /** The choice the fields show now (the port 0 when the field holds none). */
    HostChoice choice() const;
    /** Shows the dialog over @p window with the name field focused. */
    void showCentredOn(const QWidget* window);
    /** Shows it over @p window saying that port @p taken is in use, the port field selected. */
    void offerAnotherPort(quint16 taken, const QWidget* window);
    /** The line under the fields: why the choice was refused, or that the port is in use. */
    QString noteText() const;

signals:
    void hostChosen(const HostChoice& choice);

private:
    void hostPress();
    void showNote(const QString& text);
    void fitHeight();

    QLineEdit* m_name = nullptr;
    QLineEdit* m_port = nullptr;
    QCheckBox* m_announce = nullptr;
    QCheckBox* m_upnp = nullptr;
    QLabel* m_note = nullptr;
};
