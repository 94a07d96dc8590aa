#include "framework/httpsocket.h"

#include "tests/support/localhttpserver.h"
#include "tests/support/refusedaddress.h"

#include <QHostInfo>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QUrl>

#include <functional>
#include <utility>

namespace {

// Runs an action once, just before the first event the socket raises from the loop.
class BeforeFirstDelivery final : public QObject
{
public:
    BeforeFirstDelivery(QObject *target, std::function<void()> action)
        : m_action(std::move(action))
    {
        target->installEventFilter(this);
    }

    bool done() const { return !m_action; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MetaCall && m_action)
            std::exchange(m_action, {})();
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

// The HTTP client against a real server on 127.0.0.1: the request it writes, what it delivers
// of a reply, and how it fails.
class tst_httpsocket : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void request_data();
    void request();
    void reply_data();
    void reply();
    void endlessReplyIsCapped();
    void failure_data();
    void failure();
    void closeDropsTheRequest();
    void getDropsTheEarlierRequest();
    void eventAlreadyDueIsDropped_data();
    void eventAlreadyDueIsDropped();

private:
    LocalHttpServer m_server;
};

void tst_httpsocket::init()
{
    m_server.reset();
}

void tst_httpsocket::request_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray port = QByteArray::number(m_server.port());
    QTest::newRow("with port") << m_server.address()
                               << "GET /Updates/tavrelo.xml HTTP/1.0\r\nAccept: */*\r\n"
                                  "Accept-Language: en\r\nHost: 127.0.0.1:" +
                                      port + "\r\n\r\n";
    // The server's port stands in as the default port, so the address can name none.
    QTest::newRow("without port") << QStringLiteral("http://127.0.0.1/Updates/tavrelo.xml")
                                  << QByteArray(
                                         "GET /Updates/tavrelo.xml HTTP/1.0\r\nAccept: */*\r\n"
                                         "Accept-Language: en\r\nHost: 127.0.0.1\r\n\r\n");
    QTest::newRow("no path") << QStringLiteral("HTTP://127.0.0.1")
                             << QByteArray("GET / HTTP/1.0\r\nAccept: */*\r\n"
                                           "Accept-Language: en\r\nHost: 127.0.0.1\r\n\r\n");
    QTest::newRow("query kept, fragment dropped")
        << QStringLiteral("http://127.0.0.1/a?b=c#d")
        << QByteArray("GET /a?b=c HTTP/1.0\r\nAccept: */*\r\n"
                      "Accept-Language: en\r\nHost: 127.0.0.1\r\n\r\n");
}

void tst_httpsocket::request()
{
    QFETCH(QString, address);
    QFETCH(QByteArray, expected);

    m_server.reply = "HTTP/1.0 200 OK\r\n\r\n";
    HTTPSocket socket;
    QCOMPARE(socket.defaultPort(), quint16(80));
    socket.setDefaultPort(m_server.port());
    QSignalSpy pages(&socket, &HTTPSocket::PageReceived);
    socket.Get(address);
    QTRY_COMPARE_WITH_TIMEOUT(pages.size(), 1, 10000);
    QCOMPARE(m_server.requests, QList<QByteArray>{expected});
}

// How a reply's bytes are read is tst_httpreplyparser's table; here, what a real connection
// delivers of them.
void tst_httpsocket::reply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("status");
    QTest::addColumn<InternetHeaders>("headers");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("200") << QByteArray("HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n<x/>")
                         << 200 << InternetHeaders{{"Content-Type", "text/xml"}}
                         << QByteArray("<x/>");
    QTest::newRow("404 with body") << QByteArray("HTTP/1.0 404 Not Found\r\n\r\nNo such page")
                                   << 404 << InternetHeaders() << QByteArray("No such page");
    QTest::newRow("301 not followed")
        << QByteArray("HTTP/1.0 301 Moved Permanently\r\nLocation: /elsewhere\r\n\r\nMoved") << 301
        << InternetHeaders{{"Location", "/elsewhere"}} << QByteArray("Moved");
    QTest::newRow("401 delivered") << QByteArray("HTTP/1.0 401 Unauthorized\r\n\r\nWho?") << 401
                                   << InternetHeaders() << QByteArray("Who?");
    QTest::newRow("content-length does not end the page")
        << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nlonger") << 200
        << InternetHeaders{{"Content-Length", "2"}} << QByteArray("longer");
    QTest::newRow("closed with nothing sent")
        << QByteArray() << 0 << InternetHeaders() << QByteArray();
}

