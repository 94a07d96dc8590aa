#include "framework/specialfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace SpecialFolder {

namespace {

// Only a path from the root names the same folder wherever the program was started; a
// relative one would put the user's files under the current folder.
bool isRooted(const QString &path)
{
    return path.startsWith(u'/');
}

// The folder HOME names; empty when it is unset, empty or relative.
QString home()
{
    const QString path = QFile::decodeName(qgetenv("HOME"));
    return isRooted(path) ? QDir::cleanPath(path) : QString();
}

// A child of the home folder; empty without a usable home.
QString inHome(const QString &name)
{
    const QString folder = home();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(name);
}

#ifndef Q_OS_MACOS
constexpr qint64 kUserDirsCap = 64 * 1024;

// The XDG configuration folder. A relative XDG_CONFIG_HOME is invalid by the XDG rules and is
// ignored.
QString configHome()
{
    const QString configured = QFile::decodeName(qgetenv("XDG_CONFIG_HOME"));
    return isRooted(configured) ? QDir::cleanPath(configured) : inHome(QStringLiteral(".config"));
}

// The Desktop that xdg-user-dirs names in user-dirs.dirs, read as Qt reads it: the last
// XDG_DESKTOP_DIR line, quotes taken off and a leading $HOME replaced. Empty when there is
// none, or when it names no folder from the root.
QString userDirsDesktop()
{
    const QString config = configHome();
    if (config.isEmpty())
        return QString();
    const QString path = QDir(config).filePath(QStringLiteral("user-dirs.dirs"));
    // Only a regular file: reading a pipe put there would hang the save until someone writes.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray key("XDG_DESKTOP_DIR=");
    QString value;
    // The file holds a dozen short lines; what lies beyond kUserDirsCap is none of them.
    for (QByteArray line : file.read(kUserDirsCap).split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith(key))
            value = QFile::decodeName(line.mid(key.size()));
    }
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.mid(1, value.size() - 2);
    if (value.startsWith(QLatin1String("$HOME"))) {
        const QString folder = home();
        if (folder.isEmpty())
            return QString();
        value = folder + value.mid(5);
    }
    return isRooted(value) ? QDir::cleanPath(value) : QString();
}
#endif

} // namespace

QString Desktop()
{
#ifdef Q_OS_MACOS
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
#else
    const QString configured = userDirsDesktop();
    return configured.isEmpty() ? inHome(QStringLiteral("Desktop")) : configured;
#endif
}

QString Preferences()
{
#ifdef Q_OS_MACOS
    return inHome(QStringLiteral("Library/Preferences"));
#else
    return configHome();
#endif
}

QString Resources()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1String("/../Resources"));
}

} // namespace SpecialFolder
