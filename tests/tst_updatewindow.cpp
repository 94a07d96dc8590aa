#include "update/updatewindow.h"

#include "app/addresses.h"
#include "app/app.h"
#include "framework/httpsocket.h"
#include "tests/support/localhttpserver.h"
#include "tests/support/recordingservices.h"

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

class TestUpdateWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
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
    void offerDialog_data();
    void offerDialog();

private:
    // The update window as the self-test window's button opens it, shown without a modal
    // loop so the test can go on around it.
    QPointer<updateWindow> startCheck();

    App m_app;
    RecordingServices m_services;
    LocalHttpServer m_server;
    QString m_statusWhileMessage;
    bool m_barVisibleWhileMessage = true;
};

void TestUpdateWindow::init()
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
    Addresses::setManifest(m_server.address());
}

void TestUpdateWindow::cleanup()
{
    if (updateWindow *window = updateWindow::openInstance())
        window->close();
    QTRY_VERIFY(!updateWindow::openInstance());
    Services::install(&m_services);
}

QPointer<updateWindow> TestUpdateWindow::startCheck()
{
    QPointer<updateWindow> window = updateWindow::instance();
    window->show();
    return window;
}

void TestUpdateWindow::request()
{
    m_server.reply = ok(manifest("2.1.0"));
    QPointer<updateWindow> window = startCheck();
    QTRY_VERIFY_WITH_TIMEOUT(!window, 10000);
    QCOMPARE(m_server.requests,
             QList<QByteArray>{"GET /Updates/tavrelo.xml HTTP/1.0\r\n"
                               "Accept: */*\r\n"
                               "Accept-Language: en\r\n"
                               "Host: 127.0.0.1:" +
                               QByteArray::number(m_server.port()) + "\r\n\r\n"});
}

void TestUpdateWindow::reply_data()
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
    QTest::newRow("closed with nothing sent") << QByteArray() << QStringList() << QString();
    QTest::newRow("headers without a body")
        << QByteArray("HTTP/1.0 200 OK\r\n\r\n") << QStringList() << QString();
    QTest::newRow("LF-only header ends")
        << "HTTP/1.0 200 OK\nContent-Type: text/xml\n\n" + manifest("2.1.0")
        << QStringList{kCurrent} << QString();
    QTest::newRow("CR-only header ends")
        << "HTTP/1.0 200 OK\rContent-Type: text/xml\r\r" + manifest("2.1.0")
        << QStringList{kCurrent} << QString();

    // What a hostile or broken server can send: never a crash, never a hang.
    QTest::newRow("status line of garbage")
        << "\x01\xff\xfe garbage\r\n\r\n" + manifest("2.1.0") << QStringList{kCurrent} << QString();
    QTest::newRow("dropped mid-header")
        << QByteArray("HTTP/1.0 200 OK\r\nContent-Ty") << QStringList() << QString();
    QTest::newRow("no header block, so no body") << manifest("2.1.0") << QStringList() << QString();
    QTest::newRow("doubled tags, first wins")
        << ok("<CurrentVersion>2.1.0</CurrentVersion><CurrentVersion>9</CurrentVersion>")
        << QStringList{kCurrent} << QString();
    QTest::newRow("tags in other case")
        << ok("<CURRENTVERSION>2.1.0</currentversion>") << QStringList{kCurrent} << QString();
    QTest::newRow("control characters after the version")
        << ok("<CurrentVersion>2.1.0\a\x1b[31m</CurrentVersion>") << QStringList{kCurrent}
        << QString();
    QTest::newRow("NUL inside the version")
        << ok(QByteArray("<CurrentVersion>2.2.0\0</CurrentVersion><Free>No</Free>", 55))
        << QStringList()
        << QString(kPaidOffer)
               .replace(QStringLiteral("2.2.0 "), QStringLiteral("2.2.0%1 ").arg(QChar(0)));
    QTest::newRow("huge version number")
        << ok("<CurrentVersion>" + QByteArray(100000, '9') + "</CurrentVersion>") << QStringList()
        << QString(kPaidOffer).replace(QStringLiteral("2.2.0"), QString(100000, u'9'));
}

void TestUpdateWindow::reply()
{
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, messages);
    QFETCH(QString, offer);

    m_server.reply = reply;
    QPointer<updateWindow> window = startCheck();
    QTRY_VERIFY_WITH_TIMEOUT(!window, 10000);
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

void TestUpdateWindow::endlessReplyIsCapped()
{
    m_server.reply = ok(manifest("2.1.0"));
    m_server.after = LocalHttpServer::After::Stream;
    QPointer<updateWindow> window = startCheck();
    QTRY_VERIFY_WITH_TIMEOUT(!window, 20000);
    QCOMPARE(m_services.messages, QStringList{kCurrent});
}

