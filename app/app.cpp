#include "app/app.h"

#include "app/menubars.h"
#include "app/prefmodule.h"
#include "message/window1.h"
#include "update/selftest.h"

App::App()
{
    ApplicationAddMenuHandlers();
}

App *App::instance()
{
    return static_cast<App *>(Application::instance());
}

void App::ApplicationAddMenuHandlers()
{
    AddMenuHandler(QStringLiteral("CheckforUpdateCheckNow"),
                   [this] { return CheckforUpdateCheckNow_Action(); });
}

bool App::CheckforUpdateCheckNow_Action()
{
    selfTest *window = selfTest::instance();
    window->show();
    window->raise();
    return false;
}

void App::Event_Open()
{
    prefModule::loadPrefs();
    Window1::instance()->show();
}

void App::Event_Close()
{
    prefModule::savePrefs();
}

void App::Event_EnableMenuItems()
{
    MenuBar1::instance()
        ->child(QStringLiteral("HelpMenu"))
        ->child(QStringLiteral("HelpShowHelp"))
        ->setEnabled(true);
    MenuBar1::instance()
        ->child(QStringLiteral("HelpMenu"))
        ->child(QStringLiteral("HelpAboutBox"))
        ->setEnabled(true);
}
