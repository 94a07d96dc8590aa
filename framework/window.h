#pragma once

#include "framework/application.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <optional>

class MenuBar;
class QPushButton;

// A top-level window of a fixed design: a content area of the designed size (the coordinate
// space of its controls), an optional menu bar above it, and menu handlers of its own.
class Window : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Window)

public:
    explicit Window(QWidget *parent = nullptr);
    ~Window() override;

    // The designed content area; controls are placed in its coordinates.
    QWidget *content() const { return m_content; }
    void setContentSize(int width, int height);

    // The frame has a close box and a title, and is never resizable nor zoomable; the
    // minimize button is there only where the design asks for it.
    void setMinimizeButton(bool on);

    void setMenus(MenuBar *bar);
    MenuBar *menus() const { return m_menus; }

    void AddMenuHandler(const QString &itemName, MenuHandler handler);
    std::optional<bool> handleMenu(const QString &itemName);

    // Screen position of the content area, not of the frame.
    int top() const;
    int left() const;
    void setTop(int top);
    void setLeft(int left);

    // Puts the content area at (left, top) where the user can grab the title bar there, and
    // otherwise moves it the least distance that puts the whole title bar on the nearest
    // screen. Decided from the real frame: an X11 window manager makes it known only once it
    // has framed the window, so there the window is corrected when first exposed, if need be.
    void placeInReach(qint64 left, qint64 top);

    // Shows the window, or brings an open one, minimized or not, in front of the others, with
    // the focus.
    void bringToFront();

    // Shows the window modally and returns once it has closed.
    void showModal();

    // Return presses the default button (drawn as such), Escape the cancel button.
    void setDefaultButton(QPushButton *button);
    void setCancelButton(QPushButton *button);

    // Open until its Close event has run; a closed window is never handed out again.
    bool isOpen() const { return !m_closed; }

    // Raised by the accessor once the window and its controls exist.
    void raiseOpen();

Q_SIGNALS:
    void closed();

protected:
    virtual void Event_Open() {}
    virtual void Event_Close() {}

    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Where the content area stands within the window (below the menu bar, if any).
    QPoint contentOffset() const;

private:
    void moveContentTo(QPoint topLeft);
    void moveIntoReach(const QMargins &frame);

    QWidget *m_content = nullptr;
    MenuBar *m_menus = nullptr;
    QHash<QString, MenuHandler> m_handlers;
    QPointer<QPushButton> m_defaultButton;
    QPointer<QPushButton> m_cancelButton;
    qint64 m_wantedLeft = 0;
    qint64 m_wantedTop = 0;
    bool m_opened = false;
    bool m_closed = false;
};

// The one-instance accessor behind every window class: the open window, or a new one.
template <class T> T *windowInstance(QPointer<T> &slot)
{
    if (!slot || !slot->isOpen()) {
        slot = new T;
        slot->raiseOpen();
    }
    return slot;
}

// The open window, or nullptr; never builds one.
template <class T> T *openWindow(const QPointer<T> &slot)
{
    return slot && slot->isOpen() ? slot.data() : nullptr;
}
