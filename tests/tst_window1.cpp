#include "app/app.h"
#include "app/prefmodule.h"
#include "framework/canvas.h"
#include "framework/editfield.h"
#include "framework/rectangle.h"
#include "message/window1.h"
#include "tests/support/prefs.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"

#include <QLabel>
#include <QMargins>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

// The main window's design, and the position it takes from and gives to the preferences.
class tst_window1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void controls_data();
    void controls();
    void fieldsAndButtons();
    void opensAtLoadedPosition_data();
    void opensAtLoadedPosition();
    void closingSavesAndQuits();
    void restartsDoNotDrift();
    void returnPressesSupportButton_data();
    void returnPressesSupportButton();
    void accessorKeepsOneWindow();

private:
    TestHome m_home;
    RecordingServices m_person;
    // How far the window's frame reaches beyond its content area, the menu bar included.
    QMargins m_frame;
};

void tst_window1::initTestCase()
{
    App app;
    Window1 *window = Window1::instance();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect frame = window->frameGeometry();
    const QRect content(window->content()->mapToGlobal(QPoint(0, 0)), window->content()->size());
    m_frame = QMargins(content.left() - frame.left(), content.top() - frame.top(),
                       frame.right() - content.right(), frame.bottom() - content.bottom());
    const int menuBarHeight = window->content()->mapTo(window, QPoint(0, 0)).y();
    delete window;
    // The platform reports a frame, with a title bar above the menu bar.
    QVERIFY(m_frame.top() > menuBarHeight);
}

void tst_window1::init()
{
    m_home.reset();
    m_person.clear();
    TestPrefs::resetGlobals();
}

void tst_window1::cleanup()
{
    delete Window1::openInstance();
}

void tst_window1::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");

    auto row = [](const char *name, const char *cls, QRect at, const char *caption = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(cls) << at
                            << QString::fromUtf8(caption);
    };
    row("InnocentText", "EditField", {20, 37, 560, 120});
    row("StaticText1", "QLabel", {20, 16, 560, 20}, "Plain Message");
    row("SecretText", "EditField", {20, 181, 553, 25});
    row("StaticText2", "QLabel", {20, 158, 406, 20}, "Tavrelo  (up to 75 characters)");
    row("SavePNG", "QPushButton", {20, 226, 110, 20}, "Save Message");
    row("Canvas1", "Canvas", {20, 284, 560, 130});
    row("StaticText3", "QLabel", {20, 260, 560, 20}, "Plain Message with Hidden Tavrelo");
    row("LoadPNG", "QPushButton", {140, 226, 110, 20}, "Load Message");
    row("ClearAll", "QPushButton", {345, 226, 110, 20}, "Clear All");
    row("Rectangle1", "Rectangle", {260, 226, 75, 22});
    row("Filter1", "Canvas", {260, 226, 75, 22});
    row("StaticText4", "QLabel", {430, 158, 111, 20}, "# of Characters:");
    row("NoSecretTxt", "QLabel", {539, 158, 34, 20}, "0");
    row("Kagi1", "QPushButton", {465, 225, 115, 20}, "Support Brinmoor");
}

void tst_window1::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);

    App app;
    Window1 *window = Window1::instance();
    auto *control = window->content()->findChild<QWidget *>(name);
    QVERIFY(control);
    QVERIFY(control->inherits(className.toLatin1()));
    const QRect inContent(control->mapTo(window->content(), QPoint(0, 0)), control->size());
    QCOMPARE(inContent, geometry);
    if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), caption);
        QVERIFY(label->font().bold());
        const Qt::Alignment horizontal = name == u"StaticText4" ? Qt::AlignLeft : Qt::AlignHCenter;
        QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, horizontal);
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(button->font().bold());
        QCOMPARE(button->isDefault(), name == u"Kagi1");
    }
}

void tst_window1::fieldsAndButtons()
{
    App app;
    Window1 *window = Window1::instance();
    QCOMPARE(window->windowTitle(), QStringLiteral("Tavrelo"));
    QCOMPARE(window->content()->size(), QSize(600, 434));
    QCOMPARE(window->minimumSize(), window->maximumSize()); // not resizable
    QCOMPARE(window->Filter1->parentWidget(), window->Rectangle1);
    QCOMPARE(window->Filter1->geometry(), window->Rectangle1->rect());

    QVERIFY(window->InnocentText->isMultiLine());
    QCOMPARE(window->InnocentText->limitText(), 0);
    QCOMPARE(window->InnocentText->designedTextColor(), QColor(Qt::black));
    QCOMPARE(window->InnocentText->palette().color(QPalette::Base), QColor(Qt::white));
    QVERIFY(!window->SecretText->isMultiLine());
    QCOMPARE(window->SecretText->limitText(), 75);
    QCOMPARE(window->SecretText->designedTextColor(), QColor(254, 254, 254));
    QCOMPARE(window->SecretText->palette().color(QPalette::Base), QColor(Qt::black));

    // Tab order follows the designed indices over the controls that take the focus.
    QList<QWidget *> order;
    QWidget *w = window->InnocentText;
    for (int i = 0; i < 6; ++i, w = w->nextInFocusChain()) {
        while (w->focusPolicy() == Qt::NoFocus || !w->isEnabled())
            w = w->nextInFocusChain();
        order << w;
    }
    const QList<QWidget *> expected = {window->InnocentText, window->SecretText, window->SavePNG,
                                       window->LoadPNG,      window->ClearAll,   window->Kagi1};
    QCOMPARE(order, expected);
}

