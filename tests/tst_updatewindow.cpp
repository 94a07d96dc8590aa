#include "update/updatewindow.h"

#include "framework/application.h"
#include "framework/httpsocket.h"
#include "tests/support/localhttpserver.h"
#include "tests/support/recordingservices.h"
#include "tests/support/refusedaddress.h"

#include "buildinfo.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString kCurrent =
    QStringLiteral("You are using the current version. No update is available.");
const QString kFreeOffer = QStringLiteral(
    "Version 2.2.0 is now available. (You are using version 2.1.0.) This is a free upgrade. "
    "Would you like to automatically download this update (using your web browser)?");
const QString kPaidOffer = QStringLiteral(
    "Version 2.2.0 is now available. (You are using version 2.1.0.) This is a paid upgrade. "
    "Would you like to automatically download the trial version (using your web browser)?");
const QString kDownload = QStringLiteral("http://www.brinmoor.example/tavrelo-2.2.0.zip");
const QString kOffered = QStringLiteral("messageDialog New version available!");
const QString kClosed = QStringLiteral("closed");
const QString kRefused = QStringLiteral(
    "There was a communication error with the website. Please try again later. (Code: 3)");

// How the person ends a check that is still waiting.
enum class Dismiss { Click, Return, Escape, CloseBox };

QByteArray manifest(const QByteArray &version, const QByteArray &free = "Yes",
                    const QByteArray &download = kDownload.toLatin1())
{
    return "<?xml version=\"1.0\"?>\n<Tavrelo>\n"
           "  <CurrentVersion>" +
           version +
           "</CurrentVersion>\n"
           "  <Description>Faster drawing &amp; a new backdrop.</Description>\n"
           "  <Free>" +
           free +
           "</Free>\n"
           "  <DownloadURLOSX>" +
           download + "</DownloadURLOSX>\n</Tavrelo>\n";
}

QByteArray ok(const QByteArray &body)
{
    return "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n" + body;
}

// Calls act on the message box once it is up; whatever happens, no box stays up for long.
void whenMessageBoxShows(std::function<void(QMessageBox *)> act)
{
    auto *poll = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(10000);
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, act] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            act(box);
        } else if (deadline->hasExpired()) {
            poll->deleteLater();
        }
    });
    poll->start(10);
}

} // namespace

// The update window: its design, the request it sends, and what each reply, failure and
// answer to the offer leads to, in the order the person sees it.
class tst_updatewindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void frame();
    void controls_data();
    void controls();
    void request_data();
    void request();
    void reply_data();
    void reply();
    void endlessReplyIsCapped();
    void refused();
    void waitsUntilCancel_data();
    void waitsUntilCancel();
    void failureAfterCloseShowsNothing();
    void offer_data();
    void offer();
    void refusedLaunchBeeps_data();
    void refusedLaunchBeeps();
    void offerDialog_data();
    void offerDialog();

private:
    // The update window as the self-test window's button opens it, shown without a modal
    // loop so the test can go on around it. Its closing is recorded among the calls.
    QPointer<updateWindow> startCheck();

    Application m_app;
    RecordingServices m_services;
    LocalHttpServer m_server;
    QString m_statusWhileMessage;
    bool m_barVisibleWhileMessage = true;
};

void tst_updatewindow::init()
{
    m_server.reset();
    m_services.clear();
    m_services.dialogChoice = Services::Choice::Cancel;
    m_statusWhileMessage.clear();
    m_barVisibleWhileMessage = true;
    m_services.whileMessageShown = [this](const QString &) {
        if (updateWindow *window = updateWindow::openInstance()) {
            m_statusWhileMessage = window->StaticText1->text();
            m_barVisibleWhileMessage = window->ProgressBar1->isVisible();
        }
    };
    updateWindow::setManifestAddress(m_server.address());
}

void tst_updatewindow::cleanup()
{
    if (updateWindow *window = updateWindow::openInstance())
        window->close();
    QTRY_VERIFY(!updateWindow::openInstance());
    Services::install(&m_services);
}

QPointer<updateWindow> tst_updatewindow::startCheck()
{
    QPointer<updateWindow> window = updateWindow::instance();
    connect(window, &Window::closed, this, [this] { m_services.calls.append(kClosed); });
    window->show();
    return window;
}

