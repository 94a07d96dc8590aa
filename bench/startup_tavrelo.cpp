#include "app/app.h"
#include "bench/startupprobe.h"

#include "buildinfo.h"

#include <QApplication>

// main.cpp, with the probe that ends the run at the main window's first paint.
int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrelo"));
    QApplication::setDesktopFileName(QStringLiteral("tavrelo"));
    QApplication::setApplicationVersion(QString::fromLatin1(BuildInfo::version));
    StartupProbe probe;
    application.installEventFilter(&probe);
    App app;
    return app.run();
}
