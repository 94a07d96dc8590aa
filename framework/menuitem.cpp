#include "framework/menuitem.h"

#include <QKeySequence>

MenuItem::MenuItem(Kind kind, QObject *parent)
    : QAction(parent)
    , m_kind(kind)
{
    switch (kind) {
    case Kind::Normal:
        setMenuRole(QAction::NoRole);
        break;
    case Kind::Quit:
        setMenuRole(QAction::QuitRole);
        break;
    case Kind::About:
        setMenuRole(QAction::AboutRole);
        break;
    }
}

void MenuItem::setCaption(const QString &caption)
{
    m_caption = caption;
    const bool separator = caption == u"-";
    setSeparator(separator);
    setText(separator ? QString() : caption);
}

void MenuItem::setKeyboardShortcut(const QString &text)
{
    m_keyboardShortcut = text;
    m_hasKeyboardShortcut = true;
    QString portable = text;
    portable.replace(QLatin1String("Cmd+"), QLatin1String("Ctrl+"), Qt::CaseInsensitive);
    setShortcut(QKeySequence::fromString(portable, QKeySequence::PortableText));
}

void MenuItem::append(MenuItem *child)
{
    child->setParent(this);
    m_children.append(child);
}

MenuItem *MenuItem::child(const QString &name) const
{
    for (MenuItem *item : m_children) {
        if (item->name() == name)
            return item;
    }
    return nullptr;
}

MenuItem *MenuItem::lookup(const QString &name) const
{
    for (MenuItem *item : m_children) {
        if (item->name() == name)
            return item;
        if (MenuItem *below = item->lookup(name))
            return below;
    }
    return nullptr;
}