void tst_updatewindow::frame()
{
    m_server.after = LocalHttpServer::After::Hold;
    QPointer<updateWindow> window = startCheck();
    QCOMPARE(window->windowTitle(), QStringLiteral("Update"));
    QCOMPARE(window->content()->size(), QSize(300, 120));
    QCOMPARE(window->minimumSize(), window->maximumSize()); // not resizable
    // Movable and modal: a close box and a minimise button, no maximise button.
    QVERIFY(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!window->menuWidget()); // no menu bar of its own
    QCOMPARE(window->hp->parent(), window.data());
    QVERIFY(window->PushButton1->focusPolicy() & Qt::TabFocus);
}

void tst_updatewindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    // An empty family is the system font at its standard size.
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixelSize");

    QTest::newRow("StaticText1") << QStringLiteral("StaticText1") << QStringLiteral("QLabel")
                                 << QRect(20, 19, 266, 20)
                                 << QStringLiteral("Checking for update...")
                                 << QStringLiteral("Arial") << 12;
    QTest::newRow("ProgressBar1") << QStringLiteral("ProgressBar1")
                                  << QStringLiteral("QProgressBar") << QRect(20, 46, 260, 12)
                                  << QString() << QString() << 0;
    QTest::newRow("PushButton1") << QStringLiteral("PushButton1") << QStringLiteral("QPushButton")
                                 << QRect(208, 80, 72, 20) << QStringLiteral("Cancel") << QString()
                                 << 0;
}

void tst_updatewindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(int, pixelSize);

    m_server.after = LocalHttpServer::After::Hold;
    QPointer<updateWindow> window = startCheck();
    auto *control = window->content()->findChild<QWidget *>(name);
    QVERIFY(control);
    QVERIFY(control->inherits(className.toLatin1()));
    QCOMPARE(QRect(control->mapTo(window->content(), QPoint(0, 0)), control->size()), geometry);
    QVERIFY(control->isVisibleTo(window));
    QVERIFY(control->isEnabled());

    const QFont font = control->font();
    QVERIFY(!font.bold());
    QVERIFY(!font.italic());
    QVERIFY(!font.underline());
    if (family.isEmpty()) {
        QCOMPARE(font, QApplication::font(control));
    } else {
        QCOMPARE(font.family(), family);
        QCOMPARE(font.pixelSize(), pixelSize);
    }
    if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), text);
        QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        QVERIFY(!label->wordWrap());
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), text);
    }
}

void tst_updatewindow::request_data()
{
    QTest::addColumn<bool>("ipv6");
    QTest::addColumn<QByteArray>("host"); // as the address names it

    QTest::newRow("IPv4") << false << QByteArray("127.0.0.1");
    QTest::newRow("IPv6 in brackets") << true << QByteArray("[::1]");
}

// The one request goes to the host the address names, and the check runs to its end.
void tst_updatewindow::request()
{
    QFETCH(bool, ipv6);
    QFETCH(QByteArray, host);

    LocalHttpServer server(ipv6 ? QHostAddress::LocalHostIPv6 : QHostAddress::LocalHost);
    if (!server.isListening())
        QSKIP(qPrintable(QStringLiteral("Nothing can listen on %1 here: %2")
                             .arg(QString::fromLatin1(host), server.listenError())));
    const QByteArray serverPart = host + ':' + QByteArray::number(server.port());
    updateWindow::setManifestAddress(
        QString::fromLatin1("http://" + serverPart + "/Updates/tavrelo.xml"));
    server.reply = ok(manifest("2.1.0"));

    QPointer<updateWindow> window = startCheck();
    QTRY_VERIFY_WITH_TIMEOUT(!window, 10000);
    QCOMPARE(server.requests, QList<QByteArray>{"GET /Updates/tavrelo.xml HTTP/1.0\r\n"
                                                "Accept: */*\r\n"
                                                "Accept-Language: en\r\n"
                                                "Host: " +
                                                serverPart + "\r\n\r\n"});
    QCOMPARE(m_services.calls, (QStringList{QStringLiteral("msgBox ") + kCurrent, kClosed}));
    QCOMPARE(m_services.beeps, 0);
}