void tst_window1::opensAtLoadedPosition_data()
{
    QTest::addColumn<QByteArray>("prefs"); // null: no file
    QTest::addColumn<QPoint>("expected");
    const auto saved = TestPrefs::positionLine;
    const QPoint fallback(150, 150);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int rightmost = screen.right() + 1 - 600 - m_frame.right();

    QTest::newRow("no file") << QByteArray() << fallback;
    QTest::newRow("saved") << QByteArray("#Window1Position 120,70\n") << QPoint(70, 120);
    // A monitor since unplugged: the title bar would be on no screen.
    QTest::newRow("off every screen")
        << QByteArray("#Window1Position 5000,-9000\n") << QPoint(150, 150);

    // The whole title bar must show, not only the content area.
    QTest::newRow("empty file: top 0") << QByteArray("") << fallback;
    QTest::newRow("top -1") << saved(-1, 150) << fallback;
    QTest::newRow("title bar a row too high") << saved(m_frame.top() - 1, 150) << fallback;
    QTest::newRow("title bar at the top edge")
        << saved(m_frame.top(), 150) << QPoint(150, m_frame.top());
    QTest::newRow("frame a column too far left") << saved(150, m_frame.left() - 1) << fallback;
    QTest::newRow("frame at the left edge")
        << saved(150, m_frame.left()) << QPoint(m_frame.left(), 150);
    QTest::newRow("frame at the right edge") << saved(150, rightmost) << QPoint(rightmost, 150);
    QTest::newRow("frame a column too far right") << saved(150, rightmost + 1) << fallback;

    // Beyond Int32, the numbers clamp to its extremes.
    QTest::newRow("lowest top") << saved(-99999999999, 100) << fallback;
    QTest::newRow("highest top") << saved(99999999999, 100) << fallback;
    QTest::newRow("lowest left") << saved(100, -99999999999) << fallback;
    QTest::newRow("highest left") << saved(100, 99999999999) << fallback;
    QTest::newRow("1e999") << QByteArray("#Window1Position 1e999,1e999\n") << fallback;
    QTest::newRow("-1e999") << QByteArray("#Window1Position -1e999,-1e999\n") << fallback;
}

void tst_window1::opensAtLoadedPosition()
{
    QFETCH(QByteArray, prefs);
    QFETCH(QPoint, expected);
    if (!prefs.isNull())
        QVERIFY(TestPrefs::writeFile(prefs));
    App app;
    prefModule::loadPrefs();
    Window1 *window = Window1::instance();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(QPoint(window->left(), window->top()), expected);
    QCOMPARE(window->content()->mapToGlobal(QPoint(0, 0)), expected);
}

void tst_window1::closingSavesAndQuits()
{
    App app;
    Window1 *window = Window1::instance();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->setTop(210);
    window->setLeft(190);
    QTRY_COMPARE(window->top(), 210);
    QVERIFY(window->close());
    QVERIFY(app.isQuitting());
    QVERIFY(!Window1::openInstance());
    // Both saves (the window's and the application's) wrote the position the user left it at.
    QCOMPARE(TestPrefs::readFile(), QByteArray("#Window1Position 210,190\n"));
}

void tst_window1::restartsDoNotDrift()
{
    for (int run = 0; run < 5; ++run) {
        App app;
        TestPrefs::resetGlobals();
        prefModule::loadPrefs();
        Window1 *window = Window1::instance();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // Where the whole window shows.
        if (run == 0) {
            window->setTop(260);
            window->setLeft(140);
        }
        QVERIFY(window->close());
        QCOMPARE(TestPrefs::readFile(), QByteArray("#Window1Position 260,140\n"));
    }
}

void tst_window1::returnPressesSupportButton_data()
{
    QTest::addColumn<bool>("launches");
    QTest::newRow("launched") << true;
    // No browser takes the order page: a beep, and still no message.
    QTest::newRow("refused") << false;
}

void tst_window1::returnPressesSupportButton()
{
    QFETCH(bool, launches);
    m_person.launches = launches;
    App app;
    Window1 *window = Window1::instance();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->SecretText->setFocus();
    QTest::keyClick(window->SecretText, Qt::Key_Return);
    QCOMPARE(m_person.urls.size(), 1);
    QVERIFY(m_person.urls.first().startsWith(u"http"));
    QStringList calls{QStringLiteral("showURL ") + m_person.urls.first()};
    if (!launches)
        calls << QStringLiteral("beep");
    QCOMPARE(m_person.calls, calls);
    QCOMPARE(window->SecretText->toPlainText(), QString());
}

void tst_window1::accessorKeepsOneWindow()
{
    App app;
    Window1 *first = Window1::instance();
    QCOMPARE(Window1::instance(), first);
    QCOMPARE(Window1::openInstance(), first);
}

QTEST_MAIN(tst_window1)
#include "tst_window1.moc"
