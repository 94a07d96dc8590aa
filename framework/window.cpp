#include "framework/window.h"

#include "framework/menuitem.h"
#include "framework/screenreach.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

Window::Window(QWidget *parent)
    : QMainWindow(parent)
    , m_content(new QWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setCentralWidget(m_content);
    // Fixed designs: the window takes the size of its content and the user cannot resize it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setMinimizeButton(false);
}

Window::~Window() = default;

void Window::setContentSize(int width, int height)
{
    m_content->setFixedSize(width, height);
}

void Window::setMinimizeButton(bool on)
{
    Qt::WindowFlags flags =
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (on)
        flags |= Qt::WindowMinimizeButtonHint;
    setWindowFlags(flags);
}

void Window::setMenus(MenuBar *bar)
{
    m_menus = bar;
    QMenuBar *shown = menuBar();
    shown->clear();
    for (MenuItem *menuItem : bar->children()) {
        QMenu *menu = shown->addMenu(menuItem->text());
        menu->setObjectName(menuItem->name());
        connect(menu, &QMenu::aboutToShow, this, [] {
            if (Application *app = Application::instance())
                app->raiseEnableMenuItems();
        });
        for (MenuItem *item : menuItem->children()) {
            menu->addAction(item);
            if (item->isSeparator())
                continue;
            // The bar is kept across windows; this connection goes with this window.
            connect(item, &QAction::triggered, this, [this, name = item->name()] {
                if (Application *app = Application::instance())
                    app->dispatchMenu(name, this);
            });
        }
    }
}

void Window::AddMenuHandler(const QString &itemName, MenuHandler handler)
{
    m_handlers.insert(itemName, std::move(handler));
}

std::optional<bool> Window::handleMenu(const QString &itemName)
{
    if (auto it = m_handlers.constFind(itemName); it != m_handlers.cend())
        return (*it)();
    return std::nullopt;
}

QPoint Window::contentOffset() const
{
    layout()->activate();
    return m_content->pos();
}

int Window::top() const
{
    return geometry().top() + contentOffset().y();
}

int Window::left() const
{
    return geometry().left() + contentOffset().x();
}

void Window::moveContentTo(QPoint topLeft)
{
    const QPoint offset = contentOffset();
    setGeometry(QRect(topLeft - offset, size()));
}

void Window::setTop(int top)
{
    moveContentTo(QPoint(left(), top));
}

void Window::setLeft(int left)
{
    moveContentTo(QPoint(left, top()));
}

void Window::placeInReach(qint64 left, qint64 top)
{
    m_wantedLeft = left;
    m_wantedTop = top;
    create();
    const QMargins frame = windowHandle()->frameMargins();
    moveIntoReach(frame);
    if (frame.isNull())
        windowHandle()->installEventFilter(this);
}

void Window::moveIntoReach(const QMargins &frame)
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    if (areas.isEmpty())
        return;
    // Without a frame known yet, the window's own top row stands in for the title bar: where
    // that is in reach, so may the real one be, and the window stays until the frame is known.
    const QPoint offset = contentOffset() + QPoint(frame.left(), frame.top());
    const QSize titleBar(width() + frame.left() + frame.right(), qMax(frame.top(), 1));
    const std::optional<QPoint> moved =
        reachableTitleBar(m_wantedLeft - offset.x(), m_wantedTop - offset.y(), titleBar, areas);
    // In reach, the wanted position lies near a screen, and so within int.
    moveContentTo(moved ? *moved + offset : QPoint(int(m_wantedLeft), int(m_wantedTop)));
}

bool Window::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        moveIntoReach(windowHandle()->frameMargins());
    }
    return QMainWindow::eventFilter(watched, event);
}

void Window::bringToFront()
{
    // Showing a minimized window leaves it minimized, and the window system activates it only
    // once it is on screen again.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void Window::showModal()
{
    QPointer<Window> guard(this);
    QEventLoop loop;
    connect(this, &Window::closed, &loop, &QEventLoop::quit);
    setWindowModality(Qt::ApplicationModal);
    show();
    if (guard && isOpen())
        loop.exec();
}

void Window::raiseOpen()
{
    if (m_opened)
        return;
    m_opened = true;
    Event_Open();
}

void Window::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    Event_Close();
    m_closed = true;
    event->accept();
    Q_EMIT closed();
}

void Window::setDefaultButton(QPushButton *button)
{
    m_defaultButton = button;
    button->setDefault(true);
}

void Window::setCancelButton(QPushButton *button)
{
    m_cancelButton = button;
}

void Window::keyPressEvent(QKeyEvent *event)
{
    QPushButton *button = nullptr;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        button = m_defaultButton;
        break;
    case Qt::Key_Escape:
        button = m_cancelButton;
        break;
    default:
        break;
    }
    if (button && button->isEnabled()) {
        // One press, one click: a key held down since before the window had the focus (the key
        // that closed a box in front of it) repeats here, and must press nothing unseen.
        if (!event->isAutoRepeat())
            button->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}