void tst_updatewindow::reply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("offer");

    const QString emptyVersionOffer = QStringLiteral(
        "Version  is now available. (You are using version 2.1.0.) This is a paid upgrade. "
        "Would you like to automatically download the trial version (using your web browser)?");

    QTest::newRow("current") << ok(manifest("2.1.0")) << QStringList{kCurrent} << QString();
    QTest::newRow("2.1 is current") << ok(manifest("2.1")) << QStringList{kCurrent} << QString();
    QTest::newRow("free offer") << ok(manifest("2.2.0", "Yes")) << QStringList() << kFreeOffer;
    QTest::newRow("paid offer") << ok(manifest("2.2.0", "No")) << QStringList() << kPaidOffer;
    QTest::newRow("older version offered")
        << ok(manifest("2.0.9", "No")) << QStringList()
        << QString(kPaidOffer).replace(QStringLiteral("2.2.0"), QStringLiteral("2.0.9"));
    QTest::newRow("404 page read as a manifest")
        << QByteArray("HTTP/1.0 404 Not Found\r\n\r\n<html><body>Not Found</body></html>")
        << QStringList() << emptyVersionOffer;
    QTest::newRow("301 not followed, its body read")
        << "HTTP/1.0 301 Moved Permanently\r\nLocation: /elsewhere.xml\r\n\r\n" + manifest("2.1.0")
        << QStringList{kCurrent} << QString();
    // However the reply is cut (tst_httpreplyparser reads each way), no body closes the
    // window without a word.
    QTest::newRow("closed with nothing sent") << QByteArray() << QStringList() << QString();
    QTest::newRow("headers without a body")
        << QByteArray("HTTP/1.0 200 OK\r\n\r\n") << QStringList() << QString();

    // What a hostile or broken server can send: never a crash, never a hang.
    QTest::newRow("doubled tags, first wins")
        << ok("<CurrentVersion>2.1.0</CurrentVersion><CurrentVersion>9</CurrentVersion>")
        << QStringList{kCurrent} << QString();
    QTest::newRow("tags in other case")
        << ok("<CURRENTVERSION>2.1.0</currentversion>") << QStringList{kCurrent} << QString();
    QTest::newRow("control characters after the version")
        << ok("<CurrentVersion>2.1.0\a\x1b[31m</CurrentVersion>") << QStringList{kCurrent}
        << QString();
    QTest::newRow("NUL inside the version")
        << ok(QByteArray("<CurrentVersion>2.2.0") + '\0' + "</CurrentVersion><Free>No</Free>")
        << QStringList()
        << QString(kPaidOffer)
               .replace(QStringLiteral("2.2.0 "), QStringLiteral("2.2.0") + QChar(0) + u' ');
    QTest::newRow("placeholders in the version shown as written")
        << ok("<CurrentVersion>%2 %1</CurrentVersion><Free>No</Free>") << QStringList()
        << QString(kPaidOffer).replace(QStringLiteral("2.2.0"), QStringLiteral("%2 %1"));
    QTest::newRow("huge version number")
        << ok("<CurrentVersion>" + QByteArray(100000, '9') + "</CurrentVersion>") << QStringList()
        << QString(kPaidOffer).replace(QStringLiteral("2.2.0"), QString(100000, u'9'));
}

void tst_updatewindow::reply()
{
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, messages);
    QFETCH(QString, offer);

    m_server.reply = reply;
    QPointer<updateWindow> window = startCheck();
    QTRY_VERIFY_WITH_TIMEOUT(!window, 10000);
    // The window closes only once the message or the offer is done with.
    QStringList calls;
    for (const QString &message : std::as_const(messages))
        calls.append(QStringLiteral("msgBox ") + message);
    if (!offer.isEmpty())
        calls.append(kOffered);
    calls.append(kClosed);
    QCOMPARE(m_services.calls, calls);
    QCOMPARE(m_services.messages, messages);
    QCOMPARE(m_services.dialogs.size(), offer.isEmpty() ? 0 : 1);
    if (!offer.isEmpty())
        QCOMPARE(m_services.dialogs.first().message, offer);
    if (!messages.isEmpty()) {
        QCOMPARE(m_statusWhileMessage, QStringLiteral("This version is current."));
        QVERIFY(!m_barVisibleWhileMessage);
    }
    QCOMPARE(m_services.beeps, 0);
    QVERIFY(m_services.urls.isEmpty());
    QCOMPARE(m_server.connections, 1);
}

void tst_updatewindow::endlessReplyIsCapped()
{
    m_server.reply = ok(manifest("2.1.0"));
    m_server.after = LocalHttpServer::After::Stream;
    QPointer<updateWindow> window = startCheck();
    QTRY_VERIFY_WITH_TIMEOUT(!window, 20000);
    QCOMPARE(m_services.messages, QStringList{kCurrent});
}

