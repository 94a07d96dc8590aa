#pragma once

#include "app/app.h"
#include "app/prefmodule.h"
#include "message/window1.h"
#include "tests/support/prefs.h"

#include <QMargins>
#include <QTest>

// How far the main window's frame reaches beyond its designed content area, the menu bar
// included, and how tall its title bar is, as the platform reports them for a shown window.
struct MainWindowFrame
{
    QMargins aroundContent;
    int titleBar = 0;

    static MainWindowFrame measure()
    {
        App app;
        const std::unique_ptr<Window1> window(Window1::instance());
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return {};
        const QRect frame = window->frameGeometry();
        const QRect content(window->content()->mapToGlobal(QPoint(0, 0)),
                            window->content()->size());
        const QMargins around(content.left() - frame.left(), content.top() - frame.top(),
                              frame.right() - content.right(), frame.bottom() - content.bottom());
        const int menuBar = window->content()->mapTo(window.get(), QPoint(0, 0)).y();
        return {around, around.top() - menuBar};
    }
};

// Where the main window's content area opens at start-up with a preferences file holding prefs
// (null: no file); a null point where the window did not show.
inline QPoint mainWindowOpensAt(const QByteArray &prefs)
{
    if (!prefs.isNull() && !TestPrefs::writeFile(prefs))
        return QPoint();
    App app;
    prefModule::loadPrefs();
    const std::unique_ptr<Window1> window(Window1::instance());
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return QPoint();
    return window->content()->mapToGlobal(QPoint(0, 0));
}
