#include "app/app.h"

#include "buildinfo.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrelo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tavrelo"));
    QApplication::setApplicationVersion(QString::fromLatin1(BuildInfo::version));
    App app;
    return app.run();
}
