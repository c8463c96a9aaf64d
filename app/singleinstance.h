#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLocalServer;

/**
 * One table program per desktop session: the first program claims a local socket under a fixed name
 * ("qelsor", placed in the temporary directory, so separate TMPDIRs give separate instances) and
 * listens on it; a second program finds it there, asks it to bring its window forward and ends.
 *
 * A name left behind by a program that crashed answers no connection: claim() then removes it and
 * takes it over.
 */
class SingleInstance : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kName = "qelsor";

    explicit SingleInstance(const QString& name = QString::fromLatin1(kName), QObject* parent = nullptr);
    ~SingleInstance() override;

    /**
     * True when this is the first program: it now listens under the name. False when another program
     * answered; that one has been asked to bring its window forward and this one should end. Needs a
     * QCoreApplication; blocks for at most about a second.
     */
    bool claim();

    /** The window brought forward when another program starts (the table window). */
    void setWindow(QWidget* window) { m_window = window; }

    /** Full path of the local socket. */
    QString serverPath() const;

signals:
    /** Another program asked for the window; emitted after it has been brought forward. */
    void activationRequested();

private:
    void onNewConnection();
    void bringForward();

    QString m_name;
    QLocalServer* m_server = nullptr;
    QPointer<QWidget> m_window;
};