void tst_httpsocket::reply()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, status);
    QFETCH(InternetHeaders, headers);
    QFETCH(QByteArray, content);

    m_server.reply = reply;
    HTTPSocket socket;
    QSignalSpy pages(&socket, &HTTPSocket::PageReceived);
    QSignalSpy errors(&socket, &HTTPSocket::Error);
    socket.Get(m_server.address());
    QTRY_COMPARE_WITH_TIMEOUT(pages.size(), 1, 10000);
    // Nothing further comes, and nothing is followed.
    QTest::qWait(50);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(errors.size(), 0);
    QCOMPARE(m_server.connections, 1);

    const QList<QVariant> page = pages.first();
    QCOMPARE(page.at(0).toString(), m_server.address());
    QCOMPARE(page.at(1).toInt(), status);
    QVERIFY(page.at(2).value<InternetHeaders>() == headers);
    QCOMPARE(page.at(3).toByteArray(), content);
}

void tst_httpsocket::endlessReplyIsCapped()
{
    const QByteArray head("HTTP/1.0 200 OK\r\n\r\n");
    m_server.reply = head + "<CurrentVersion>2.1.0</CurrentVersion>";
    m_server.after = LocalHttpServer::After::Stream;
    HTTPSocket socket;
    QSignalSpy pages(&socket, &HTTPSocket::PageReceived);
    socket.Get(m_server.address());
    QTRY_COMPARE_WITH_TIMEOUT(pages.size(), 1, 20000);
    const QByteArray content = pages.first().at(3).toByteArray();
    QCOMPARE(content.size(), HTTPReplyParser::kMaxReply - head.size());
    QVERIFY(content.startsWith("<CurrentVersion>2.1.0</CurrentVersion>xxx"));
    // The client hung up: the server's stream ended long before its own limit.
    QVERIFY(m_server.streamed < 16 * HTTPReplyParser::kMaxReply);
}

void tst_httpsocket::failure_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("code");

    const QString refused = refusedAddress(QStringLiteral("/Updates/tavrelo.xml"));
    QVERIFY(!refused.isEmpty());

    QTest::newRow("refused") << refused << int(HTTPSocket::ConnectionRefused);
    // The highest port is a port: the peer refuses it, the address is not bad.
    QTest::newRow("port 65535 refused")
        << QStringLiteral("http://127.0.0.1:65535/") << int(HTTPSocket::ConnectionRefused);
    QTest::newRow("unresolvable") << QStringLiteral("http://tavrelo-no-such-host.invalid/")
                                  << int(HTTPSocket::HostNotFound);
    const struct
    {
        const char *row, *address;
    } bad[] = {
        {"empty", ""},
        {"no scheme", "127.0.0.1/Updates/tavrelo.xml"},
        {"https", "https://127.0.0.1/"},
        {"ftp", "ftp://127.0.0.1/"},
        {"no host", "http:///Updates/tavrelo.xml"},
        {"empty port", "http://127.0.0.1:/"},
        {"port 0", "http://127.0.0.1:0/"},
        {"port too large", "http://127.0.0.1:65536/"},
        {"port not a number", "http://127.0.0.1:8x/"},
        {"blank in path", "http://127.0.0.1/a b"},
        {"line break in path", "http://127.0.0.1/a\r\nX-Injected: 1"},
        {"unclosed bracket", "http://[::1/"},
    };
    for (const auto &row : bad)
        QTest::newRow(row.row) << QString::fromLatin1(row.address) << int(HTTPSocket::BadAddress);
}

