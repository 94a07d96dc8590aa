#include "app/app.h"
#include "help/aboutbox.h"
#include "help/help.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"

#include "buildinfo.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

namespace {

// Takes the addresses handed to it, as a mail program would.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

} // namespace

// The about box's design, its version label and its two buttons.
class tst_aboutbox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void controls_data();
    void controls();
    void showsTheDesign();
    void showsTheLongVersion();
    void oneBoxUntilClosed();
    void buttonsOpenTheAddresses_data();
    void buttonsOpenTheAddresses();
    void systemLaunchTellsWhetherItWasTaken();

private:
    AboutBox *shownBox();

    TestHome m_home;
    RecordingServices m_services;
    App m_app;
};

void tst_aboutbox::cleanup()
{
    m_services.clear();
    for (Window *window : {static_cast<Window *>(AboutBox::openInstance()),
                           static_cast<Window *>(Help::openInstance())}) {
        if (window)
            window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

AboutBox *tst_aboutbox::shownBox()
{
    if (m_app.dispatchMenu(QStringLiteral("HelpAboutBox"), nullptr) != std::optional(true))
        return nullptr;
    return AboutBox::openInstance();
}

void tst_aboutbox::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("family"); // empty: the system font at its standard size
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<Qt::Alignment>("align"); // a label's horizontal alignment

    auto row = [](const char *name, const char *cls, QRect at, const char *family, int pixelSize,
                  bool bold, Qt::Alignment align) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(cls) << at
                            << QString::fromLatin1(family) << pixelSize << bold << align;
    };
    row("PushButton1", "QPushButton", {72, 180, 120, 21}, "", 0, true, {});
    row("PushButton2", "QPushButton", {72, 217, 120, 21}, "", 0, true, {});
    row("StaticText2", "QLabel", {80, 86, 104, 87}, "", 0, false, Qt::AlignHCenter);
    row("StaticText1", "QLabel", {20, 20, 224, 45}, "Arial", 30, true, Qt::AlignHCenter);
    row("StaticText3", "QLabel", {72, 60, 53, 20}, "Arial", 12, true, Qt::AlignLeft);
    row("StaticText4", "QLabel", {131, 60, 61, 20}, "Arial", 12, true, Qt::AlignRight);
}

void tst_aboutbox::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(QString, family);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(Qt::Alignment, align);

    AboutBox *box = shownBox();
    QVERIFY(box);
    auto *control = box->content()->findChild<QWidget *>(name);
    QVERIFY(control);
    QVERIFY(control->inherits(className.toLatin1()));
    QCOMPARE(control->geometry(), geometry);
    const QFont font = control->font();
    if (family.isEmpty()) {
        QCOMPARE(font.family(), QApplication::font().family());
        QCOMPARE(font.pointSizeF(), QApplication::font().pointSizeF());
    } else {
        QCOMPARE(font.family(), family);
        QCOMPARE(font.pixelSize(), pixelSize);
    }
    QCOMPARE(font.bold(), bold);
    QVERIFY(!font.italic() && !font.underline());
    if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, align);
}

void tst_aboutbox::showsTheDesign()
{
    AboutBox *box = shownBox();
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->windowTitle(), QStringLiteral("About..."));
    QCOMPARE(box->content()->size(), QSize(264, 258));
    QVERIFY(!box->menus());
    QCOMPARE(box->StaticText1->text(), QStringLiteral("Tavrelo"));
    QCOMPARE(box->StaticText3->text(), QStringLiteral("Version:"));
    QCOMPARE(box->PushButton1->text(), QStringLiteral("Email Author"));
    QCOMPARE(box->PushButton2->text(), QStringLiteral("Visit Web Site"));
    QVERIFY(!box->PushButton1->isDefault() && !box->PushButton2->isDefault());
    // One credit line per carriage return, the empty one between the credits.
    QCOMPARE(box->StaticText2->text().split(u'\n'),
             (QStringList{QStringLiteral("Developed by"), QStringLiteral("Corvane"), QString(),
                          QStringLiteral("Sr. Beta Tester"), QStringLiteral("Delmoth")}));
}

void tst_aboutbox::showsTheLongVersion()
{
    const QLabel *version = shownBox()->StaticText4;
    QCOMPARE(version->text(), m_app.LongVersion());
    QVERIFY(version->alignment() & Qt::AlignRight);
    // The whole text shows, from the designed left edge, inside the window.
    QCOMPARE(version->x(), 131);
    QVERIFY(version->width() >=
            qMin(version->fontMetrics().horizontalAdvance(version->text()), 264 - 131 - 20));
    QVERIFY(version->width() >= 61);
    QVERIFY(version->geometry().right() < 264);
}

void tst_aboutbox::oneBoxUntilClosed()
{
    AboutBox *first = shownBox();
    QCOMPARE(shownBox(), first);
    Help *help = Help::instance();
    help->show();

    QPointer<AboutBox> closed(first);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!closed);
    QCOMPARE(Help::openInstance(), help);
    QVERIFY(help->isVisible());

    AboutBox *second = shownBox();
    QVERIFY(second && second->isVisible());
    QCOMPARE(second->StaticText4->text(), m_app.LongVersion());
}

void tst_aboutbox::buttonsOpenTheAddresses_data()
{
    QTest::addColumn<bool>("launches");
    QTest::newRow("launched") << true;
    // No mail program or browser takes it: a beep says so.
    QTest::newRow("refused") << false;
}

void tst_aboutbox::buttonsOpenTheAddresses()
{
    QFETCH(bool, launches);
    m_services.launches = launches;
    AboutBox *box = shownBox();
    QTest::mouseClick(box->PushButton1, Qt::LeftButton);
    QTest::mouseClick(box->PushButton1, Qt::LeftButton);
    QTest::mouseClick(box->PushButton2, Qt::LeftButton);
    QStringList calls;
    for (const char *address : {BuildInfo::authorMail, BuildInfo::authorMail, BuildInfo::webSite}) {
        calls << QStringLiteral("showURL ") + QString::fromLatin1(address);
        if (!launches)
            calls << QStringLiteral("beep");
    }
    QCOMPARE(m_services.calls, calls);
    QVERIFY(QString::fromLatin1(BuildInfo::authorMail).startsWith(QLatin1String("mailto:")));
    QVERIFY2(!QString::fromLatin1(BuildInfo::authorMail).contains(u'?'), "no subject or body");
    QCOMPARE(AboutBox::openInstance(), box);
    QVERIFY(box->isVisible());
}

// The system's own launcher: true when a program took the address. A handler of the test's
// own stands in for the mail program; nothing else takes an address here, since the offscreen
// platform launches no program.
void tst_aboutbox::systemLaunchTellsWhetherItWasTaken()
{
    UrlCatcher mailProgram;
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &mailProgram, "open");
    Services::install(nullptr);
    const bool mailTaken = Services::current().showURL(QString::fromLatin1(BuildInfo::authorMail));
    const bool unknownTaken = Services::current().showURL(QStringLiteral("tavrelo-nowhere:x"));
    Services::install(&m_services);
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));

    QVERIFY(mailTaken);
    QCOMPARE(mailProgram.urls, QList<QUrl>{QUrl(QString::fromLatin1(BuildInfo::authorMail))});
    QVERIFY(!unknownTaken);
}

QTEST_MAIN(tst_aboutbox)
#include "tst_aboutbox.moc"
