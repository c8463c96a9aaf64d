#pragma once

#include "esockexception.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace morlu {

/// Kinds of progress and error reports a line socket gives through OnInfo (numbered 0 to 7 in this order).
enum class TSocketInfo { Lookup, Connect, Close, Listen, Receive, Send, Accept, Error };

class TSock;

/// OnConnect, OnDisconnect, OnWrite and OnAccept: the socket the event is about.
using TNotifyEvent = std::function<void(TSock* sender)>;
/// OnRead: data has arrived; count is the number of bytes now waiting in the incoming buffer.
using TNotifyReadEvent = std::function<void(TSock* sender, qsizetype count)>;
/// OnInfo: a progress or error report ("Socket Closed", "Error #10054 (WSAECONNRESET)", ...).
using TNotifyInfoEvent = std::function<void(TSock* sender, TSocketInfo info, const QString& msg)>;

/**
 * The program's TCP endpoint: one object per listening socket or connection, IPv4 or IPv6 stream
 * sockets in non-blocking mode. It moves bytes only: Send() adds nothing and Receive() splits nothing; framing
 * belongs to the protocol layer. The host and the table use it through TSockListener and
 * TSockConnection. Its code: tsock.cpp (the socket), tsockconnect.cpp (making a connection),
 * tsockoptions.cpp (keepalive, no delay).
 *
 * Readiness is delivered on the thread that owns the object (the main thread) through the event loop,
 * one notification handled to completion at a time:
 * - data arrived: one read of at most 32768 bytes, a (Receive, "Non-Blocking Incoming Data") report,
 *   then OnRead with the size of the incoming buffer;
 * - the peer closed in an orderly way: OnDisconnect, then Close() (which reports "Socket Closed");
 * - the connection failed (refused, reset, timed out): one Error report "Error #<code> (<name>)" and
 *   nothing else (no OnDisconnect, no "Socket Closed"); the socket keeps its handle and its connected
 *   flag, drops bytes waiting to be sent and stays silent until its owner closes it; a later Send()
 *   reports the error again;
 * - a connection being made by Open() is complete: connected, (Connect, "Non-Blocking Socket
 *   Connected"), OnConnect, then anything already passed to Send() goes out;
 * - room to write after a partial send: the rest goes out, (Send, "Non-Blocking Outgoing Data"), OnWrite;
 * - a connection waits on a listener: OnAccept, which is expected to call Accept(). The listener is not
 *   notified again until Accept() has been called.
 *
 * Handlers may Close() the socket they are called for, or deleteLater() it; the socket touches nothing
 * of itself after a handler that destroyed it. Handlers are copied std::function values, so the same
 * handler can serve many sockets (the sender argument tells which).
 *
 * Misuse raises ESockException with a fixed text; exceptions escaping a handler during a notification
 * go to the uncaught-error handler (see setUncaughtErrorHandler()), because they cannot cross the event
 * loop. Destroying a socket closes its handle without reports; sockets created by Accept() are children
 * of the listener and are destroyed with it unless their user frees them first.
 */
class TSock : public QObject {
    Q_OBJECT

public:
    explicit TSock(QObject* parent = nullptr);
    ~TSock() override;

    // Settings.

    /// Dotted address, IPv6 address or name of the peer; empty means any local address. Stored; reported as having no
    /// effect ((Lookup, "Setting HostName While Connected Has No Effect")) while connected.
    QString HostName() const { return m_hostName; }
    void setHostName(const QString& name);
    /// Decimal port number or a TCP service name ("0" asks the system for a free port when listening).
    /// Stored; reported as having no effect while connected, like HostName.
    QString PortName() const { return m_portName; }
    void setPortName(const QString& name);

    /// Numeric address a listener binds to, IPv4 or IPv6 ("127.0.0.1": only this machine may connect);
    /// empty, the default, means every local address: IPv6 and IPv4 ("::" taking both) when the system
    /// has IPv6, else every IPv4 address. Read when listening starts.
    QString ListenAddress() const { return m_listenAddress; }
    void setListenAddress(const QString& address) { m_listenAddress = address; }

    /// True while the socket listens.
    bool Listen() const { return m_listen; }
    /**
     * true: listen on ListenAddress (every local address by default) and PortName (SO_REUSEADDR, the
     * system's largest backlog), then report
     * (Listen, "Listening Started"); already listening reports "Listening Already Running". Raises
     * "Listen - Socket Already In Use" when the socket has a handle (also after a failed attempt, whose
     * handle stays), "Listen - Error Binding Socket", "Listen - Error Starting Listen", or a lookup error.
     * false on a listener: stop, close (reports "Socket Closed"), then report "Listening Stopped".
     * false on a socket that does not listen does nothing.
     */
    void setListen(bool listen);

    /// Free for the owner.
    int Tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    /// Stored settings only, copied by Accept(): the socket always works in non-blocking mode.
    bool Blocking() const { return m_blocking; }
    void setBlocking(bool blocking) { m_blocking = blocking; }
    int BlockingTimeout() const { return m_blockingTimeout; }
    void setBlockingTimeout(int milliseconds) { m_blockingTimeout = milliseconds; }

    // Operations.

    /**
     * Starts connecting to HostName:PortName (reports "Lookup Of Port <name>" and, for a non-empty
     * HostName, "Lookup Of Host <name>"). Returns the connected flag, so false while the connection is
     * still being made; the outcome arrives later as OnConnect or as one Error report. A host name with
     * several addresses has them tried in order until one connects; the Error report is then that of
     * the last one tried. With a handle
     * already present it only returns the flag. Raises the lookup errors ("Port Lookup - Could Not Find
     * Service Entry", "Host Lookup - Could Not Find Host Entry"); a handle created before stays.
     */
    bool Open();