void tst_updatewindow::refused()
{
    const QString address = refusedAddress(QStringLiteral("/Updates/tavrelo.xml"));
    QVERIFY(!address.isEmpty());
    updateWindow::setManifestAddress(address);

    QPointer<updateWindow> window = startCheck();
    QTRY_VERIFY_WITH_TIMEOUT(!window, 10000);
    // The beep comes first, the window goes once the message is dismissed.
    QCOMPARE(m_services.calls,
             (QStringList{QStringLiteral("beep"), QStringLiteral("msgBox ") + kRefused, kClosed}));
    QCOMPARE(m_services.beeps, 1);
    QCOMPARE(m_services.messages, QStringList{kRefused});
    QVERIFY(m_services.dialogs.isEmpty());
}

void tst_updatewindow::waitsUntilCancel_data()
{
    QTest::addColumn<Dismiss>("how");
    QTest::newRow("Cancel clicked") << Dismiss::Click;
    QTest::newRow("Return") << Dismiss::Return;
    QTest::newRow("Escape") << Dismiss::Escape;
    QTest::newRow("close box") << Dismiss::CloseBox;
}

void tst_updatewindow::waitsUntilCancel()
{
    QFETCH(Dismiss, how);

    m_server.after = LocalHttpServer::After::Hold;
    QPointer<updateWindow> window = startCheck();
    QTRY_COMPARE_WITH_TIMEOUT(m_server.held(), 1, 10000);
    QTest::qWait(100);
    QVERIFY(window);
    QCOMPARE(window->StaticText1->text(), QStringLiteral("Checking for update..."));
    QVERIFY(window->ProgressBar1->isVisible());
    QCOMPARE(window->ProgressBar1->maximum(), 0);

    // The server answers the moment the window has closed, while the connection still
    // stands: the answer is on its way, and must reach nobody. The closed window is kept
    // here, as a nested loop can hold back its deletion, so the answer meets a closed window
    // rather than none.
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    int answered = 0;
    connect(window, &Window::closed, this,
            [this, &answered] { answered = m_server.answerHeld(ok(manifest("2.2.0"))); });

    switch (how) {
    case Dismiss::Click:
        QTest::mouseClick(window->PushButton1, Qt::LeftButton);
        break;
    case Dismiss::Return:
        QTest::keyClick(window->PushButton1, Qt::Key_Return);
        break;
    case Dismiss::Escape:
        QTest::keyClick(window->PushButton1, Qt::Key_Escape);
        break;
    case Dismiss::CloseBox:
        window->close();
        break;
    }
    QCOMPARE(answered, 1);
    QTRY_VERIFY(!window->isVisible());
    QVERIFY(!updateWindow::openInstance());
    QTRY_COMPARE_WITH_TIMEOUT(m_server.held(), 0, 10000);
    QTest::qWait(200);
    QCOMPARE(m_services.calls, QStringList{kClosed});
    QCOMPARE(window->StaticText1->text(), QStringLiteral("Checking for update..."));
    QVERIFY(window->ProgressBar1->isVisibleTo(window));
    delete window;
}

void tst_updatewindow::failureAfterCloseShowsNothing()
{
    const QString address = refusedAddress();
    QVERIFY(!address.isEmpty());
    updateWindow::setManifestAddress(address);

    QPointer<updateWindow> window = startCheck();
    window->close();
    QTRY_VERIFY(!window);
    QTest::qWait(200);
    QCOMPARE(m_services.calls, QStringList{kClosed});
    QCOMPARE(m_services.beeps, 0);
    QVERIFY(m_services.messages.isEmpty());
}

