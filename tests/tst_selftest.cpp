#include "update/selftest.h"

#include "app/app.h"
#include "message/window1.h"
#include "tests/support/localhttpserver.h"
#include "tests/support/recordingservices.h"
#include "tests/support/refusedaddress.h"
#include "tests/support/testhome.h"
#include "update/updatewindow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

const QString kCurrent =
    QStringLiteral("You are using the current version. No update is available.");
const QByteArray kCurrentManifest = "HTTP/1.0 200 OK\r\n\r\n<CurrentVersion>2.1.0</CurrentVersion>";

// How the check that the button starts ends.
enum class Outcome { Current, Offer, Refused };

} // namespace

// The self-test window: its design, and the check its button runs in the update window.
class tst_selftest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void cleanupTestCase();
    void frame();
    void controls_data();
    void controls();
    void checkNowShowsOneWindow();
    void checkNowAgainTakesTheFocus();
    void closeBoxStartsNoCheck();
    void check_data();
    void check();
    void eachCheckIsFresh();

private:
    selfTest *checkNow();
    // Presses the self-test window's button as a person would and returns once the button's
    // handler has returned, that is, once the check is over.
    void pressCheckForUpdates(selfTest *window, bool byReturn);

    TestHome m_home; // the main window saves its position on closing
    App m_app;
    RecordingServices m_services;
    LocalHttpServer m_server;
    bool m_selfTestOpenWhileMessage = true;
    bool m_updateModalWhileMessage = false;
};

void tst_selftest::init()
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
    updateWindow::setManifestAddress(m_server.address());
}

void tst_selftest::cleanup()
{
    for (Window *window :
         std::initializer_list<Window *>{selfTest::openInstance(), updateWindow::openInstance()}) {
        if (window)
            window->close();
    }
    QTRY_VERIFY(!selfTest::openInstance() && !updateWindow::openInstance());
    // Closing the main window would end the program; it only goes out of sight.
    if (Window1 *main = Window1::openInstance())
        main->hide();
}

void tst_selftest::cleanupTestCase()
{
    if (Window1 *main = Window1::openInstance())
        main->close();
}

selfTest *tst_selftest::checkNow()
{
    // Bound at start-up, and answers False every time.
    const std::optional<bool> handled =
        m_app.dispatchMenu(QStringLiteral("CheckforUpdateCheckNow"), nullptr);
    return handled == false ? selfTest::openInstance() : nullptr;
}

void tst_selftest::pressCheckForUpdates(selfTest *window, bool byReturn)
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
    // Return goes where a key goes: to the window with the focus.
    if (byReturn)
        QVERIFY(QTest::qWaitForWindowActive(window));
    QPointer<QWindow> focus = QGuiApplication::focusWindow();
    QTimer::singleShot(0, [&returned, button, focus, byReturn] {
        if (byReturn)
            QTest::keyClick(focus, Qt::Key_Return);
        else
            QTest::mouseClick(button, Qt::LeftButton);
        returned = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(returned, 20000);
    QVERIFY(safety.isActive());
}

void tst_selftest::frame()
{
    QPointer<selfTest> window = checkNow();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Self Test"));
    QCOMPARE(window->content()->size(), QSize(212, 102));
    QCOMPARE(window->minimumSize(), window->maximumSize()); // not resizable
    // A document window with a close box only.
    QVERIFY(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!window->isModal());
}

void tst_selftest::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QPoint>("at");
    // An invalid size: the control's width follows its text.
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    // Empty: the alignment follows the text too.
    QTest::addColumn<Qt::Alignment>("alignment");

    QTest::newRow("StaticText1") << QStringLiteral("StaticText1") << QStringLiteral("QLabel")
                                 << QPoint(38, 20) << QSize(67, 20) << QStringLiteral("Version:")
                                 << true << Qt::Alignment(Qt::AlignRight);
    QTest::newRow("StaticText2") << QStringLiteral("StaticText2") << QStringLiteral("QLabel")
                                 << QPoint(105, 20) << QSize() << m_app.LongVersion() << false
                                 << Qt::Alignment();
    QTest::newRow("PushButton1") << QStringLiteral("PushButton1") << QStringLiteral("QPushButton")
                                 << QPoint(28, 61) << QSize(157, 21)
                                 << QStringLiteral("Check for Updates") << true << Qt::Alignment();
}