    /**
     * Takes one pending connection from this listener into a new socket owned by this one, which gets
     * Blocking, BlockingTimeout, OnRead, OnWrite, OnDisconnect and OnInfo of the listener, PortName of
     * the listener and HostName = the peer's numeric address (dotted for an IPv4 peer, also one that
     * reached an IPv6 listener) (both reported on the new socket as having
     * no effect), then reports (Accept, "Created New TSock Structure") here. When nothing can be
     * accepted it reports (Accept, "Could Not Accept Connection") and returns false. Raises "Accept -
     * Socket Not In Listening Mode" on a socket that does not listen.
     */
    bool Accept(TSock*& newSock);

    /**
     * Queues the bytes after anything still waiting and, once connected, makes one send() call with all
     * waiting bytes (reporting (Send, "Non-Blocking Outgoing Data")); what the system does not take goes
     * out, in order, when there is room. Before the connection is made everything waits. A failing
     * connection gives an Error report and the waiting bytes are dropped. Always returns true. Raises
     * "Send - Socket Not Connected" without a handle, "Send - Cannot Send On A Listener Socket".
     */
    bool Send(QByteArrayView data);

    /**
     * Takes every byte in the incoming buffer, also after the handle has gone. Raises "Receive - Socket
     * Not Connected" without a handle and with nothing buffered, "Receive - Cannot Receive On A Listener
     * Socket" on a listener.
     */
    QByteArray Receive();

    /**
     * Closes the handle (true if the system closed one), drops bytes still waiting to be sent and, unless
     * the socket was listening, reports (Close, "Socket Closed"), on every call, also without a handle.
     * Never raises: exceptions from the report handler are swallowed.
     */
    bool Close();

    // State.

    bool hasHandle() const { return m_fd >= 0; }
    /// The system's socket descriptor, -1 without a handle.
    int handle() const { return m_fd; }
    /// True from the moment the connection is made (or accepted) until Close().
    bool isConnected() const { return m_connected; }
    /// True while a connection started by Open() is being made.
    bool isConnecting() const { return m_connecting; }
    /// The local port the handle is bound to (a listener on "0" learns its port here); 0 without one.
    quint16 localPort() const;

    /// Bytes received and not yet taken by Receive().
    qsizetype incomingSize() const { return m_incoming.size(); }
    const QByteArray& incoming() const { return m_incoming; }
    /// Bytes handed to Send() and not yet taken by the system (the host drops a table that lets too
    /// much pile up here).
    qsizetype outgoingSize() const { return m_outgoing.size() - m_outgoingStart; }
    QByteArray outgoing() const { return m_outgoing.mid(m_outgoingStart); }

    /**
     * TCP keepalive, applied now and whenever the socket gets a handle: probes start after idleSeconds of
     * silence, every idleSeconds / 6 seconds (at least 1), and after 6 unanswered probes the connection
     * fails with an Error report (10060). Returns false if the system refused the setting.
     */
    bool setKeepAlive(bool on, int idleSeconds = 60);
    bool keepAlive() const { return m_keepAlive; }

    /**
     * Stops (false) or resumes (true) reading from a connection: while stopped nothing more is taken from
     * the system, whose receive window then holds the peer back. The setting outlives Close() and a new
     * Open(); a listener is never stopped.
     */
    void setReading(bool on);
    bool reading() const { return m_reading; }

    /// Whether the socket currently waits for readiness to read (or accept) / to write. A socket waits
    /// to write only while connecting or while bytes wait; a closed socket waits for nothing.
    bool watchingRead() const;
    bool watchingWrite() const;

    /// Receives the text of any exception that escapes a handler during a notification; by default the
    /// text is logged as a warning. The table shows it in a message box.
    static void setUncaughtErrorHandler(std::function<void(const QString& text)> handler);

    // Events; each is optional.
    TNotifyEvent OnConnect;
    TNotifyEvent OnDisconnect;
    TNotifyReadEvent OnRead;
    TNotifyEvent OnWrite;
    TNotifyEvent OnAccept;
    TNotifyInfoEvent OnInfo;

private:
    void report(TSocketInfo info, const QString& text);
    void reportError(int code);
    void failConnection(int err);
    quint16 lookupPort();
    QStringList lookupHost();
    int connectNext();
    bool applyKeepAlive();
    void watch(bool read, bool write);
    void dropNotifiers();
    void updateWriteWatch();
    void sendWaiting();
    void discardOutgoing();
    void whenReadable();
    void whenWritable();
    void readOnce();
    void finishConnect();
    void writeReady();

    int m_fd = -1;
    bool m_connected = false;
    bool m_connecting = false;
    bool m_failed = false;
    QString m_listenAddress;
    bool m_listen = false;
    bool m_reading = true;
    bool m_blocking = false;
    int m_blockingTimeout = 0;
    bool m_keepAlive = false;
    int m_keepAliveIdle = 60;
    int m_tag = 0;
    quint64 m_generation = 0;
    QString m_hostName;
    // The addresses Open() tries in turn, the next one to try and the port.
    QStringList m_candidates;
    qsizetype m_nextCandidate = 0;
    quint16 m_connectPort = 0;
    bool m_handleTried = false;
    QString m_portName;
    QByteArray m_incoming;
    QByteArray m_outgoing;
    qsizetype m_outgoingStart = 0;
    std::unique_ptr<char[]> m_receiveArea;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
};

} // namespace morlu
