#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class QLocalServer;
class QLockFile;

/**
 * One table program per desktop session: the first program takes a lock and claims a local socket
 * under a fixed name ("qelsor") and listens on it; a second program finds the lock taken, asks the
 * first to bring its window forward and ends.
 *
 * Both live in the user's own folder, so no other user can hold the name or leave a file under it:
 * the runtime folder (XDG_RUNTIME_DIR) when it is the user's and nobody else may write in it, else
 * "morlu-UID" in the temporary directory, created 0700 and used only when it belongs to the user and
 * nobody else may write in it. When neither can be had there is no guard and every start opens a window.
 *
 * The lock makes two simultaneous starts end with one window: only the holder listens. A lock or a
 * name left behind by a program that crashed is taken over.
 */
class SingleInstance : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kName = "qelsor";

    explicit SingleInstance(const QString& name = QString::fromLatin1(kName), QObject* parent = nullptr);
    ~SingleInstance() override;

    /**
     * True when this is the first program (or there is no private folder to hold the guard): it now
     * listens under the name. False when another program holds the lock; that one has been asked to
     * bring its window forward and this one should end. Needs a QCoreApplication; blocks for at most
     * a few seconds.
     */
    bool claim();

    /** The window brought forward when another program starts (the table window). */
    void setWindow(QWidget* window) { m_window = window; }

    /** Full path of the local socket (empty while not listening). */
    QString serverPath() const;

    /**
     * The folder the lock and the socket live in: the runtime folder, else "morlu-UID" in the
     * temporary directory (created 0700 when missing); empty when neither belongs to the user alone.
     */
    static QString privateFolder();

signals:
    /** Another program asked for the window; emitted after it has been brought forward. */
    void activationRequested();

private:
    void onNewConnection();
    void bringForward();
    void askFirstForward(const QString& path);

    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    QPointer<QWidget> m_window;
};
