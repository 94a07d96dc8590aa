#pragma once

// framework/: the thin layer over Qt that the rest of Tavrelo is written against.
//
// Application owns the menu-handler table and the program's life: Open is raised once the
// event loop runs, EnableMenuItems before a menu shows, Close while quitting. Window (window.h)
// adds one-instance windows, their own handler tables and the designed content area; MenuItem
// (menuitem.h) keeps menu bars as trees of named QActions. Everything a person answers or sees
// outside a window (message boxes, the browser, print dialogs) goes through Services
// (services.h), so tests can stand in for the person. Canvas, EditField and StyledTextPrinter
// are the controls and drawing the main window is built from; SpecialFolder names the folders
// the program reads and writes.

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class Window;

// A menu handler returns True when it handled the command.
using MenuHandler = std::function<bool()>;

class Application : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Application)

public:
    Application();
    ~Application() override;

    // The one application object, or nullptr before it exists.
    static Application *instance();

    void AddMenuHandler(const QString &itemName, MenuHandler handler);
    bool hasMenuHandler(const QString &itemName) const;

    // Serves a chosen menu item: the standard Edit commands on the focused text field first,
    // then the window's own binding, then the application's, then Quit.
    // Returns the handler's result, or nullopt when nothing served the item.
    std::optional<bool> dispatchMenu(const QString &itemName, Window *window);

    int MajorVersion() const;
    int MinorVersion() const;
    int BugVersion() const;
    QString ShortVersion() const;
    QString LongVersion() const;

    // Runs the event loop, raising Open once it runs; returns the exit status.
    int run();
    void Quit(int status = 0);
    bool isQuitting() const { return m_quitting; }

    void raiseEnableMenuItems();

protected:
    virtual void Event_Open() {}
    virtual void Event_Close() {}
    virtual void Event_EnableMenuItems() {}

private:
    void raiseClose();

    QHash<QString, MenuHandler> m_handlers;
    bool m_quitting = false;
    bool m_closeRaised = false;
};
