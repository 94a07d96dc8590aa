#include "app/menubars.h"

#include <QCoreApplication>

namespace {

struct ItemSpec
{
    const char16_t *name;
    const char16_t *text;
    const char16_t *shortcut; // nullptr: a separator, whose shortcut is never set
    MenuItem::Kind kind = MenuItem::Kind::Normal;
};

// Hangs the menu on the bar first, then appends each item with all its properties set.
void buildMenu(MenuBar *bar, const char16_t *menuName, const char16_t *menuText,
               std::initializer_list<ItemSpec> items)
{
    auto *menu = new MenuItem;
    menu->setName(QString::fromUtf16(menuName));
    menu->setAutoEnable(true);
    menu->setCaption(QString::fromUtf16(menuText));
    menu->setKeyboardShortcut(QString());
    bar->append(menu);
    for (const ItemSpec &spec : items) {
        auto *item = new MenuItem(spec.kind);
        item->setName(QString::fromUtf16(spec.name));
        item->setAutoEnable(true);
        item->setCaption(QString::fromUtf16(spec.text));
        if (spec.shortcut)
            item->setKeyboardShortcut(QString::fromUtf16(spec.shortcut));
        bar->child(menu->name())->append(item);
    }
}

void buildFileMenu(MenuBar *bar, bool withQuit)
{
    if (withQuit) {
        buildMenu(bar, u"FileMenu", u"&File",
                  {{u"FilePageSetup", u"Page Setup", u"Cmd+Shift+P"},
                   {u"FilePrint", u"Print Help", u"Cmd+P"},
                   {u"FileQuit", u"&Quit", u"Cmd+Q", MenuItem::Kind::Quit}});
    } else {
        buildMenu(bar, u"FileMenu", u"&File",
                  {{u"FilePageSetup", u"Page Setup", u"Cmd+Shift+P"},
                   {u"FilePrint", u"Print Help", u"Cmd+P"}});
    }
}

void buildEditMenu(MenuBar *bar)
{
    buildMenu(bar, u"EditMenu", u"&Edit",
              {{u"EditUndo", u"&Undo", u"Cmd+Z"},
               {u"UntitledMenu1", u"-", nullptr},
               {u"EditCut", u"Cu&t", u"Cmd+X"},
               {u"EditCopy", u"&Copy", u"Cmd+C"},
               {u"EditPaste", u"&Paste", u"Cmd+V"},
               {u"EditClear", u"&Delete", u""},
               {u"UntitledMenu0", u"-", nullptr},
               {u"EditSelectAll", u"Select &All", u"Cmd+A"}});
}

// Released with the application object, after the event loop has returned.
template <class Bar> Bar *keptForTheRun(Bar *bar)
{
    bar->setParent(QCoreApplication::instance());
    return bar;
}

} // namespace

MenuBar1 *MenuBar1::instance()
{
    static MenuBar1 *const kept = keptForTheRun(new MenuBar1);
    return kept;
}

MenuBar1::MenuBar1()
{
    Untitled0();
    Untitled1();
    Untitled2();
    Untitled3();
}

void MenuBar1::Untitled0()
{
    buildFileMenu(this, true);
}

void MenuBar1::Untitled1()
{
    buildEditMenu(this);
}

void MenuBar1::Untitled2()
{
    buildMenu(this, u"CheckforUpdateMenu", u"Check for Update",
              {{u"CheckforUpdateCheckNow", u"Check Now", u""}});
}

void MenuBar1::Untitled3()
{
    buildMenu(this, u"HelpMenu", u"Help ",
              {{u"HelpShowHelp", u"Show Help", u""},
               {u"HelpAboutBox", u"About...", u"", MenuItem::Kind::About}});
}

MenuBar2 *MenuBar2::instance()
{
    static MenuBar2 *const kept = keptForTheRun(new MenuBar2);
    return kept;
}

MenuBar2::MenuBar2()
{
    Untitled0();
    Untitled1();
}

void MenuBar2::Untitled0()
{
    buildFileMenu(this, false);
}

void MenuBar2::Untitled1()
{
    buildEditMenu(this);
}