void TestUpdateWindow::refused()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    Addresses::setManifest(
        QStringLiteral("http://127.0.0.1:%1/Updates/tavrelo.xml").arg(closed.serverPort()));
    closed.close();

    QPointer<updateWindow> window = startCheck();
    QTRY_VERIFY_WITH_TIMEOUT(!window, 10000);
    QCOMPARE(m_services.beeps, 1);
    QCOMPARE(m_services.messages,
             QStringList{QStringLiteral("There was a communication error with the website. Please "
                                        "try again later. (Code: 3)")});
    QVERIFY(m_services.dialogs.isEmpty());
}

void TestUpdateWindow::waitsUntilCancel_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel clicked") << QStringLiteral("click");
    QTest::newRow("Return") << QStringLiteral("return");
    QTest::newRow("Escape") << QStringLiteral("escape");
    QTest::newRow("close box") << QStringLiteral("close");
}

void TestUpdateWindow::waitsUntilCancel()
{
    QFETCH(QString, how);

    m_server.after = LocalHttpServer::After::Hold;
    QPointer<updateWindow> window = startCheck();
    QTRY_COMPARE_WITH_TIMEOUT(m_server.held(), 1, 10000);
    QTest::qWait(100);
    QVERIFY(window);
    QCOMPARE(window->StaticText1->text(), QStringLiteral("Checking for update..."));
    QVERIFY(window->ProgressBar1->isVisible());
    QCOMPARE(window->ProgressBar1->maximum(), 0);

    if (how == u"click")
        QTest::mouseClick(window->PushButton1, Qt::LeftButton);
    else if (how == u"return")
        QTest::keyClick(window->PushButton1, Qt::Key_Return);
    else if (how == u"escape")
        QTest::keyClick(window->PushButton1, Qt::Key_Escape);
    else
        window->close();
    QTRY_VERIFY(!window);

    // The connection goes with the window; an answer that still gets out reaches nobody.
    QTRY_COMPARE_WITH_TIMEOUT(m_server.held(), 0, 10000);
    m_server.answerHeld(ok(manifest("2.2.0")));
    QTest::qWait(200);
    QVERIFY(m_services.messages.isEmpty());
    QVERIFY(m_services.dialogs.isEmpty());
    QCOMPARE(m_services.beeps, 0);
}

void TestUpdateWindow::failureAfterCloseShowsNothing()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    Addresses::setManifest(QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort()));
    closed.close();

    QPointer<updateWindow> window = startCheck();
    window->close();
    QTRY_VERIFY(!window);
    QTest::qWait(200);
    QCOMPARE(m_services.beeps, 0);
    QVERIFY(m_services.messages.isEmpty());
}

void TestUpdateWindow::offer_data()
{
    QTest::addColumn<Services::Choice>("choice");
    QTest::addColumn<QString>("download");
    QTest::addColumn<QStringList>("urls");

    const QString https = QStringLiteral("https://www.brinmoor.example/tavrelo.zip");
    const QString upper = QStringLiteral("HTTP://www.brinmoor.example/tavrelo.zip");

    QTest::newRow("cancel") << Services::Choice::Cancel << kDownload << QStringList();
    QTest::newRow("action, http") << Services::Choice::Action << kDownload
                                  << QStringList{kDownload};
    QTest::newRow("action, https") << Services::Choice::Action << https << QStringList{https};
    QTest::newRow("action, scheme in capitals")
        << Services::Choice::Action << upper << QStringList{upper};
    QTest::newRow("action, file") << Services::Choice::Action
                                  << QStringLiteral("file:///etc/passwd") << QStringList();
    QTest::newRow("action, custom scheme")
        << Services::Choice::Action << QStringLiteral("tavrelo-helper://run?x=1") << QStringList();
    QTest::newRow("action, javascript")
        << Services::Choice::Action << QStringLiteral("javascript:alert(1)") << QStringList();
    QTest::newRow("action, no host")
        << Services::Choice::Action << QStringLiteral("http:///x") << QStringList();
    QTest::newRow("action, empty") << Services::Choice::Action << QString() << QStringList();
    QTest::newRow("go to website")
        << Services::Choice::Alternate << kDownload << QStringList{Addresses::webSite()};
}

void TestUpdateWindow::offer()
{
    QFETCH(Services::Choice, choice);
    QFETCH(QString, download);
    QFETCH(QStringList, urls);

    m_services.dialogChoice = choice;
    m_server.reply = ok(manifest("2.2.0", "Yes", download.toLatin1()));
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
    QCOMPARE(m_services.urls, urls);

    if (choice == Services::Choice::Alternate) {
        // The window stays, its bar hidden and its text as designed, until Cancel.
        QTest::qWait(50);
        QVERIFY(window);
        QVERIFY(!window->ProgressBar1->isVisible());
        QCOMPARE(window->StaticText1->text(), QStringLiteral("Checking for update..."));
        QTest::mouseClick(window->PushButton1, Qt::LeftButton);
        QTRY_VERIFY(!window);
        QCOMPARE(m_services.urls, urls);
    } else {
        QTRY_VERIFY(!window);
    }
    QVERIFY(m_services.messages.isEmpty());
}

void TestUpdateWindow::offerDialog_data()
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
void TestUpdateWindow::offerDialog()
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

QTEST_MAIN(TestUpdateWindow)
#include "tst_updatewindow.moc"
