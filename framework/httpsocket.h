#pragma once

#include "framework/httpreplyparser.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QTcpSocket;

// An HTTP/1.0 GET over a plain TCP connection, with a request fixed to the byte: the request
// line, Accept, Accept-Language and Host, and nothing else (QNetworkAccessManager would add
// headers of its own). Get returns at once; later comes one PageReceived, once the server has
// ended a connection that was made, whatever the status (nothing is followed), or one Error,
// when no connection could be made. There is no time limit; Close is the way out.
class HTTPSocket : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HTTPSocket)

public:
    // The codes Error carries, one for each kind of failure before a connection is made.
    enum ErrorCode : int {
        BadAddress = 1,         // not an http:// address with a host, or a port that is no port
        HostNotFound = 2,       // the host name could not be resolved
        ConnectionRefused = 3,  // nothing listens on that port
        NetworkUnreachable = 4, // no route to the host or its network
        ConnectTimedOut = 5,    // no answer to the connection attempt in time
        AccessDenied = 6,       // the system did not allow the connection
        OutOfResources = 7,     // the system had no socket to give
        Unsupported = 8,        // the system cannot reach that kind of address
        ProxyFailed = 9,        // a configured proxy failed
        OtherFailure = 10,      // any other failure before a connection was made
    };
    Q_ENUM(ErrorCode)

    explicit HTTPSocket(QObject *parent = nullptr);
    ~HTTPSocket() override;

    // The port for an address that names none.
    quint16 defaultPort() const { return m_defaultPort; }
    void setDefaultPort(quint16 port) { m_defaultPort = port; }

    // Drops any earlier request and starts this one.
    void Get(const QString &address);
    // Drops the request; neither event comes for it afterwards.
    void Close();

Q_SIGNALS:
    void PageReceived(const QString &address, int status, const InternetHeaders &headers,
                      const QByteArray &content);
    void Error(int code);

private:
    void onConnected();
    bool readAvailable();
    void onReadyRead();
    void onEnded();
    void onSocketError();
    void dropSocket();
    void deliverPage();
    void deliverError(int code);

    QPointer<QTcpSocket> m_socket;
    quint16 m_defaultPort = 80;
    QString m_address;
    QByteArray m_request;
    HTTPReplyParser m_reply;
    bool m_connected = false;
    // Counts requests, so an event queued for an earlier one is never delivered.
    quint64 m_generation = 0;
};