void tst_selftest::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QPoint, at);
    QFETCH(QSize, size);
    QFETCH(QString, text);
    QFETCH(bool, bold);
    QFETCH(Qt::Alignment, alignment);

    QPointer<selfTest> window = checkNow();
    QVERIFY(window);
    auto *control = window->content()->findChild<QWidget *>(name);
    QVERIFY(control);
    QVERIFY(control->inherits(className.toLatin1()));
    QCOMPARE(control->mapTo(window->content(), QPoint(0, 0)), at);
    if (size.isValid())
        QCOMPARE(control->size(), size);
    QVERIFY(control->isVisible());
    QVERIFY(control->isEnabled());

    // The system font, bold where designed.
    const QFont font = control->font();
    QCOMPARE(font.family(), QApplication::font(control).family());
    QCOMPARE(font.bold(), bold);
    QVERIFY(!font.italic());
    QVERIFY(!font.underline());
    if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), text);
        if (alignment)
            QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, alignment);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        QVERIFY(!label->wordWrap());
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), text);
        QVERIFY(button->focusPolicy() & Qt::TabFocus);
    }
}

void tst_selftest::checkNowShowsOneWindow()
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

// Chosen again from the main window, "Check Now" brings the open self-test window back with the
// focus, so that Return, which starts the check there, goes to it.
void tst_selftest::checkNowAgainTakesTheFocus()
{
    m_server.reply = kCurrentManifest;
    QPointer<selfTest> window = checkNow();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowActive(window));

    Window1 *main = Window1::instance();
    main->show();
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QCOMPARE(m_app.dispatchMenu(QStringLiteral("CheckforUpdateCheckNow"), main),
             std::optional(false));
    QCOMPARE(selfTest::openInstance(), window.data());
    QTRY_COMPARE(QApplication::activeWindow(), window.data());
    QCOMPARE(QGuiApplication::focusWindow(), window->windowHandle());

    pressCheckForUpdates(window, true);
    QCOMPARE(m_server.connections, 1);
    QCOMPARE(m_services.messages, QStringList{kCurrent});
    QTRY_VERIFY(!window);
}

void tst_selftest::closeBoxStartsNoCheck()
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

void tst_selftest::check_data()
{
    QTest::addColumn<bool>("byReturn");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("offers");

    QTest::newRow("click, current") << false << Outcome::Current << QStringList{kCurrent} << 0;
    QTest::newRow("Return, current") << true << Outcome::Current << QStringList{kCurrent} << 0;
    QTest::newRow("click, offer declined") << false << Outcome::Offer << QStringList() << 1;
    QTest::newRow("click, refused")
        << false << Outcome::Refused
        << QStringList{QStringLiteral("There was a communication error with the website. Please "
                                      "try again later. (Code: 3)")}
        << 0;
}

void tst_selftest::check()
{
    QFETCH(bool, byReturn);
    QFETCH(Outcome, outcome);
    QFETCH(QStringList, messages);
    QFETCH(int, offers);

    switch (outcome) {
    case Outcome::Current:
        m_server.reply = kCurrentManifest;
        break;
    case Outcome::Offer:
        m_server.reply = "HTTP/1.0 200 OK\r\n\r\n<CurrentVersion>2.2.0</CurrentVersion>";
        break;
    case Outcome::Refused: {
        const QString address = refusedAddress();
        QVERIFY(!address.isEmpty());
        updateWindow::setManifestAddress(address);
        break;
    }
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

void tst_selftest::eachCheckIsFresh()
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

QTEST_MAIN(tst_selftest)
#include "tst_selftest.moc"
