#include "app/addresses.h"
#include "app/app.h"
#include "help/aboutbox.h"
#include "help/help.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class AboutBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void showsTheDesign();
    void showsTheLongVersion();
    void oneBoxUntilClosed();
    void buttonsOpenTheAddresses();

private:
    AboutBox *shownBox();

    TestHome m_home;
    RecordingServices m_services;
    App m_app;
};

void AboutBoxTest::cleanup()
{
    m_services.clear();
    for (Window *window : {static_cast<Window *>(AboutBox::openInstance()),
                           static_cast<Window *>(Help::openInstance())}) {
        if (window)
            window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

AboutBox *AboutBoxTest::shownBox()
{
    if (m_app.dispatchMenu(QStringLiteral("HelpAboutBox"), nullptr) != std::optional(true))
        return nullptr;
    return AboutBox::openInstance();
}

void AboutBoxTest::showsTheDesign()
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

void AboutBoxTest::showsTheLongVersion()
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

void AboutBoxTest::oneBoxUntilClosed()
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

void AboutBoxTest::buttonsOpenTheAddresses()
{
    AboutBox *box = shownBox();
    QTest::mouseClick(box->PushButton1, Qt::LeftButton);
    QTest::mouseClick(box->PushButton1, Qt::LeftButton);
    QTest::mouseClick(box->PushButton2, Qt::LeftButton);
    QCOMPARE(m_services.urls,
             (QStringList{Addresses::authorMail(), Addresses::authorMail(), Addresses::webSite()}));
    QVERIFY(Addresses::authorMail().startsWith(QLatin1String("mailto:")));
    QVERIFY2(!Addresses::authorMail().contains(u'?'), "no subject or body");
    QCOMPARE(AboutBox::openInstance(), box);
    QVERIFY(box->isVisible());
}

QTEST_MAIN(AboutBoxTest)
#include "tst_aboutbox.moc"
