#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <optional>
#include <utility>

// A fresh HOME for one test program: the Desktop and the configuration folder exist and are
// empty, and no XDG variable points elsewhere.
class TestHome
{
public:
    TestHome();
    ~TestHome();

    QString path() const { return m_dir.path(); }
    QString desktop() const;
    QString preferences() const;
    // True when path is empty or lies inside the home, a relative one seen from the current
    // folder: where a test may let the program write.
    bool holds(const QString &path) const;

    // Sets an environment variable, or unsets it for a null value, until the next reset().
    void setEnv(const char *name, const QByteArray &value);
    // A test table of the HOME values that name no usable folder, in the column "home" (a
    // QByteArray for setEnv): unset, empty, and relative.
    static void unusableHomes_data();
    // Makes a new, empty folder in the home the current one until the next reset(), so that
    // whatever a relative path reaches stays in the home too; returns its path.
    QString enterWorkFolder();

    // Puts the environment and the current folder back, and empties the home again: only the
    // Desktop and the configuration folder stay, both empty.
    void reset();

private:
    void remember(const char *name);
    void restore();

    QTemporaryDir m_dir;
    QByteArray m_oldHome;
    // Each variable changed, with its value before (none when it was unset).
    QList<std::pair<QByteArray, std::optional<QByteArray>>> m_oldEnvironment;
    QString m_oldCurrent;
};
