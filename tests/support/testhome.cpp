#include "tests/support/testhome.h"

#include "framework/specialfolder.h"

#include <QDir>

TestHome::TestHome()
    : m_oldHome(qgetenv("HOME"))
{
    qputenv("HOME", m_dir.path().toLocal8Bit());
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DESKTOP_DIR"})
        qunsetenv(name);
    reset();
}

TestHome::~TestHome()
{
    qputenv("HOME", m_oldHome);
}

QString TestHome::desktop() const
{
    return SpecialFolder::Desktop();
}

QString TestHome::preferences() const
{
    return SpecialFolder::Preferences();
}

void TestHome::reset() const
{
    for (const QString &folder : {desktop(), preferences()}) {
        // Never reach outside the temporary home, whatever the environment says.
        if (!folder.startsWith(m_dir.path() + u'/'))
            qFatal("test folder %s lies outside the test home", qPrintable(folder));
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }
}
