#include "framework/application.h"

#include "framework/menuitem.h"
#include "framework/window.h"

#include "buildinfo.h"

#include <QApplication>
#include <QSet>
#include <QTextEdit>
#include <QTimer>

namespace {

Application *s_application = nullptr;

// The standard Edit commands, by menu-item name; they act on the text field with the focus.
using EditCommand = void (*)(QTextEdit *);

const QHash<QString, EditCommand> &editCommands()
{
    static const QHash<QString, EditCommand> commands{
        {QStringLiteral("EditUndo"), [](QTextEdit *text) { text->undo(); }},
        {QStringLiteral("EditCut"), [](QTextEdit *text) { text->cut(); }},
        {QStringLiteral("EditCopy"), [](QTextEdit *text) { text->copy(); }},
        {QStringLiteral("EditPaste"), [](QTextEdit *text) { text->paste(); }},
        {QStringLiteral("EditClear"),
         [](QTextEdit *text) { text->textCursor().removeSelectedText(); }},
        {QStringLiteral("EditSelectAll"), [](QTextEdit *text) { text->selectAll(); }},
    };
    return commands;
}

// A read-only field takes Copy and Select All only: its text and styles never change.
const QSet<QString> &commandsThatChangeText()
{
    static const QSet<QString> names{QStringLiteral("EditUndo"), QStringLiteral("EditCut"),
                                     QStringLiteral("EditPaste"), QStringLiteral("EditClear")};
    return names;
}

std::optional<bool> standardEditAction(const QString &itemName)
{
    auto *text = qobject_cast<QTextEdit *>(QApplication::focusWidget());
    const auto command = editCommands().constFind(itemName);
    if (!text || command == editCommands().cend() ||
        (text->isReadOnly() && commandsThatChangeText().contains(itemName)))
        return std::nullopt;
    (*command)(text);
    return true;
}

// The processor family in a word short enough for the version labels, which were designed
// for "2.1.0 Intel"; a family without a short name keeps the build's own name for it.
QString processorWord(const QString &processor)
{
    const QString name = processor.toLower();
    if (name == u"x86_64" || name == u"amd64")
        return QStringLiteral("x64");
    if (name == u"x86" || (name.size() == 4 && name.startsWith(u'i') && name.endsWith(u"86")))
        return QStringLiteral("x86");
    if (name.startsWith(u"arm") || name.startsWith(u"aarch"))
        return QStringLiteral("Arm");
    return processor;
}

} // namespace

Application::Application()
{
    Q_ASSERT(!s_application);
    s_application = this;
    // Only the program decides when it ends (closing the main window, or Quit).
    QApplication::setQuitOnLastWindowClosed(false);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &Application::raiseClose);
}

Application::~Application()
{
    s_application = nullptr;
}

Application *Application::instance()
{
    return s_application;
}

void Application::AddMenuHandler(const QString &itemName, MenuHandler handler)
{
    m_handlers.insert(itemName, std::move(handler));
}

bool Application::hasMenuHandler(const QString &itemName) const
{
    return m_handlers.contains(itemName);
}

std::optional<bool> Application::dispatchMenu(const QString &itemName, Window *window)
{
    // The focused field is nearest the user: its standard Edit commands come before any
    // binding, so a window handler that only enables an item cannot swallow Copy.
    if (auto done = standardEditAction(itemName))
        return done;
    if (window) {
        if (auto handled = window->handleMenu(itemName))
            return handled;
    }
    if (auto it = m_handlers.constFind(itemName); it != m_handlers.cend())
        return (*it)();
    if (window && window->menus()) {
        if (MenuItem *item = window->menus()->lookup(itemName);
            item && item->kind() == MenuItem::Kind::Quit) {
            Quit();
            return true;
        }
    }
    return std::nullopt;
}

int Application::MajorVersion() const
{
    return BuildInfo::majorVersion;
}

int Application::MinorVersion() const
{
    return BuildInfo::minorVersion;
}

int Application::BugVersion() const
{
    return BuildInfo::bugVersion;
}

QString Application::ShortVersion() const
{
    return QString::fromLatin1(BuildInfo::version);
}

QString Application::LongVersion() const
{
    return ShortVersion() + u' ' + processorWord(QString::fromLatin1(BuildInfo::processor));
}

int Application::run()
{
    QTimer::singleShot(0, this, [this] {
        if (!m_quitting)
            Event_Open();
    });
    return QApplication::exec();
}

void Application::Quit(int status)
{
    if (m_quitting)
        return;
    m_quitting = true;
    // Close comes while the windows are still open, so it still reaches the main window.
    raiseClose();
    QApplication::closeAllWindows();
    QApplication::exit(status);
}

void Application::raiseClose()
{
    if (m_closeRaised)
        return;
    m_closeRaised = true;
    m_quitting = true;
    Event_Close();
}

void Application::raiseEnableMenuItems()
{
    Event_EnableMenuItems();
}
