#include "app/app.h"
#include "app/prefmodule.h"
#include "framework/canvas.h"
#include "framework/editfield.h"
#include "framework/rectangle.h"
#include "framework/screenreach.h"
#include "message/window1.h"
#include "tests/support/mainwindowframe.h"
#include "tests/support/prefs.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"

#include <QKeyEvent>
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
    void heldReturnPressesNothing();
    void accessorKeepsOneWindow();

private:
    TestHome m_home;
    RecordingServices m_person;
    // How far the window's frame reaches beyond its content area, the menu bar included.
    QMargins m_frame;
    int m_titleBar = 0; // the height of the frame above the menu bar
};

void tst_window1::initTestCase()
{
    const MainWindowFrame frame = MainWindowFrame::measure();
    m_frame = frame.aroundContent;
    m_titleBar = frame.titleBar;
    // The platform reports a frame, with a title bar above the menu bar.
    QVERIFY(m_titleBar > 0);
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
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Content positions that put the frame's edges on the screen's edges.
    const int top = screen.top() + m_frame.top();
    const int bottom = screen.bottom() + 1 - m_titleBar + m_frame.top(); // title bar's bottom
    const int left = screen.left() + m_frame.left();
    const int right = screen.right() + 1 - 600 - m_frame.right();
    // The farthest positions at which the grab width of the title bar stays on the screen.
    const int leftmost = screen.left() + kGrabWidth - 600 - m_frame.right();
    const int rightmost = screen.right() + 1 - kGrabWidth + m_frame.left();

    QTest::newRow("no file") << QByteArray() << QPoint(150, 150);
    QTest::newRow("saved") << QByteArray("#Window1Position 120,70\n") << QPoint(70, 120);
    QTest::newRow("empty file: top 0") << QByteArray("") << QPoint(left, top);

    // Kept wherever the user can grab the title bar; out of reach, moved the least.
    QTest::newRow("title bar at the top edge") << saved(top, 150) << QPoint(150, top);
    QTest::newRow("title bar a row too high") << saved(top - 1, 150) << QPoint(150, top);
    QTest::newRow("top -1") << saved(-1, 150) << QPoint(150, top);
    QTest::newRow("title bar at the bottom edge") << saved(bottom, 150) << QPoint(150, bottom);
    QTest::newRow("title bar a row too low") << saved(bottom + 1, 150) << QPoint(150, bottom);
    // The offscreen platform itself moves a frame that starts left of the screen onto it, so
    // the left edge's last reachable column is checked on the right edge and in tst_placement.
    QTest::newRow("frame at the left edge") << saved(150, left) << QPoint(left, 150);
    QTest::newRow("a column less at the left edge")
        << saved(150, leftmost - 1) << QPoint(left, 150);
    QTest::newRow("grab width at the right edge")
        << saved(150, rightmost) << QPoint(rightmost, 150);
    QTest::newRow("a column less at the right edge")
        << saved(150, rightmost + 1) << QPoint(right, 150);
    // A monitor since unplugged.
    QTest::newRow("off every screen") << saved(5000, -9000) << QPoint(left, bottom);

    // Beyond Int32, the numbers clamp to its extremes.
    QTest::newRow("lowest top") << saved(-99999999999, 100) << QPoint(100, top);
    QTest::newRow("highest top") << saved(99999999999, 100) << QPoint(100, bottom);
    QTest::newRow("lowest left") << saved(100, -99999999999) << QPoint(left, 100);
    QTest::newRow("highest left") << saved(100, 99999999999) << QPoint(right, 100);
    QTest::newRow("1e999") << QByteArray("#Window1Position 1e999,1e999\n") << QPoint(right, bottom);
    QTest::newRow("-1e999") << QByteArray("#Window1Position -1e999,-1e999\n") << QPoint(left, top);
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
    QTest::addColumn<bool>("plainField"); // else the secret's one-line field
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("launches");
    QTest::newRow("Return, launched") << false << int(Qt::Key_Return) << true;
    // No browser takes the order page: a beep, and still no message.
    QTest::newRow("Return, refused") << false << int(Qt::Key_Return) << false;
    QTest::newRow("keypad Enter") << false << int(Qt::Key_Enter) << true;
    // The plain message has many lines: there the key breaks the line and presses nothing.
    QTest::newRow("Return in the plain message") << true << int(Qt::Key_Return) << true;
    QTest::newRow("keypad Enter in the plain message") << true << int(Qt::Key_Enter) << true;
}

void tst_window1::returnPressesSupportButton()
{
    QFETCH(bool, plainField);
    QFETCH(int, key);
    QFETCH(bool, launches);
    m_person.launches = launches;
    App app;
    Window1 *window = Window1::instance();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    EditField *field = plainField ? window->InnocentText : window->SecretText;
    field->setFocus();
    QTest::keyClick(field, Qt::Key(key),
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    if (plainField) {
        QCOMPARE(field->toPlainText(), QStringLiteral("\n"));
        QCOMPARE(m_person.calls, QStringList());
        return;
    }
    QCOMPARE(m_person.urls.size(), 1);
    QVERIFY(m_person.urls.first().startsWith(u"http"));
    QStringList calls{QStringLiteral("showURL ") + m_person.urls.first()};
    if (!launches)
        calls << QStringLiteral("beep");
    QCOMPARE(m_person.calls, calls);
    QCOMPARE(field->toPlainText(), QString());
}

namespace {

// A press of key that the keyboard repeats while it is held down.
void sendRepeat(QWidget *to, Qt::Key key, const QString &text)
{
    QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, text, true);
    QCoreApplication::sendEvent(to, &repeat);
}

} // namespace

// Return held down from before the main window had the focus (it closed a box in front of it)
// repeats into the window: those repeats press no button. A fresh press still does.
void tst_window1::heldReturnPressesNothing()
{
    App app;
    Window1 *window = Window1::instance();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->SecretText->setFocus();
    for (int i = 0; i < 5; ++i)
        sendRepeat(window->SecretText, Qt::Key_Return, QStringLiteral("\r"));
    QCOMPARE(m_person.calls, QStringList());

    QTest::keyClick(window->SecretText, Qt::Key_Return);
    QCOMPARE(m_person.urls.size(), 1);
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
