#include "app/app.h"
#include "app/menubars.h"
#include "framework/editfield.h"
#include "help/help.h"
#include "message/window1.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"

#include <QApplication>
#include <QMenuBar>
#include <QPointer>
#include <QScopeGuard>
#include <QTest>

#include <memory>

// The two menu bars against their designed tables, and how a chosen item is served.
class tst_menubars : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void structure_data();
    void structure();
    void keptInstances();
    void helpItemsEnabledBeforeMenusShow();
    void windowBindingComesFirst();
    void quitItemQuits();
    void standardEditActsOnFocusedField();
    void shownInTheWindowsOwnMenuBar();
    void applicationBindings_data();
    void applicationBindings();
    void minimizedWindowComesBack_data();
    void minimizedWindowComesBack();
    void printHelpFromEitherBar();

private:
    TestHome m_home;
};

using Kind = MenuItem::Kind;

struct Row
{
    QString name;
    Kind kind;
    QString text;
    QString shortcut; // "unset" for a separator
};

static QList<Row> flatten(const MenuBar *bar)
{
    QList<Row> rows;
    auto add = [&rows](const MenuItem *item) {
        rows.append(
            {item->name(), item->kind(), item->caption(),
             item->hasKeyboardShortcut() ? item->keyboardShortcut() : QStringLiteral("unset")});
    };
    for (const MenuItem *menu : bar->children()) {
        add(menu);
        for (const MenuItem *item : menu->children()) {
            Q_ASSERT(item->children().isEmpty()); // menus are only two levels deep
            add(item);
        }
    }
    return rows;
}

Q_DECLARE_METATYPE(QList<Row>)

static QList<Row> editMenu()
{
    return {
        {"EditMenu", Kind::Normal, "&Edit", ""},
        {"EditUndo", Kind::Normal, "&Undo", "Cmd+Z"},
        {"UntitledMenu1", Kind::Normal, "-", "unset"},
        {"EditCut", Kind::Normal, "Cu&t", "Cmd+X"},
        {"EditCopy", Kind::Normal, "&Copy", "Cmd+C"},
        {"EditPaste", Kind::Normal, "&Paste", "Cmd+V"},
        {"EditClear", Kind::Normal, "&Delete", ""},
        {"UntitledMenu0", Kind::Normal, "-", "unset"},
        {"EditSelectAll", Kind::Normal, "Select &All", "Cmd+A"},
    };
}

void tst_menubars::structure_data()
{
    QTest::addColumn<MenuBar *>("bar");
    QTest::addColumn<QList<Row>>("expected");

    QList<Row> bar1 = {
        {"FileMenu", Kind::Normal, "&File", ""},
        {"FilePageSetup", Kind::Normal, "Page Setup", "Cmd+Shift+P"},
        {"FilePrint", Kind::Normal, "Print Help", "Cmd+P"},
        {"FileQuit", Kind::Quit, "&Quit", "Cmd+Q"},
    };
    bar1 += editMenu();
    bar1 += QList<Row>{
        {"CheckforUpdateMenu", Kind::Normal, "Check for Update", ""},
        {"CheckforUpdateCheckNow", Kind::Normal, "Check Now", ""},
        {"HelpMenu", Kind::Normal, "Help ", ""},
        {"HelpShowHelp", Kind::Normal, "Show Help", ""},
        {"HelpAboutBox", Kind::About, "About...", ""},
    };
    QList<Row> bar2 = {
        {"FileMenu", Kind::Normal, "&File", ""},
        {"FilePageSetup", Kind::Normal, "Page Setup", "Cmd+Shift+P"},
        {"FilePrint", Kind::Normal, "Print Help", "Cmd+P"},
    };
    bar2 += editMenu();

    QTest::newRow("MenuBar1") << static_cast<MenuBar *>(MenuBar1::instance()) << bar1;
    QTest::newRow("MenuBar2") << static_cast<MenuBar *>(MenuBar2::instance()) << bar2;
}

void tst_menubars::structure()
{
    QFETCH(MenuBar *, bar);
    QFETCH(QList<Row>, expected);

    const QList<Row> rows = flatten(bar);
    QCOMPARE(rows.size(), expected.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].name, expected[i].name);
        QVERIFY(rows[i].kind == expected[i].kind);
        QCOMPARE(rows[i].text, expected[i].text);
        QCOMPARE(rows[i].shortcut, expected[i].shortcut);
        const MenuItem *item = bar->lookup(rows[i].name);
        QVERIFY(item->autoEnable());
        QVERIFY(item->isEnabled());
    }
    // Shortcuts reach Qt in its portable form: Ctrl is Command on macOS.
    QCOMPARE(bar->lookup("FilePageSetup")->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+Shift+P")));
    // Separators are plain lines: a text would be drawn beside the line.
    for (const char *name : {"UntitledMenu0", "UntitledMenu1"}) {
        QVERIFY(bar->lookup(name)->isSeparator());
        QCOMPARE(bar->lookup(name)->text(), QString());
    }
}

void tst_menubars::keptInstances()
{
    QCOMPARE(MenuBar1::instance(), MenuBar1::instance());
    QCOMPARE(MenuBar2::instance(), MenuBar2::instance());
    // The same name in the two bars names two objects.
    QVERIFY(MenuBar1::instance()->lookup("EditCopy") != MenuBar2::instance()->lookup("EditCopy"));
}

void tst_menubars::helpItemsEnabledBeforeMenusShow()
{
    App app;
    MenuItem *help = MenuBar1::instance()->lookup("HelpShowHelp");
    MenuItem *about = MenuBar1::instance()->lookup("HelpAboutBox");
    help->setEnabled(false);
    about->setEnabled(false);
    app.raiseEnableMenuItems();
    QVERIFY(help->isEnabled());
    QVERIFY(about->isEnabled());
}

