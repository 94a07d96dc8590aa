#include "update/selftest.h"

#include "app/addresses.h"
#include "app/app.h"
#include "tests/support/localhttpserver.h"
#include "tests/support/recordingservices.h"
#include "update/updatewindow.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString kCurrent =
    QStringLiteral("You are using the current version. No update is available.");
const QByteArray kCurrentManifest = "HTTP/1.0 200 OK\r\n\r\n<CurrentVersion>2.1.0</CurrentVersion>";

} // namespace

class TestSelfTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void checkNowShowsOneWindow();
    void closeBoxStartsNoCheck();
    void check_data();
    void check();
    void eachCheckIsFresh();

private:
    selfTest *checkNow();
    // Presses the self-test window's button as a person would and returns once the button's
    // handler has returned, that is, once the check is over.
    void pressCheckForUpdates(selfTest *window, bool byReturn);

    App m_app;
    RecordingServices m_services;
    LocalHttpServer m_server;
    bool m_selfTestOpenWhileMessage = true;
    bool m_updateModalWhileMessage = false;
};

void TestSelfTest::init()
{
    m_server.reset();
    m_services.clear();
    m_selfTestOpenWhileMessage = true;
    m_updateModalWhileMessage = false;
    m_services.whileMessageShown = [this](const QString &) {
        m_selfTestOpenWhileMessage = selfTest::openInstance() != nullptr;
        const updateWindow *update = updateWindow::openInstance();
        m_updateModalWhileMessage = update && update->isVisible() && update->isModal();
    };
    Addresses::setManifest(m_server.address());
}

void TestSelfTest::cleanup()
{
    for (Window *window :
         std::initializer_list<Window *>{selfTest::openInstance(), updateWindow::openInstance()}) {
        if (window)
            window->close();
    }
    QTRY_VERIFY(!selfTest::openInstance() && !updateWindow::openInstance());
}

selfTest *TestSelfTest::checkNow()
{
    // Bound at start-up, and answers False every time.
    const std::optional<bool> handled =
        m_app.dispatchMenu(QStringLiteral("CheckforUpdateCheckNow"), nullptr);
    return handled == false ? selfTest::openInstance() : nullptr;
}

void TestSelfTest::pressCheckForUpdates(selfTest *window, bool byReturn)
{
    // However the check goes wrong, the modal loop ends.
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, this, [] {
        if (updateWindow *update = updateWindow::openInstance())
            update->close();
    });
    safety.start(15000);

    bool returned = false;
    QPointer<QPushButton> button = window->PushButton1;
    QTimer::singleShot(0, [&returned, button, byReturn] {
        if (byReturn)
            QTest::keyClick(button->window(), Qt::Key_Return);
        else
            QTest::mouseClick(button, Qt::LeftButton);
        returned = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(returned, 20000);
    QVERIFY(safety.isActive());
}

void TestSelfTest::checkNowShowsOneWindow()
{
    QPointer<selfTest> window = checkNow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Self Test"));
    QCOMPARE(window->content()->size(), QSize(212, 102));
    QCOMPARE(window->StaticText1->text(), QStringLiteral("Version:"));
    QCOMPARE(window->StaticText2->text(), m_app.LongVersion());
    QVERIFY(window->StaticText2->text() != u"2.1.0 Intel");
    // However long the version, its number stays in view beside "Version:".
    const QLabel *version = window->StaticText2;
    QVERIFY(version->fontMetrics().horizontalAdvance(version->text()) <= version->width() ||
            version->alignment() & Qt::AlignLeft);
    QCOMPARE(version->geometry().topLeft(), QPoint(105, 20));
    QCOMPARE(window->PushButton1->text(), QStringLiteral("Check for Updates"));
    QVERIFY(window->PushButton1->isDefault());

    QCOMPARE(checkNow(), window.data());
    QCOMPARE(window->StaticText2->text(), m_app.LongVersion());
    QTest::qWait(50);
    QCOMPARE(m_server.connections, 0);
}

void TestSelfTest::closeBoxStartsNoCheck()
{
    QPointer<selfTest> window = checkNow();
    QVERIFY(window);
    window->close();
    QTRY_VERIFY(!window);
    QTest::qWait(100);
    QCOMPARE(m_server.connections, 0);
    QVERIFY(!updateWindow::openInstance());

    QPointer<selfTest> again = checkNow();
    QVERIFY(again);
    QVERIFY(again->isVisible());
}

void TestSelfTest::check_data()
{
    QTest::addColumn<bool>("byReturn");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("offers");

    QTest::newRow("click, current")
        << false << QStringLiteral("current") << QStringList{kCurrent} << 0;
    QTest::newRow("Return, current")
        << true << QStringLiteral("current") << QStringList{kCurrent} << 0;
    QTest::newRow("click, offer declined")
        << false << QStringLiteral("offer") << QStringList() << 1;
    QTest::newRow("click, refused")
        << false << QStringLiteral("refused")
        << QStringList{QStringLiteral("There was a communication error with the website. Please "
                                      "try again later. (Code: 3)")}
        << 0;
}

void TestSelfTest::check()
{
    QFETCH(bool, byReturn);
    QFETCH(QString, outcome);
    QFETCH(QStringList, messages);
    QFETCH(int, offers);

    QTcpServer closed;
    if (outcome == u"refused") {
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        Addresses::setManifest(QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort()));
        closed.close();
    } else {
        m_server.reply = outcome == u"offer"
                             ? QByteArray("HTTP/1.0 200 OK\r\n\r\n<CurrentVersion>2.2.0"
                                          "</CurrentVersion>")
                             : kCurrentManifest;
    }
    m_services.dialogChoice = Services::Choice::Cancel;

    QPointer<selfTest> window = checkNow();
    QVERIFY(window);
    pressCheckForUpdates(window, byReturn);

    QCOMPARE(m_services.messages, messages);
    QCOMPARE(m_services.dialogs.size(), offers);
    if (!messages.isEmpty()) {
        // The update window had replaced the self-test window.
        QVERIFY(!m_selfTestOpenWhileMessage);
        QVERIFY(m_updateModalWhileMessage);
    }
    QVERIFY(!updateWindow::openInstance());
    QVERIFY(!selfTest::openInstance());
    QTRY_VERIFY(!window);
    // None flashes up afterwards either.
    QTest::qWait(50);
    QVERIFY(!selfTest::openInstance());
}

void TestSelfTest::eachCheckIsFresh()
{
    m_server.reply = kCurrentManifest;
    for (int round = 1; round <= 2; ++round) {
        QPointer<selfTest> window = checkNow();
        QVERIFY(window);
        pressCheckForUpdates(window, false);
        QCOMPARE(m_server.connections, round);
        QCOMPARE(m_services.messages.size(), round);
        QTRY_VERIFY(!window);
    }
}

QTEST_MAIN(TestSelfTest)
#include "tst_selftest.moc"
