#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <limits>

// What only a real display shows: the program started as a whole on its own Xvfb server with
// openbox managing its windows, seen through the X properties that the window manager reads
// and writes (titles, allowed actions, frame extents, geometry).
class tst_display : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();
    void opensWhereSavedWithoutDrift();
    void reopensWhereLeft_data();
    void reopensWhereLeft();
    void outOfReachComesBack_data();
    void outOfReachComesBack();
    void windows_data();
    void windows();
    void checkNowAgainTakesTheFocus();
    void minimizedWindowComesBack_data();
    void minimizedWindowComesBack();
    void updateWindow();

private:
    struct Geometry
    {
        QPoint window;  // the window's top left, that of its menu bar
        QPoint content; // the designed content area's top left, below the menu bar
        QRect frame;    // the whole frame, title bar included
        int frameTop = 0;
        QRect titleBar() const { return QRect(frame.topLeft(), QSize(frame.width(), frameTop)); }
    };

    QString x(const QString &tool, const QStringList &arguments) const;
    QList<std::pair<QString, QString>> clients() const; // (window id, title)
    QString windowTitled(const QString &title) const;
    int countTitled(const QString &title) const;
    QString activeWindow() const;
    QString waitForWindow(const QString &title);
    // Starts the program if need be and opens the window titled title from the main window
    // with keys: its id, or empty.
    QString openFromMain(const QStringList &keys, const QString &title);
    bool waitUntilGone(const QString &title);
    bool activate(const QString &id);
    void press(const QStringList &keys) const;
    void dragTitleBar(const Geometry &from, QPoint by) const;
    Geometry geometry(const QString &id) const;
    QStringList allowedActions(const QString &id) const;
    bool isMinimized(const QString &id) const;
    void checkFrame(const QString &id, bool minimize) const;
    bool dismissOfflineCheck(const QStringList &notTheMessage);

    void start();
    bool quit();
    void writeSavedPosition(int top, int left) const;
    QString savedPosition() const;

    QTemporaryDir m_home;
    QString m_display;
    QProcess m_server;
    QProcess m_manager;
    QProcess m_app;
    QString m_main; // the main window's id while the program runs
    bool m_offline = false;
    int m_timeout = 0;
};

namespace {

constexpr int kContentHeight = 434; // the main window's designed content area
const QSize kScreen(1280, 1024);
// In a row's frame position: the frame stays where it is along that axis.
constexpr int kStays = std::numeric_limits<int>::min();

// The menu commands that open a window, typed in the main window. Menus open by their
// mnemonic; the arrow keys go on to the menus without one.
const QStringList kCheckNow{"alt+e", "Right", "Return"};
const QStringList kShowHelp{"alt+e", "Right", "Right", "Return"};
const QStringList kAbout{"alt+e", "Right", "Right", "Down", "Return"};

// Motif hints: the frame functions and decorations that the program asks for.
constexpr uint kMinimizeFunction = 0x08, kMaximizeFunction = 0x10;
constexpr uint kMinimizeDecoration = 0x20, kMaximizeDecoration = 0x40;

// The program under test comes from the same build, with the same flags, as this test: how this
// test was built says how the program was, whatever environment the test is run in.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

} // namespace

