#include "app/app.h"

#include "buildinfo.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrelo"));
    // No display name: Qt would append it to every window title.
    QApplication::setDesktopFileName(QStringLiteral("tavrelo"));
    QApplication::setApplicationVersion(QString::fromLatin1(BuildInfo::version));
    App app;
    return app.run();
}
