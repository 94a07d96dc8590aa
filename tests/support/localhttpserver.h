#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <memory>
#include <utility>

// A real HTTP peer on the loopback address, 127.0.0.1 unless told ::1, at a port chosen at run
// time. Each connection's request is recorded up to its empty line; then the server answers as
// told: the reply bytes, followed by closing the connection, holding it open, or streaming
// filler until the client goes.
class LocalHttpServer
{
public:
    enum class After { Close, Hold, Stream };

    explicit LocalHttpServer(QHostAddress::SpecialAddress loopback = QHostAddress::LocalHost)
    {
        m_server.listen(loopback, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                take(socket);
        });
    }

    // False where the machine has no such address, as a host without IPv6 has no ::1.
    bool isListening() const { return m_server.isListening(); }
    QString listenError() const { return m_server.errorString(); }
    quint16 port() const { return m_server.serverPort(); }
    // An IPv6 host goes in brackets.
    QString address(const QString &path = QStringLiteral("/Updates/tavrelo.xml")) const
    {
        const QHostAddress host = m_server.serverAddress();
        const QString name = host.protocol() == QAbstractSocket::IPv6Protocol
                                 ? u'[' + host.toString() + u']'
                                 : host.toString();
        return QStringLiteral("http://%1:%2%3").arg(name).arg(port()).arg(path);
    }

    // Forgets what was recorded and drops the connections still held.
    void reset()
    {
        requests.clear();
        connections = 0;
        streamed = 0;
        reply.clear();
        after = After::Close;
        for (const QPointer<QTcpSocket> &socket : std::as_const(m_held)) {
            if (socket)
                socket->abort();
        }
        m_held.clear();
    }

    // Held connections the client has not closed.
    int held() const
    {
        return int(std::count_if(m_held.cbegin(), m_held.cend(), [](const QPointer<QTcpSocket> &s) {
            return s && s->state() == QAbstractSocket::ConnectedState;
        }));
    }

    // Sends the bytes on every held connection that still stands and closes it; returns how
    // many it reached.
    int answerHeld(const QByteArray &bytes)
    {
        int answered = 0;
        for (const QPointer<QTcpSocket> &socket : std::as_const(m_held)) {
            if (socket && socket->state() == QAbstractSocket::ConnectedState) {
                socket->write(bytes);
                socket->disconnectFromHost();
                ++answered;
            }
        }
        m_held.clear();
        return answered;
    }

    QByteArray reply;
    After after = After::Close;
    QList<QByteArray> requests;
    int connections = 0;
    qint64 streamed = 0;

private:
    // Well past any cap a client should keep; reaching it ends the stream all the same.
    static constexpr qint64 kStreamLimit = 64 * 1024 * 1024;

    void take(QTcpSocket *socket)
    {
        ++connections;
        socket->setParent(&m_server);
        auto request = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
            const bool complete = request->contains("\r\n\r\n");
            request->append(socket->readAll());
            if (complete || !request->contains("\r\n\r\n"))
                return;
            requests.append(*request);
            answer(socket);
        });
    }

    void answer(QTcpSocket *socket)
    {
        socket->write(reply);
        switch (after) {
        case After::Close:
            socket->disconnectFromHost();
            break;
        case After::Hold:
            m_held.append(socket);
            break;
        case After::Stream:
            // Driven by the reply's own bytesWritten, so the reply must not be empty.
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] {
                if (socket->bytesToWrite() > 0)
                    return;
                if (streamed >= kStreamLimit) {
                    socket->disconnectFromHost();
                    return;
                }
                const QByteArray filler(64 * 1024, 'x');
                streamed += filler.size();
                socket->write(filler);
            });
            break;
        }
    }

    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_held;
};