QString tst_display::x(const QString &tool, const QStringList &arguments) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    process.setProcessEnvironment(environment);
    process.start(tool, arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QList<std::pair<QString, QString>> tst_display::clients() const
{
    QList<std::pair<QString, QString>> result;
    static const QRegularExpression id(QStringLiteral("0x[0-9a-f]+"));
    static const QRegularExpression name(QStringLiteral("= \"(.*)\"$"));
    const QString list = x(QStringLiteral("xprop"), {"-root", "_NET_CLIENT_LIST"});
    for (auto it = id.globalMatch(list); it.hasNext();) {
        const QString window = it.next().captured();
        const auto title = name.match(x(QStringLiteral("xprop"), {"-id", window, "_NET_WM_NAME"}));
        result.append({window, title.hasMatch() ? title.captured(1) : QString()});
    }
    return result;
}

QString tst_display::windowTitled(const QString &title) const
{
    for (const auto &[id, name] : clients()) {
        if (name == title)
            return id;
    }
    return {};
}

int tst_display::countTitled(const QString &title) const
{
    const auto all = clients();
    return int(std::count_if(all.cbegin(), all.cend(),
                             [&title](const auto &client) { return client.second == title; }));
}

QString tst_display::activeWindow() const
{
    static const QRegularExpression id(QStringLiteral("0x[0-9a-f]+"));
    return id.match(x(QStringLiteral("xprop"), {"-root", "_NET_ACTIVE_WINDOW"})).captured();
}

QString tst_display::waitForWindow(const QString &title)
{
    QString id;
    if (!QTest::qWaitFor([&] { return !(id = windowTitled(title)).isEmpty(); }, m_timeout)) {
        QStringList seen;
        for (const auto &client : clients())
            seen << client.second;
        qWarning() << "no window titled" << title << "among" << seen;
    }
    return id;
}

QString tst_display::openFromMain(const QStringList &keys, const QString &title)
{
    if (m_main.isEmpty())
        start();
    if (m_main.isEmpty() || !activate(m_main))
        return {};
    press(keys);
    return waitForWindow(title);
}

bool tst_display::waitUntilGone(const QString &title)
{
    return QTest::qWaitFor([&] { return windowTitled(title).isEmpty(); }, m_timeout);
}

bool tst_display::activate(const QString &id)
{
    x(QStringLiteral("xdotool"), {"windowactivate", id});
    return QTest::qWaitFor([&] { return activeWindow() == id; }, m_timeout);
}

void tst_display::press(const QStringList &keys) const
{
    for (const QString &key : keys)
        x(QStringLiteral("xdotool"), {"key", key});
}

// Drags the window by its title bar, as a person does, in steps the window manager follows.
void tst_display::dragTitleBar(const Geometry &from, QPoint by) const
{
    const QPoint grip = from.frame.topLeft() + QPoint(100, from.frameTop / 2);
    x(QStringLiteral("xdotool"),
      {"mousemove", QString::number(grip.x()), QString::number(grip.y()), "mousedown", "1"});
    const int steps = qMax(1, (qMax(qAbs(by.x()), qAbs(by.y())) + 19) / 20);
    QPoint moved;
    for (int step = 1; step <= steps; ++step) {
        const QPoint next = by * step / steps;
        x(QStringLiteral("xdotool"),
          {"mousemove_relative", "--", QString::number(next.x() - moved.x()),
           QString::number(next.y() - moved.y())});
        moved = next;
    }
    x(QStringLiteral("xdotool"), {"mouseup", "1"});
}

tst_display::Geometry tst_display::geometry(const QString &id) const
{
    const QString info = x(QStringLiteral("xwininfo"), {"-id", id});
    auto number = [&info](const char *label) {
        const QRegularExpression re(QLatin1String(label) + QLatin1String(":\\s+(-?\\d+)"));
        return re.match(info).captured(1).toInt();
    };
    // The content area fills the bottom of the window, under the menu bar.
    Geometry result;
    result.window = QPoint(number("Absolute upper-left X"), number("Absolute upper-left Y"));
    result.content = result.window + QPoint(0, number("Height") - kContentHeight);
    const QStringList extents =
        x(QStringLiteral("xprop"), {"-id", id, "_NET_FRAME_EXTENTS"}).section('=', 1).split(',');
    if (extents.size() == 4) { // left, right, top, bottom
        result.frameTop = extents.at(2).toInt();
        result.frame = QRect(result.window, QSize(number("Width"), number("Height")))
                           .adjusted(-extents.at(0).toInt(), -result.frameTop,
                                     extents.at(1).toInt(), extents.at(3).toInt());
    }
    return result;
}

QStringList tst_display::allowedActions(const QString &id) const
{
    QStringList actions;
    const QString list = x(QStringLiteral("xprop"), {"-id", id, "_NET_WM_ALLOWED_ACTIONS"});
    for (const QString &action : list.section('=', 1).split(',', Qt::SkipEmptyParts))
        actions << action.trimmed().remove(QStringLiteral("_NET_WM_ACTION_"));
    return actions;
}

bool tst_display::isMinimized(const QString &id) const
{
    return x(QStringLiteral("xprop"), {"-id", id, "_NET_WM_STATE"})
        .contains(QLatin1String("_NET_WM_STATE_HIDDEN"));
}

void tst_display::checkFrame(const QString &id, bool minimize) const
{
    // What the window manager lets the user do: move and close, never resize nor maximize.
    const QStringList actions = allowedActions(id);
    for (const char *always : {"MOVE", "CLOSE"})
        QVERIFY2(actions.contains(QLatin1String(always)), qPrintable(actions.join(' ')));
    for (const char *never : {"MAXIMIZE_HORZ", "MAXIMIZE_VERT", "RESIZE"})
        QVERIFY2(!actions.contains(QLatin1String(never)), qPrintable(actions.join(' ')));

    // The minimize button as the program asks for it. Openbox keeps a minimize button on
    // every window whatever the hints say, and so allows minimizing everywhere.
    const QStringList hints =
        x(QStringLiteral("xprop"), {"-id", id, "_MOTIF_WM_HINTS"}).section('=', 1).split(',');
    QCOMPARE(hints.size(), 5);
    const uint functions = hints.at(1).trimmed().toUInt(nullptr, 16);
    const uint decorations = hints.at(2).trimmed().toUInt(nullptr, 16);
    QCOMPARE(bool(functions & kMinimizeFunction), minimize);
    QCOMPARE(bool(decorations & kMinimizeDecoration), minimize);
    QVERIFY(!(functions & kMaximizeFunction) && !(decorations & kMaximizeDecoration));
}

// Offline, the check fails at once with a message in front of the update window; dismissing it
// ends the check. True once the update window has gone.
bool tst_display::dismissOfflineCheck(const QStringList &notTheMessage)
{
    QString message;
    if (!QTest::qWaitFor(
            [&] {
                message = activeWindow();
                return !message.isEmpty() && !notTheMessage.contains(message);
            },
            m_timeout))
        return false;
    press({QStringLiteral("Return")});
    return waitUntilGone(QStringLiteral("Update"));
}

void tst_display::initTestCase()
{
    for (const char *tool : {"Xvfb", "openbox", "xprop", "xwininfo", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("no %1 here: scripts/setup --test installs the "
                                            "X server, window manager and X tools")
                                 .arg(QLatin1String(tool))));
    }
    QVERIFY(QFile::exists(QStringLiteral(TAVRELO_EXECUTABLE)));
    QVERIFY(m_home.isValid());
    // Sanitized builds start several times slower.
    m_timeout = kAddressSanitizer ? 60000 : 20000;

    // Xvfb takes the first free display and writes its number on the given descriptor.
    m_server.start(QStringLiteral("Xvfb"),
                   {"-displayfd", "1", "-screen", "0",
                    QStringLiteral("%1x%2x24").arg(kScreen.width()).arg(kScreen.height()),
                    "-nolisten", "tcp"});
    if (!m_server.waitForReadyRead(m_timeout))
        QSKIP(qPrintable(QStringLiteral("Xvfb did not start: ") +
                         QString::fromLocal8Bit(m_server.readAllStandardError())));
    m_display = QLatin1Char(':') + QString::fromLatin1(m_server.readAllStandardOutput()).trimmed();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("HOME"), m_home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(".config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(".cache"));
    m_manager.setProcessEnvironment(environment);
    m_manager.start(QStringLiteral("openbox"), {"--sm-disable"});
    if (!QTest::qWaitFor(
            [&] {
                return x(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"})
                    .contains(QLatin1String("window id"));
            },
            m_timeout))
        QSKIP(qPrintable(QStringLiteral("openbox did not start on display %1: ").arg(m_display) +
                         QString::fromLocal8Bit(m_manager.readAllStandardError() +
                                                m_server.readAllStandardError())));

    // The update check, where it can, runs with no network at all: it must fail at once.
    m_offline =
        QProcess::execute(QStringLiteral("unshare"), {"--net", "--map-root-user", "true"}) == 0;
}

// A test that failed midway leaves no program behind for the next one.
void tst_display::cleanup()
{
    if (m_app.state() != QProcess::NotRunning && QTest::currentTestFailed()) {
        m_app.kill();
        m_app.waitForFinished();
        m_main.clear();
    }
}

void tst_display::cleanupTestCase()
{
    // After every window and an update check, Quit still ends the program normally.
    const bool quitNormally = m_app.state() == QProcess::NotRunning || quit();
    for (QProcess *process : {&m_manager, &m_server}) {
        process->terminate();
        process->waitForFinished(5000);
    }
    QVERIFY(quitNormally);
}

void tst_display::start()
{
    QDir(m_home.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(m_home.filePath("runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("HOME"), m_home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(".config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(".local/share"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(".cache"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath("runtime"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // No session bus: one that can't be reached, or libdbus would try to start one.
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=") + m_home.filePath("no-bus"));
    // libxkbcommon-x11 copies keymap names with strndup from buffers that have no terminator,
    // which is allowed, but which strict string checks report.
    // The leak checker's own tracer can crash at exit under load, above all inside unshare;
    // the offscreen tests check for leaks, this one for what the display shows. Leak checks
    // are on by default, and LSAN_OPTIONS is read after ASAN_OPTIONS; in each, the last
    // setting wins, so these go after whatever the caller gave.
    if (kAddressSanitizer) {
        auto append = [&environment](const QString &name, const QString &options) {
            const QString given = environment.value(name);
            environment.insert(name,
                               given.isEmpty() ? options : given + QLatin1Char(':') + options);
        };
        append(QStringLiteral("ASAN_OPTIONS"),
               QStringLiteral("strict_string_checks=0:detect_leaks=0"));
        append(QStringLiteral("LSAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    }
    m_app.setProcessEnvironment(environment);
    m_app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (m_offline)
        m_app.start(QStringLiteral("unshare"),
                    {"--net", "--map-root-user", QStringLiteral(TAVRELO_EXECUTABLE)});
    else
        m_app.start(QStringLiteral(TAVRELO_EXECUTABLE), QStringList());
    m_main = waitForWindow(QStringLiteral("Tavrelo"));
}

// Quits through the File menu's Quit shortcut; true when the program ended normally.
bool tst_display::quit()
{
    if (!m_main.isEmpty() && activate(m_main))
        press({QStringLiteral("ctrl+q")});
    m_main.clear();
    if (!m_app.waitForFinished(m_timeout)) {
        m_app.kill();
        m_app.waitForFinished();
        return false;
    }
    return m_app.exitStatus() == QProcess::NormalExit && m_app.exitCode() == 0;
}

void tst_display::writeSavedPosition(int top, int left) const
{
    QDir(m_home.path()).mkpath(QStringLiteral(".config"));
    QFile file(m_home.filePath(".config/tavrelo.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("#Window1Position %1,%2\n").arg(top).arg(left).toLatin1());
}

QString tst_display::savedPosition() const
{
    QFile file(m_home.filePath(".config/tavrelo.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).trimmed()
                                          : QString();
}

void tst_display::opensWhereSavedWithoutDrift()
{
    writeSavedPosition(200, 300);
    for (int run = 1; run <= 5; ++run) {
        start();
        QVERIFY2(!m_main.isEmpty(), qPrintable(QStringLiteral("run %1").arg(run)));
        const Geometry at = geometry(m_main);
        QCOMPARE(at.content, QPoint(300, 200));
        // A real frame, title bar included, that the window manager put around it.
        QVERIFY2(at.frameTop >= 10, qPrintable(QString::number(at.frameTop)));
        QVERIFY(quit());
        QCOMPARE(savedPosition(), QStringLiteral("#Window1Position 200,300"));
    }
}

void tst_display::reopensWhereLeft_data()
{
    // Where the frame's top left is dragged to, from its place at the saved 200, 300.
    QTest::addColumn<int>("frameLeft");
    QTest::addColumn<int>("frameTop");
    QTest::newRow("moved") << 429 << 231;
    QTest::newRow("flush to the top edge") << kStays << 0;
    QTest::newRow("flush to the left edge") << 0 << kStays;
    // 280 px of the title bar stay on the screen, and 100 rows of the window: openbox itself
    // keeps a tenth of a window that a program places (here 47 rows) on the screen.
    QTest::newRow("partly off the right edge") << kScreen.width() - 280 << kStays;
    QTest::newRow("partly off the bottom edge") << kStays << kScreen.height() - 100;
    QTest::newRow("partly off both") << kScreen.width() - 280 << kScreen.height() - 100;
}

// Wherever the user can still grab the title bar, the window reopens exactly where it was left.
void tst_display::reopensWhereLeft()
{
    QFETCH(int, frameLeft);
    QFETCH(int, frameTop);
    writeSavedPosition(200, 300);
    start();
    QVERIFY(!m_main.isEmpty());
    const Geometry before = geometry(m_main);
    const QPoint target(frameLeft == kStays ? before.frame.x() : frameLeft,
                        frameTop == kStays ? before.frame.y() : frameTop);
    dragTitleBar(before, target - before.frame.topLeft());
    Geometry left;
    QVERIFY2(QTest::qWaitFor(
                 [&] {
                     left = geometry(m_main);
                     return left.frame.topLeft() == target;
                 },
                 m_timeout),
             qPrintable(QStringLiteral("frame at %1, %2").arg(left.frame.x()).arg(left.frame.y())));
    QVERIFY(quit());
    const QString saved =
        QStringLiteral("#Window1Position %1,%2").arg(left.content.y()).arg(left.content.x());
    QCOMPARE(savedPosition(), saved);

    start();
    QVERIFY(!m_main.isEmpty());
    QCOMPARE(geometry(m_main).content, left.content);
    QVERIFY(quit());
    QCOMPARE(savedPosition(), saved);
}

void tst_display::outOfReachComesBack_data()
{
    QTest::addColumn<QPoint>("saved"); // the content area's top left
    QTest::newRow("above the top edge") << QPoint(300, 5);
    QTest::newRow("mostly off the left edge") << QPoint(-550, 200);
    // A monitor since unplugged, left of this one. (Below the bottom edge, openbox would move
    // the window further than the title bar needs: it keeps a tenth of the window on the
    // screen. The offscreen tests check that side.)
    QTest::newRow("screen gone") << QPoint(-9000, 500);
}

// A title bar out of reach comes back whole onto the screen, moved the least.
void tst_display::outOfReachComesBack()
{
    QFETCH(QPoint, saved);
    writeSavedPosition(saved.y(), saved.x());
    start();
    QVERIFY(!m_main.isEmpty());
    Geometry at;
    QRect expected;
    QVERIFY2(QTest::qWaitFor(
                 [&] {
                     at = geometry(m_main);
                     // Where the title bar would stand unmoved, and that clamped to the screen.
                     expected = at.titleBar().translated(saved - at.content);
                     expected.moveTo(
                         std::clamp(expected.x(), 0, kScreen.width() - expected.width()),
                         std::clamp(expected.y(), 0, kScreen.height() - expected.height()));
                     return at.titleBar() == expected;
                 },
                 m_timeout),
             qPrintable(QStringLiteral("title bar at %1, %2, not %3, %4")
                            .arg(at.titleBar().x())
                            .arg(at.titleBar().y())
                            .arg(expected.x())
                            .arg(expected.y())));
    QVERIFY(quit());
}

void tst_display::windows_data()
{
    QTest::addColumn<QStringList>("keys"); // from the main window
    QTest::addColumn<bool>("minimize");
    QTest::newRow("Tavrelo") << QStringList() << true;
    QTest::newRow("Self Test") << kCheckNow << false;
    QTest::newRow("Help") << kShowHelp << false;
    QTest::newRow("About...") << kAbout << false;
}

void tst_display::windows()
{
    QFETCH(QStringList, keys);
    QFETCH(bool, minimize);
    const QString title = QString::fromLatin1(QTest::currentDataTag());

    const QString id = openFromMain(keys, title);
    QVERIFY(!id.isEmpty());

    checkFrame(id, minimize);
    if (QTest::currentTestFailed())
        return;

    if (id != m_main) {
        QVERIFY(activate(id));
        press({QStringLiteral("alt+F4")}); // openbox's close
        QVERIFY(waitUntilGone(title));
    }
}

// "Check Now" chosen again from the main window brings the open self-test window back with the
// focus, as "Show Help" and "About..." do theirs: Return, its default button, then starts the
// check there and not in the main window.
void tst_display::checkNowAgainTakesTheFocus()
{
    const QString selfTest = openFromMain(kCheckNow, QStringLiteral("Self Test"));
    QVERIFY(!selfTest.isEmpty());
    // The window manager settles on the new window first: no late focus for it can then stand
    // in for the one that "Check Now" asks for below.
    QVERIFY(activate(selfTest));
    QVERIFY(activate(m_main));

    press(kCheckNow);
    QVERIFY2(QTest::qWaitFor([&] { return activeWindow() == selfTest; }, m_timeout),
             qPrintable(QStringLiteral("active: %1, self test: %2, main: %3")
                            .arg(activeWindow(), selfTest, m_main)));
    QCOMPARE(countTitled(QStringLiteral("Self Test")), 1);

    if (!m_offline) {
        // The check itself runs only where it cannot reach the network.
        press({QStringLiteral("alt+F4")});
        QVERIFY(waitUntilGone(QStringLiteral("Self Test")));
        return;
    }
    press({QStringLiteral("Return")});
    const QString update = waitForWindow(QStringLiteral("Update"));
    QVERIFY(!update.isEmpty());
    QVERIFY(waitUntilGone(QStringLiteral("Self Test")));
    QVERIFY(dismissOfflineCheck({update, selfTest, m_main}));
}

void tst_display::minimizedWindowComesBack_data()
{
    QTest::addColumn<QStringList>("keys"); // from the main window
    QTest::newRow("Self Test") << kCheckNow;
    QTest::newRow("Help") << kShowHelp;
    QTest::newRow("About...") << kAbout;
}

// The user minimized the window (openbox lets every window be minimized); its menu command
// shows it again, with the focus.
void tst_display::minimizedWindowComesBack()
{
    QFETCH(QStringList, keys);
    const QString title = QString::fromLatin1(QTest::currentDataTag());
    const QString id = openFromMain(keys, title);
    QVERIFY(!id.isEmpty());
    QVERIFY(activate(id));
    x(QStringLiteral("xdotool"), {"windowminimize", id});
    QVERIFY(QTest::qWaitFor([&] { return isMinimized(id); }, m_timeout));
    QVERIFY(activate(m_main));

    press(keys);
    QVERIFY2(QTest::qWaitFor([&] { return !isMinimized(id) && activeWindow() == id; }, m_timeout),
             qPrintable(QStringLiteral("minimized: %1, active: %2, %3: %4")
                            .arg(isMinimized(id))
                            .arg(activeWindow(), title, id)));
    QCOMPARE(countTitled(title), 1);

    press({QStringLiteral("alt+F4")});
    QVERIFY(waitUntilGone(title));
}

void tst_display::updateWindow()
{
    if (!m_offline)
        QSKIP("no network namespace here (unshare) to keep the update check off the network");
    const QString selfTest = openFromMain(kCheckNow, QStringLiteral("Self Test"));
    QVERIFY(!selfTest.isEmpty());
    QVERIFY(activate(selfTest));
    press({QStringLiteral("Return")}); // "Check for Updates", the default button

    const QString id = waitForWindow(QStringLiteral("Update"));
    QVERIFY(!id.isEmpty());
    QVERIFY(waitUntilGone(QStringLiteral("Self Test")));
    checkFrame(id, true);
    if (QTest::currentTestFailed())
        return;

    QVERIFY(dismissOfflineCheck({id, m_main}));
}

QTEST_GUILESS_MAIN(tst_display)
#include "tst_display.moc"
