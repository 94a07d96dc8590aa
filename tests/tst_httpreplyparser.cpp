#include "framework/httpreplyparser.h"

#include <QTest>

// Every way an HTTP/1.0 reply can be cut, ended or mangled, read from bytes alone.
class tst_httpreplyparser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reply_data();
    void reply();
    void cap();
};

void tst_httpreplyparser::reply_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<InternetHeaders>("headers");
    QTest::addColumn<QByteArray>("content");

    const InternetHeaders typeOnly{{"Content-Type", "text/xml"}};

    QTest::newRow("CR LF") << QByteArray("HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n<a/>")
                           << 200 << typeOnly << QByteArray("<a/>");
    QTest::newRow("LF") << QByteArray("HTTP/1.0 200 OK\nContent-Type: text/xml\n\n<a/>") << 200
                        << typeOnly << QByteArray("<a/>");
    QTest::newRow("CR") << QByteArray("HTTP/1.0 200 OK\rContent-Type: text/xml\r\r<a/>") << 200
                        << typeOnly << QByteArray("<a/>");
    QTest::newRow("mixed ends") << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Type: text/xml\n"
                                              "\r\n<a/>")
                                << 404 << typeOnly << QByteArray("<a/>");
    QTest::newRow("CR then CR LF") << QByteArray("HTTP/1.0 301 Moved\r\r\nbody") << 301
                                   << InternetHeaders() << QByteArray("body");
    const QByteArray raw("\r\n\0\xff\r\n\r\nend", 11);
    QTest::newRow("body kept raw")
        << "HTTP/1.0 200 OK\r\n\r\n" + raw << 200 << InternetHeaders() << raw;
    QTest::newRow("headers in order, values trimmed")
        << QByteArray("HTTP/1.0 200 OK\r\nB:  2 \r\nnot a header\r\nA:1:x\r\n\r\n") << 200
        << InternetHeaders{{"B", "2"}, {"A", "1:x"}} << QByteArray();
    QTest::newRow("nothing") << QByteArray() << 0 << InternetHeaders() << QByteArray();
    QTest::newRow("header never ended") << QByteArray("HTTP/1.0 200 OK\r\nContent-Type: text/xml")
                                        << 200 << typeOnly << QByteArray();
    QTest::newRow("ends on CR") << QByteArray("HTTP/1.0 200 OK\r\r") << 200 << InternetHeaders()
                                << QByteArray();
    QTest::newRow("empty first line") << QByteArray("\r\nHTTP/1.0 200 OK\r\n") << 0
                                      << InternetHeaders() << QByteArray("HTTP/1.0 200 OK\r\n");
    QTest::newRow("no second field")
        << QByteArray("HTTP/1.0\r\n\r\nx") << 0 << InternetHeaders() << QByteArray("x");
    QTest::newRow("second field not a number")
        << QByteArray("HTTP/1.0 OK 200\r\n\r\nx") << 0 << InternetHeaders() << QByteArray("x");
    QTest::newRow("status with trailing text")
        << QByteArray("HTTP/1.0  302x\r\n\r\n") << 302 << InternetHeaders() << QByteArray();
    QTest::newRow("status too large")
        << QByteArray("HTTP/1.0 99999999999\r\n\r\n") << 0 << InternetHeaders() << QByteArray();
    QTest::newRow("status line of garbage")
        << QByteArray("\x01\xff\xfe garbage\r\n\r\n<CurrentVersion>2.1.0</CurrentVersion>") << 0
        << InternetHeaders() << QByteArray("<CurrentVersion>2.1.0</CurrentVersion>");
    QTest::newRow("dropped mid-header")
        << QByteArray("HTTP/1.0 200 OK\r\nContent-Ty") << 200 << InternetHeaders() << QByteArray();
    QTest::newRow("no header block at all") << QByteArray("<CurrentVersion>2.1.0</CurrentVersion>")
                                            << 0 << InternetHeaders() << QByteArray();
}

// Every row is read whole, byte by byte, and split in two at every position: where a chunk
// ends must not matter, a CR at the end of one chunk above all.
void tst_httpreplyparser::reply()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(InternetHeaders, headers);
    QFETCH(QByteArray, content);

    auto check = [&](const QList<QByteArrayView> &chunks, const QByteArray &how) {
        HTTPReplyParser parser;
        for (QByteArrayView chunk : chunks)
            QVERIFY(parser.feed(chunk));
        parser.finish();
        QVERIFY2(parser.status() == status, how.constData());
        QVERIFY2(parser.headers() == headers, how.constData());
        QVERIFY2(parser.content() == content, how.constData());
    };

    check({bytes}, "whole");
    QList<QByteArrayView> single;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        single.append(QByteArrayView(bytes).sliced(i, 1));
    check(single, "byte by byte");
    for (qsizetype at = 0; at <= bytes.size(); ++at) {
        const QByteArrayView view(bytes);
        check({view.first(at), view.sliced(at)}, "split at " + QByteArray::number(at));
    }
}

void tst_httpreplyparser::cap()
{
    const QByteArray head("HTTP/1.0 200 OK\r\n\r\n");
    HTTPReplyParser parser;
    QVERIFY(parser.feed(head));
    const QByteArray chunk(1000, 'x');
    bool more = true;
    while (more)
        more = parser.feed(chunk);
    QVERIFY(parser.isFull());
    QVERIFY(!parser.feed("more"));
    parser.finish();
    QCOMPARE(parser.status(), 200);
    QCOMPARE(parser.content().size(), HTTPReplyParser::kMaxReply - head.size());

    // A header block that never ends is bounded by the same cap.
    HTTPReplyParser endless;
    QVERIFY(endless.feed("HTTP/1.0 200 OK\r\n"));
    const QByteArray line(999, 'h');
    while (endless.feed(line)) {
    }
    endless.finish();
    QCOMPARE(endless.status(), 200);
    QVERIFY(endless.content().isEmpty());
}

QTEST_GUILESS_MAIN(tst_httpreplyparser)
#include "tst_httpreplyparser.moc"