void tst_updatewindow::offer_data()
{
    QTest::addColumn<Services::Choice>("choice");
    QTest::addColumn<QString>("download");
    // What follows the offer, up to the window closing; Go to Website leaves it open.
    QTest::addColumn<QStringList>("after");

    const QString https = QStringLiteral("https://www.brinmoor.example/tavrelo.zip");
    const QString beep = QStringLiteral("beep");
    auto opens = [](const QString &address) { return QStringLiteral("showURL ") + address; };

    QTest::newRow("cancel") << Services::Choice::Cancel << kDownload << QStringList{kClosed};
    QTest::newRow("action, http") << Services::Choice::Action << kDownload
                                  << QStringList{opens(kDownload), kClosed};
    QTest::newRow("action, https")
        << Services::Choice::Action << https << QStringList{opens(https), kClosed};
    QTest::newRow("action, scheme in capitals")
        << Services::Choice::Action << QStringLiteral("HTTP://www.brinmoor.example/tavrelo.zip")
        << QStringList{opens(QStringLiteral("http://www.brinmoor.example/tavrelo.zip")), kClosed};
    QTest::newRow("action, indented on a line of its own")
        << Services::Choice::Action << QStringLiteral("\n    ") + kDownload + QStringLiteral("\n  ")
        << QStringList{opens(kDownload), kClosed};
    QTest::newRow("action, CR LF and tabs around")
        << Services::Choice::Action << QStringLiteral("\r\n\t") + https + QStringLiteral("\t\r\n")
        << QStringList{opens(https), kClosed};
    QTest::newRow("action, blank inside")
        << Services::Choice::Action << QStringLiteral(" http://www.brinmoor.example/my file.zip")
        << QStringList{opens(QStringLiteral("http://www.brinmoor.example/my%20file.zip")), kClosed};
    QTest::newRow("action, already encoded")
        << Services::Choice::Action << QStringLiteral("http://www.brinmoor.example/my%20file.zip")
        << QStringList{opens(QStringLiteral("http://www.brinmoor.example/my%20file.zip")), kClosed};
    // Nothing to open: a beep says so, and the window goes as it does after a download.
    QTest::newRow("action, file") << Services::Choice::Action
                                  << QStringLiteral("file:///etc/passwd")
                                  << QStringList{beep, kClosed};
    QTest::newRow("action, indented file")
        << Services::Choice::Action << QStringLiteral("\n  file:///etc/passwd\n")
        << QStringList{beep, kClosed};
    QTest::newRow("action, custom scheme")
        << Services::Choice::Action << QStringLiteral("tavrelo-helper://run?x=1")
        << QStringList{beep, kClosed};
    QTest::newRow("action, javascript")
        << Services::Choice::Action << QStringLiteral("javascript:alert(1)")
        << QStringList{beep, kClosed};
    QTest::newRow("action, no scheme")
        << Services::Choice::Action << QStringLiteral("www.brinmoor.example/tavrelo.zip")
        << QStringList{beep, kClosed};
    QTest::newRow("action, no host")
        << Services::Choice::Action << QStringLiteral("http:///x") << QStringList{beep, kClosed};
    QTest::newRow("action, blank in the host")
        << Services::Choice::Action << QStringLiteral("http://www.brin moor.example/x")
        << QStringList{beep, kClosed};
    QTest::newRow("action, empty")
        << Services::Choice::Action << QString() << QStringList{beep, kClosed};
    QTest::newRow("action, only blanks")
        << Services::Choice::Action << QStringLiteral("\n   \n") << QStringList{beep, kClosed};
    QTest::newRow("go to website") << Services::Choice::Alternate << kDownload
                                   << QStringList{opens(QString::fromLatin1(BuildInfo::webSite))};
}

void tst_updatewindow::offer()
{
    QFETCH(Services::Choice, choice);
    QFETCH(QString, download);
    QFETCH(QStringList, after);

    m_services.dialogChoice = choice;
    m_server.reply = ok(manifest("2.2.0", "Yes", download.toUtf8()));
    QPointer<updateWindow> window = startCheck();
    QTRY_COMPARE_WITH_TIMEOUT(m_services.dialogs.size(), 1, 10000);

    const Services::MessageDialog &dialog = m_services.dialogs.first();
    QCOMPARE(dialog.title, QStringLiteral("New version available!"));
    QCOMPARE(dialog.message, kFreeOffer);
    QCOMPARE(dialog.explanation, QStringLiteral("Faster drawing &amp; a new backdrop."));
    QCOMPARE(dialog.icon, QMessageBox::Question);
    QVERIFY(dialog.actionCaption.isEmpty());
    QVERIFY(dialog.cancelVisible);
    QVERIFY(dialog.cancelCaption.isEmpty());
    QVERIFY(dialog.alternateVisible);
    QCOMPARE(dialog.alternateCaption, QStringLiteral("Go to Website"));

    const QStringList calls = QStringList{kOffered} + after;
    if (choice == Services::Choice::Alternate) {
        // The window stays, its bar hidden and its text as designed, until Cancel.
        QTest::qWait(50);
        QVERIFY(window);
        QCOMPARE(m_services.calls, calls);
        QVERIFY(!window->ProgressBar1->isVisible());
        QCOMPARE(window->StaticText1->text(), QStringLiteral("Checking for update..."));
        QTest::mouseClick(window->PushButton1, Qt::LeftButton);
        QTRY_VERIFY(!window);
        QCOMPARE(m_services.calls, calls + QStringList{kClosed});
    } else {
        QTRY_VERIFY(!window);
        QCOMPARE(m_services.calls, calls);
    }
    QVERIFY(m_services.messages.isEmpty());
}

