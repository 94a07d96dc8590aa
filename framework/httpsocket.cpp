#include "framework/httpsocket.h"

#include <QTcpSocket>

#include <algorithm>
#include <optional>

namespace {

struct Target
{
    QString host;
    quint16 port = 0;
    QByteArray request;
};

// "http://" server-part path: the host and port to connect to and the request to send. Only
// printable ASCII without blanks is taken, so nothing can break the request's lines.
std::optional<Target> targetOf(const QString &address, quint16 defaultPort)
{
    for (QChar c : address) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f)
            return std::nullopt;
    }
    const qsizetype schemeEnd = address.indexOf(u"://");
    if (schemeEnd < 0 || address.first(schemeEnd).compare(u"http", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QString rest = address.sliced(schemeEnd + 3);
    const qsizetype slash = rest.indexOf(u'/');
    const QString server = slash < 0 ? rest : rest.first(slash);
    QString path = slash < 0 ? QStringLiteral("/") : rest.sliced(slash);
    // A fragment names a place in the page; it is never sent.
    if (const qsizetype hash = path.indexOf(u'#'); hash >= 0)
        path.truncate(hash);

    Target target;
    target.port = defaultPort;
    QString portText;
    bool hasPort = false;
    if (server.startsWith(u'[')) {
        const qsizetype close = server.indexOf(u']');
        if (close < 0)
            return std::nullopt;
        target.host = server.sliced(1, close - 1);
        const QString after = server.sliced(close + 1);
        if (!after.isEmpty()) {
            if (!after.startsWith(u':'))
                return std::nullopt;
            hasPort = true;
            portText = after.sliced(1);
        }
    } else {
        const qsizetype colon = server.indexOf(u':');
        target.host = colon < 0 ? server : server.first(colon);
        if (colon >= 0) {
            hasPort = true;
            portText = server.sliced(colon + 1);
        }
    }
    if (target.host.isEmpty())
        return std::nullopt;
    if (hasPort) {
        bool ok = false;
        const uint port = portText.toUInt(&ok);
        const bool digitsOnly =
            std::all_of(portText.cbegin(), portText.cend(), [](QChar c) { return c.isDigit(); });
        if (!ok || !digitsOnly || port == 0 || port > 65535)
            return std::nullopt;
        target.port = quint16(port);
    }

    // The request line, the three headers and the empty line; nothing else.
    target.request = "GET " + path.toLatin1() + " HTTP/1.0\r\n";
    target.request += "Accept: */*\r\n";
    target.request += "Accept-Language: en\r\n";
    target.request += "Host: " + server.toLatin1() + "\r\n";
    target.request += "\r\n";
    return target;
}

int codeFor(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::HostNotFoundError:
        return HTTPSocket::HostNotFound;
    case QAbstractSocket::ConnectionRefusedError:
        return HTTPSocket::ConnectionRefused;
    case QAbstractSocket::NetworkError:
        return HTTPSocket::NetworkUnreachable;
    case QAbstractSocket::SocketTimeoutError:
        return HTTPSocket::ConnectTimedOut;
    case QAbstractSocket::SocketAccessError:
        return HTTPSocket::AccessDenied;
    case QAbstractSocket::SocketResourceError:
        return HTTPSocket::OutOfResources;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return HTTPSocket::Unsupported;
    case QAbstractSocket::ProxyAuthenticationRequiredError:
    case QAbstractSocket::ProxyConnectionRefusedError:
    case QAbstractSocket::ProxyConnectionClosedError:
    case QAbstractSocket::ProxyConnectionTimeoutError:
    case QAbstractSocket::ProxyNotFoundError:
    case QAbstractSocket::ProxyProtocolError:
        return HTTPSocket::ProxyFailed;
    default:
        return HTTPSocket::OtherFailure;
    }
}

// Bytes asked of the system at a time; the reply itself is capped by the parser.
constexpr qint64 kReadBuffer = 64 * 1024;

} // namespace

HTTPSocket::HTTPSocket(QObject *parent)
    : QObject(parent)
{}

HTTPSocket::~HTTPSocket()
{
    dropSocket();
}

void HTTPSocket::Get(const QString &address)
{
    Close();
    m_address = address;
    const std::optional<Target> target = targetOf(address, m_defaultPort);
    if (!target) {
        deliverError(BadAddress);
        return;
    }
    m_request = target->request;
    m_socket = new QTcpSocket(this);
    m_socket->setReadBufferSize(kReadBuffer);
    connect(m_socket, &QTcpSocket::connected, this, &HTTPSocket::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &HTTPSocket::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &HTTPSocket::onEnded);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &HTTPSocket::onSocketError);
    m_socket->connectToHost(target->host, target->port);
}

void HTTPSocket::Close()
{
    ++m_generation;
    dropSocket();
    m_reply = HTTPReplyParser();
    m_request.clear();
    m_connected = false;
}

void HTTPSocket::dropSocket()
{
    if (!m_socket)
        return;
    QTcpSocket *socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    // It may be emitting the signal that brought us here.
    socket->deleteLater();
}

void HTTPSocket::onConnected()
{
    m_connected = true;
    m_socket->write(m_request);
}

// Takes in what the socket holds; false once the reply has reached its cap.
bool HTTPSocket::readAvailable()
{
    while (m_socket && m_socket->bytesAvailable() > 0) {
        if (!m_reply.feed(m_socket->read(kReadBuffer)))
            return false;
    }
    return true;
}

void HTTPSocket::onReadyRead()
{
    // Capped: deliver what arrived rather than gather without end.
    if (!readAvailable())
        onEnded();
}

void HTTPSocket::onEnded()
{
    if (!m_socket)
        return;
    if (!m_connected) {
        onSocketError();
        return;
    }
    if (!m_reply.isFull())
        readAvailable();
    dropSocket();
    m_reply.finish();
    deliverPage();
}

void HTTPSocket::onSocketError()
{
    if (!m_socket)
        return;
    // Once connected, a failure is the end of the reply, as the server closing it is.
    if (m_connected) {
        onEnded();
        return;
    }
    const int code = codeFor(m_socket->error());
    dropSocket();
    deliverError(code);
}

// Both events arrive from the event loop, never from inside the socket's own signals, so a
// handler may run a modal loop or close the window that owns this socket.
void HTTPSocket::deliverPage()
{
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation, address = m_address, status = m_reply.status(),
         headers = m_reply.headers(), content = m_reply.content()] {
            if (generation == m_generation)
                Q_EMIT PageReceived(address, status, headers, content);
        },
        Qt::QueuedConnection);
}

void HTTPSocket::deliverError(int code)
{
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation, code] {
            if (generation == m_generation)
                Q_EMIT Error(code);
        },
        Qt::QueuedConnection);
}