void tst_httpsocket::failure()
{
    QFETCH(QString, address);
    QFETCH(int, code);

    if (code == HTTPSocket::HostNotFound) {
        const QHostInfo lookup = QHostInfo::fromName(QUrl(address).host());
        if (lookup.error() != QHostInfo::HostNotFound)
            QSKIP("The name service here gives no answer for names that do not exist");
    }
    if (code == HTTPSocket::ConnectionRefused) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, quint16(QUrl(address).port())))
            QSKIP("Something here listens on the port that should refuse");
    }

    HTTPSocket socket;
    QSignalSpy pages(&socket, &HTTPSocket::PageReceived);
    QSignalSpy errors(&socket, &HTTPSocket::Error);
    socket.Get(address);
    // Get returns at once; the failure comes from the loop.
    QCOMPARE(errors.size(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 30000);
    QCOMPARE(errors.first().at(0).toInt(), code);
    QTest::qWait(50);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(pages.size(), 0);
    QCOMPARE(m_server.connections, 0);
}

void tst_httpsocket::closeDropsTheRequest()
{
    m_server.after = LocalHttpServer::After::Hold;
    HTTPSocket socket;
    QSignalSpy pages(&socket, &HTTPSocket::PageReceived);
    QSignalSpy errors(&socket, &HTTPSocket::Error);
    socket.Get(m_server.address());
    QTRY_COMPARE_WITH_TIMEOUT(m_server.requests.size(), 1, 10000);
    socket.Close();
    m_server.answerHeld("HTTP/1.0 200 OK\r\n\r\nlate");
    QTest::qWait(100);
    QCOMPARE(pages.size(), 0);
    QCOMPARE(errors.size(), 0);
}

void tst_httpsocket::getDropsTheEarlierRequest()
{
    m_server.after = LocalHttpServer::After::Hold;
    HTTPSocket socket;
    QSignalSpy pages(&socket, &HTTPSocket::PageReceived);
    socket.Get(m_server.address(QStringLiteral("/first")));
    QTRY_COMPARE_WITH_TIMEOUT(m_server.requests.size(), 1, 10000);
    m_server.after = LocalHttpServer::After::Close;
    m_server.reply = "HTTP/1.0 200 OK\r\n\r\nsecond";
    socket.Get(m_server.address(QStringLiteral("/second")));
    QTRY_COMPARE_WITH_TIMEOUT(pages.size(), 1, 10000);
    m_server.answerHeld("HTTP/1.0 200 OK\r\n\r\nfirst");
    QTest::qWait(100);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.first().at(0).toString(), m_server.address(QStringLiteral("/second")));
    QCOMPARE(pages.first().at(3).toByteArray(), QByteArray("second"));
}

void tst_httpsocket::eventAlreadyDueIsDropped_data()
{
    QTest::addColumn<bool>("pageDue");
    QTest::addColumn<bool>("getAgain");
    QTest::newRow("error due, then Close") << false << false;
    QTest::newRow("error due, then another Get") << false << true;
    QTest::newRow("page due, then Close") << true << false;
    QTest::newRow("page due, then another Get") << true << true;
}

// An event already waiting in the loop belongs to its request: once that request is dropped,
// the event must not come. The request is dropped at the last moment, as the event is about
// to be delivered.
void tst_httpsocket::eventAlreadyDueIsDropped()
{
    QFETCH(bool, pageDue);
    QFETCH(bool, getAgain);

    m_server.reply = "HTTP/1.0 200 OK\r\n\r\nreply";
    HTTPSocket socket;
    QSignalSpy pages(&socket, &HTTPSocket::PageReceived);
    QSignalSpy errors(&socket, &HTTPSocket::Error);
    const QString second = m_server.address(QStringLiteral("/second"));
    BeforeFirstDelivery dropTheRequest(&socket, [&] {
        if (getAgain)
            socket.Get(second);
        else
            socket.Close();
    });
    socket.Get(pageDue ? m_server.address(QStringLiteral("/first"))
                       : QStringLiteral("ftp://127.0.0.1/"));
    QTRY_VERIFY_WITH_TIMEOUT(dropTheRequest.done(), 10000);
    if (getAgain) {
        QTRY_COMPARE_WITH_TIMEOUT(pages.size(), 1, 10000);
        QCOMPARE(pages.first().at(0).toString(), second);
    }
    QTest::qWait(100);
    QCOMPARE(errors.size(), 0);
    QCOMPARE(pages.size(), getAgain ? 1 : 0);
}

QTEST_GUILESS_MAIN(tst_httpsocket)
#include "tst_httpsocket.moc"
