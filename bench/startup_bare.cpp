#include "bench/startupprobe.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

// A bare window of the main window's size; with --label it shows one line of text as well.
int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    StartupProbe probe;
    application.installEventFilter(&probe);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(600, 434);
    if (QApplication::arguments().contains(QStringLiteral("--label")))
        (new QLabel(QStringLiteral("Plain Message"), &window))->move(20, 16);
    window.show();
    return application.exec();
}
