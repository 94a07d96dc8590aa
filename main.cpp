#include "app/app.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrelo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tavrelo"));
    QApplication::setApplicationVersion(QStringLiteral(TAVRELO_VERSION));
    App app;
    return app.run();
}