void tst_updatewindow::refusedLaunchBeeps_data()
{
    QTest::addColumn<Services::Choice>("choice");
    QTest::addColumn<QStringList>("calls");

    const QString beep = QStringLiteral("beep");
    QTest::newRow("action") << Services::Choice::Action
                            << QStringList{kOffered, QStringLiteral("showURL ") + kDownload, beep,
                                           kClosed};
    QTest::newRow("go to website")
        << Services::Choice::Alternate
        << QStringList{kOffered,
                       QStringLiteral("showURL ") + QString::fromLatin1(BuildInfo::webSite), beep};
}

// No browser, or one that refuses the address: a beep, as for an address that can't be
// opened; the window then goes or stays as it does after a launch.
void tst_updatewindow::refusedLaunchBeeps()
{
    QFETCH(Services::Choice, choice);
    QFETCH(QStringList, calls);

    m_services.dialogChoice = choice;
    m_services.launches = false;
    m_server.reply = ok(manifest("2.2.0"));
    QPointer<updateWindow> window = startCheck();
    QTRY_COMPARE_WITH_TIMEOUT(m_services.dialogs.size(), 1, 10000);
    if (choice == Services::Choice::Alternate) {
        QTest::qWait(50);
        QVERIFY(window);
    } else {
        QTRY_VERIFY(!window);
    }
    QCOMPARE(m_services.calls, calls);
    QVERIFY(m_services.messages.isEmpty());
}

void tst_updatewindow::offerDialog_data()
{
    QTest::addColumn<QString>("press");
    QTest::addColumn<Services::Choice>("choice");

    QTest::newRow("action button") << QStringLiteral("OK") << Services::Choice::Action;
    QTest::newRow("cancel button") << QStringLiteral("Cancel") << Services::Choice::Cancel;
    QTest::newRow("Go to Website")
        << QStringLiteral("Go to Website") << Services::Choice::Alternate;
    QTest::newRow("Escape") << QString() << Services::Choice::Cancel;
}

// The system's own dialog, as the offer asks for it: the texts shown as written, three
// buttons, each answering as its role says.
void tst_updatewindow::offerDialog()
{
    QFETCH(QString, press);
    QFETCH(Services::Choice, choice);

    Services::MessageDialog dialog;
    dialog.title = QStringLiteral("New version available!");
    dialog.message = QStringLiteral("Version <b>2.2.0</b> is now available.");
    dialog.explanation = QStringLiteral("<a href=\"file:///etc/passwd\">Update</a> &amp; more");
    dialog.icon = QMessageBox::Question;
    dialog.cancelVisible = true;
    dialog.alternateCaption = QStringLiteral("Go to Website");
    dialog.alternateVisible = true;

    QStringList captions;
    QList<Qt::TextFormat> formats;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenMessageBoxShows([&](QMessageBox *box) {
        title = box->windowTitle();
        icon = box->icon();
        for (const QLabel *label : box->findChildren<QLabel *>()) {
            if (label->text() == dialog.message || label->text() == dialog.explanation)
                formats.append(label->textFormat());
        }
        QAbstractButton *pressed = nullptr;
        for (QAbstractButton *button : box->buttons()) {
            const QString caption = button->text().remove(u'&');
            captions.append(caption);
            if (caption == press)
                pressed = button;
        }
        if (pressed)
            pressed->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    });

    Services::install(nullptr);
    const Services::Choice answer = Services::current().messageDialog(dialog);
    Services::install(&m_services);

    QCOMPARE(answer, choice);
    QCOMPARE(title, dialog.title);
    QCOMPARE(icon, QMessageBox::Question);
    captions.sort();
    QCOMPARE(captions, (QStringList{QStringLiteral("Cancel"), QStringLiteral("Go to Website"),
                                    QStringLiteral("OK")}));
    QCOMPARE(formats, (QList<Qt::TextFormat>{Qt::PlainText, Qt::PlainText}));
}

QTEST_MAIN(tst_updatewindow)
#include "tst_updatewindow.moc"
