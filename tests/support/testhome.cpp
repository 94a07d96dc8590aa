#include "tests/support/testhome.h"

#include "framework/specialfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

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
    restore();
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

bool TestHome::holds(const QString &path) const
{
    return path.isEmpty() ||
           QDir::cleanPath(QFileInfo(path).absoluteFilePath()).startsWith(m_dir.path() + u'/');
}

void TestHome::remember(const char *name)
{
    for (const auto &[changed, value] : m_oldEnvironment) {
        if (changed == name)
            return;
    }
    m_oldEnvironment.append({name, qEnvironmentVariableIsSet(name)
                                       ? std::optional<QByteArray>(qgetenv(name))
                                       : std::nullopt});
}

void TestHome::setEnv(const char *name, const QByteArray &value)
{
    remember(name);
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

void TestHome::unusableHomes_data()
{
    QTest::addColumn<QByteArray>("home");
    QTest::newRow("unset") << QByteArray();
    QTest::newRow("empty") << QByteArray("");
    // A folder under the current one.
    QTest::newRow("relative") << QByteArray("home");
}

QString TestHome::enterWorkFolder()
{
    const QString work = QDir(m_dir.path()).filePath(QStringLiteral("work"));
    if (!QDir().mkpath(work))
        qFatal("cannot make %s", qPrintable(work));
    if (m_oldCurrent.isEmpty())
        m_oldCurrent = QDir::currentPath();
    QDir::setCurrent(work);
    return work;
}

void TestHome::restore()
{
    for (const auto &[name, value] : m_oldEnvironment) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
    m_oldEnvironment.clear();
    if (!m_oldCurrent.isEmpty())
        QDir::setCurrent(m_oldCurrent);
    m_oldCurrent.clear();
}

void TestHome::reset()
{
    restore();
    // The home itself stays: its permissions keep other users out.
    const QDir home(m_dir.path());
    for (const QFileInfo &entry : home.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                     QDir::Hidden | QDir::System)) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
    for (const QString &folder : {desktop(), preferences()}) {
        // Never reach outside the temporary home, whatever the environment says.
        if (folder.isEmpty() || !holds(folder))
            qFatal("test folder %s lies outside the test home", qPrintable(folder));
        QDir().mkpath(folder);
    }
}
