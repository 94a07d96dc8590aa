#include "update/updatewindow.h"

#include "framework/application.h"
#include "framework/designedcontrols.h"
#include "framework/httpsocket.h"
#include "framework/services.h"
#include "update/manifest.h"
#include "update/selftest.h"

#include "buildinfo.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

namespace {

QPointer<updateWindow> s_window;
QString s_manifestAddress = QString::fromLatin1(BuildInfo::manifestAddress);

constexpr int kWidth = 300;
constexpr int kHeight = 120;

// The designed places, in the controls' creation order (hp has none).
constexpr Place kStaticText1{20, 19, 266, 20};
constexpr Place kProgressBar1{20, 46, 260, 12};
constexpr Place kPushButton1{208, 80, 72, 20};

// The download address as the browser is given it, or empty when it is no web address. It
// comes from an unauthenticated reply and the desktop would run any scheme it is given, so
// only http and https with a host pass. An indented manifest puts blanks and line breaks
// around it, and a file name may hold a blank: the first are dropped, the second
// percent-encoded.
QString webAddressOf(const QString &downloadAddress)
{
    const QUrl url(downloadAddress.trimmed(), QUrl::TolerantMode);
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https") ||
        url.host().isEmpty())
        return QString();
    return url.toString(QUrl::FullyEncoded);
}

} // namespace

updateWindow *updateWindow::instance()
{
    return windowInstance(s_window);
}

updateWindow *updateWindow::openInstance()
{
    return openWindow(s_window);
}

QString updateWindow::manifestAddress()
{
    return s_manifestAddress;
}

void updateWindow::setManifestAddress(const QString &address)
{
    s_manifestAddress = address;
}

updateWindow::updateWindow()
{
    Layout();
    CreateControls();
}

void updateWindow::Layout()
{
    setWindowTitle(QStringLiteral("Update"));
    setContentSize(kWidth, kHeight);
    // A movable modal window: it can be moved and minimised, not resized or maximised.
    setMinimizeButton(true);
}

void updateWindow::CreateControls()
{
    CreateControls0();
}

void updateWindow::CreateControls0()
{
    QWidget *area = content();

    StaticText1 =
        staticText(area, "StaticText1", kStaticText1, QStringLiteral("Checking for update..."),
                   Qt::AlignLeft | Qt::AlignVCenter, false);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    setDesignedFont(StaticText1, font);

    ProgressBar1 = place(new QProgressBar(area), "ProgressBar1", kProgressBar1);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    hp = new HTTPSocket(this);
    hp->setObjectName(QStringLiteral("hp"));
    connect(hp, &HTTPSocket::PageReceived, this, &updateWindow::hp_PageReceived);
    connect(hp, &HTTPSocket::Error, this, &updateWindow::hp_Error);

    PushButton1 =
        place(new QPushButton(QStringLiteral("Cancel"), area), "PushButton1", kPushButton1);
    PushButton1->setAutoDefault(false);
    setDefaultButton(PushButton1);
    setCancelButton(PushButton1);
    connect(PushButton1, &QPushButton::clicked, this, &updateWindow::PushButton1_Action);
    fitTexts(area);
}

void updateWindow::Event_Open()
{
    ProgressBar1->setMaximum(0);
    hp->Get(manifestAddress());
    // Only an open self-test window is closed; asking its accessor would build one first.
    if (selfTest *window = selfTest::openInstance())
        window->close();
}

void updateWindow::Event_Close()
{
    // A reply or a failure that comes later has no window to speak for.
    hp->Close();
}

void updateWindow::hp_PageReceived(const QString & /*address*/, int /*status*/,
                                   const InternetHeaders & /*headers*/, const QByteArray &content)
{
    if (!isOpen())
        return;
    const QString body = QString::fromUtf8(content);
    if (body.isEmpty()) {
        close();
        return;
    }
    const Manifest::Values manifest = Manifest::read(body);
    ProgressBar1->setVisible(false);

    const Application *app = Application::instance();
    if (Manifest::isCurrent(manifest.version, app->MajorVersion(), app->MinorVersion(),
                            app->BugVersion())) {
        StaticText1->setText(QStringLiteral("This version is current."));
        StaticText1->repaint();
        if (!automaticCheck)
            MsgBox(QStringLiteral("You are using the current version. No update is available."));
        close();
        return;
    }
    askUpgrade(manifest.version, manifest.description, manifest.downloadAddress, manifest.free);
}

void updateWindow::hp_Error(int code)
{
    if (!isOpen())
        return;
    Beep();
    MsgBox(QStringLiteral("There was a communication error with the website. Please try again "
                          "later. (Code: %1)")
               .arg(code));
    close();
}

void updateWindow::PushButton1_Action()
{
    close();
}

void updateWindow::askUpgrade(const QString &version, const QString &description,
                              const QString &downloadAddress, bool free)
{
    Services::MessageDialog dialog;
    dialog.title = QStringLiteral("New version available!");
    // One pass over the whole text: a version that reads "%2" is shown as written.
    const QString message =
        free ? QStringLiteral("Version %1 is now available. (You are using version %2.) This is a "
                              "free upgrade. Would you like to automatically download this update "
                              "(using your web browser)?")
             : QStringLiteral("Version %1 is now available. (You are using version %2.) This is a "
                              "paid upgrade. Would you like to automatically download the trial "
                              "version (using your web browser)?");
    dialog.message = message.arg(version, Application::instance()->ShortVersion());
    dialog.explanation = description;
    dialog.icon = QMessageBox::Question;
    dialog.cancelVisible = true;
    dialog.alternateCaption = QStringLiteral("Go to Website");
    dialog.alternateVisible = true;

    switch (Services::current().messageDialog(dialog)) {
    case Services::Choice::Cancel:
        close();
        break;
    case Services::Choice::Action:
        // An address that can't be opened must not pass for a download under way; nor may
        // one that no browser took, which ShowURL beeps for.
        if (const QString address = webAddressOf(downloadAddress); !address.isEmpty())
            ShowURL(address);
        else
            Beep();
        close();
        break;
    case Services::Choice::Alternate:
        ShowURL(QString::fromLatin1(BuildInfo::webSite));
        break;
    }
}
