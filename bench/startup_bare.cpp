#include "bench/startupprobe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    StartupProbe probe;
    application.installEventFilter(&probe);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(600, 434);
    window.show();
    return application.exec();
}
