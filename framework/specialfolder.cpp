#include "framework/specialfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace SpecialFolder {

QString Desktop()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString Preferences()
{
#ifdef Q_OS_MACOS
    return QDir::homePath() + QLatin1String("/Library/Preferences");
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
}

QString Resources()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1String("/../Resources"));
}

} // namespace SpecialFolder
