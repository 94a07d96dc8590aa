#pragma once

#include <QAction>
#include <QList>
#include <QString>

// One named object of a menu bar: the bar itself, a menu, an item or a separator ("-").
// The tree is kept for the whole run; each window shows it through its own QMenuBar.
class MenuItem : public QAction
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuItem)

public:
    enum class Kind { Normal, Quit, About };

    explicit MenuItem(Kind kind = Kind::Normal, QObject *parent = nullptr);

    Kind kind() const { return m_kind; }

    QString name() const { return objectName(); }
    void setName(const QString &name) { setObjectName(name); }

    // A caption of "-" makes a separator, shown as a plain line: the action keeps no text,
    // since styles draw a separator's text beside its line. "&" marks the mnemonic.
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    bool autoEnable() const { return m_autoEnable; }
    void setAutoEnable(bool on) { m_autoEnable = on; }

    // Shortcut texts say "Cmd+..."; Qt's portable Ctrl is Command on macOS.
    QString keyboardShortcut() const { return m_keyboardShortcut; }
    bool hasKeyboardShortcut() const { return m_hasKeyboardShortcut; }
    void setKeyboardShortcut(const QString &text);

    // Takes ownership of the child.
    void append(MenuItem *child);
    MenuItem *child(const QString &name) const;  // direct children only
    MenuItem *lookup(const QString &name) const; // anywhere below this object
    const QList<MenuItem *> &children() const { return m_children; }

private:
    Kind m_kind;
    bool m_autoEnable = false;
    bool m_hasKeyboardShortcut = false;
    QString m_caption;
    QString m_keyboardShortcut;
    QList<MenuItem *> m_children;
};

// The root of a tree: its children are the menus, theirs the items.
class MenuBar : public MenuItem
{
    Q_OBJECT

public:
    MenuBar() = default;
};