void tst_menubars::windowBindingComesFirst()
{
    App app;
    Window1 *window = Window1::instance();
    QStringList calls;
    app.AddMenuHandler(QStringLiteral("EditUndo"), [&calls] {
        calls << QStringLiteral("app");
        return true;
    });
    QCOMPARE(app.dispatchMenu(QStringLiteral("EditUndo"), window), std::optional<bool>(true));
    window->AddMenuHandler(QStringLiteral("EditUndo"), [&calls] {
        calls << QStringLiteral("window");
        return false;
    });
    QCOMPARE(app.dispatchMenu(QStringLiteral("EditUndo"), window), std::optional<bool>(false));
    QCOMPARE(calls, QStringList({"app", "window"}));
    delete window;
}

void tst_menubars::quitItemQuits()
{
    App app;
    Window1 *window = Window1::instance();
    QVERIFY(!app.isQuitting());
    MenuBar1::instance()->lookup("FileQuit")->trigger();
    QVERIFY(app.isQuitting());
    delete window;
}

void tst_menubars::standardEditActsOnFocusedField()
{
    App app;
    Window1 *window = Window1::instance();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->InnocentText->setFocus();
    QTest::keyClicks(window->InnocentText, QStringLiteral("hello"));
    MenuBar1::instance()->lookup("EditSelectAll")->trigger();
    QCOMPARE(window->InnocentText->textCursor().selectedText(), QStringLiteral("hello"));
    MenuBar1::instance()->lookup("EditCut")->trigger();
    QCOMPARE(window->InnocentText->toPlainText(), QString());
    MenuBar1::instance()->lookup("EditPaste")->trigger();
    MenuBar1::instance()->lookup("EditPaste")->trigger();
    QCOMPARE(window->InnocentText->toPlainText(), QStringLiteral("hellohello"));
    MenuBar1::instance()->lookup("EditSelectAll")->trigger();
    MenuBar1::instance()->lookup("EditClear")->trigger();
    QCOMPARE(window->InnocentText->toPlainText(), QString());
    MenuBar1::instance()->lookup("EditUndo")->trigger();
    QCOMPARE(window->InnocentText->toPlainText(), QStringLiteral("hellohello"));
    delete window;
}

void tst_menubars::shownInTheWindowsOwnMenuBar()
{
    App app;
    Window1 *window = Window1::instance();
    const QList<QAction *> menus = window->menuBar()->actions();
    QCOMPARE(menus.size(), 4);
    QCOMPARE(menus.at(3)->text(), QStringLiteral("Help "));
    QCOMPARE(menus.at(0)->menu()->actions().size(), 3);
    QCOMPARE(menus.at(0)->menu()->actions().at(1), MenuBar1::instance()->lookup("FilePrint"));
    delete window;
}

void tst_menubars::applicationBindings_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("result");
    // Every handler returns its fixed result, whatever the person answers.
    QTest::newRow("Check Now") << QStringLiteral("CheckforUpdateCheckNow") << false;
    QTest::newRow("Page Setup") << QStringLiteral("FilePageSetup") << false;
    QTest::newRow("About...") << QStringLiteral("HelpAboutBox") << true;
    QTest::newRow("Show Help") << QStringLiteral("HelpShowHelp") << true;
    QTest::newRow("Print Help") << QStringLiteral("FilePrint") << true;
}

void tst_menubars::applicationBindings()
{
    QFETCH(QString, item);
    QFETCH(bool, result);
    RecordingServices person;
    App app;
    QVERIFY(app.hasMenuHandler(item));
    for (int call = 0; call < 2; ++call)
        QCOMPARE(app.dispatchMenu(item, nullptr), std::optional<bool>(result));
    QApplication::closeAllWindows();
}

void tst_menubars::minimizedWindowComesBack_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("title");
    QTest::newRow("Check Now") << QStringLiteral("CheckforUpdateCheckNow")
                               << QStringLiteral("Self Test");
    QTest::newRow("Show Help") << QStringLiteral("HelpShowHelp") << QStringLiteral("Help");
    QTest::newRow("About...") << QStringLiteral("HelpAboutBox") << QStringLiteral("About...");
}

// Chosen from the main window while the user has its window minimized, the command shows that
// same window again, with the focus.
void tst_menubars::minimizedWindowComesBack()
{
    QFETCH(QString, item);
    QFETCH(QString, title);
    RecordingServices person;
    App app;
    const std::unique_ptr<Window1> main(Window1::instance());
    main->show();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    auto titled = [&title]() -> QWidget * {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->windowTitle() == title)
                return widget;
        }
        return nullptr;
    };

    QVERIFY(app.dispatchMenu(item, main.get()).has_value());
    const QPointer<QWidget> window = titled();
    QVERIFY(window);
    const auto closeWindow = qScopeGuard([&window] {
        if (window)
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->showMinimized();
    QTRY_VERIFY(window->isMinimized());
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));

    QVERIFY(app.dispatchMenu(item, main.get()).has_value());
    QCOMPARE(titled(), window.data());
    QTRY_VERIFY(!window->isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), window.data());
}

void tst_menubars::printHelpFromEitherBar()
{
    RecordingServices person;
    App app;
    Window1 *window = Window1::instance();
    Help *help = Help::instance();
    window->show();
    help->show();
    MenuBar1::instance()->lookup("FilePrint")->trigger();
    MenuBar2::instance()->lookup("FilePrint")->trigger();
    QCOMPARE(person.printDialogs, 2);
    QApplication::closeAllWindows();
}

QTEST_MAIN(tst_menubars)
#include "tst_menubars.moc"
