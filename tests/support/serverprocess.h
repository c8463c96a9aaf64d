#pragma once

#include <QProcess>
#include <QStringList>

namespace morlu::test {

/**
 * `morlu --server` as a child process: started with the given options, it is ready once it printed
 * "Listening on port N". The program is found through MORLU_BUILD_DIR, or beside the test program.
 * The child gets no display, so it shows that server mode needs none.
 */
class ServerProcess {
public:
    ServerProcess() = default;
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    /// Path of build/morlu.
    static QString program();

    /// Starts the server with @p options (after "--server"); does not wait.
    void start(const QStringList& options);
    /// Waits for the "Listening on port N" line; the port, or 0 if it did not come.
    quint16 waitListening(int milliseconds = 10000);
    /// Sends SIGTERM and waits for the end; true if it ended in time.
    bool terminate(int milliseconds = 10000);
    /// Waits for the process to end by itself.
    bool waitFinished(int milliseconds = 10000);

    /// The server's resident memory in kB (VmRSS), 0 when it cannot be read.
    qint64 residentKb() const;

    QProcess& process() { return m_process; }
    QByteArray standardOutput() const { return m_out; }
    QByteArray standardError() const { return m_err; }

private:
    void collect();

    QProcess m_process;
    QByteArray m_out;
    QByteArray m_err;
};

} // namespace morlu::test
