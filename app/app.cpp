#include "app/app.h"

#include "app/menubars.h"
#include "app/prefmodule.h"
#include "help/aboutbox.h"
#include "help/help.h"
#include "help/printing.h"
#include "message/module1.h"
#include "message/window1.h"
#include "update/selftest.h"

#include <QCoreApplication>

App::App()
{
    // Module1's globals hold fonts and pictures that must go before the application does; once,
    // however many App objects a run makes.
    qRemovePostRoutine(Module1::release);
    qAddPostRoutine(Module1::release);
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
    AddMenuHandler(QStringLiteral("FilePageSetup"), [this] { return FilePageSetup_Action(); });
    AddMenuHandler(QStringLiteral("HelpAboutBox"), [this] { return HelpAboutBox_Action(); });
    AddMenuHandler(QStringLiteral("HelpShowHelp"), [this] { return HelpShowHelp_Action(); });
    AddMenuHandler(QStringLiteral("FilePrint"), [this] { return FilePrint_Action(); });
}

bool App::CheckforUpdateCheckNow_Action()
{
    selfTest::instance()->bringToFront();
    return false;
}

void App::Event_Open()
{
    prefModule::loadPrefs();
    Window1::instance()->show();
}

void App::Event_Close()
{
    prefModule::savePrefs(Window1::openInstance());
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

bool App::FilePageSetup_Action()
{
    runPageSetup();
    return false;
}

bool App::HelpAboutBox_Action()
{
    AboutBox::instance()->bringToFront();
    return true;
}

bool App::HelpShowHelp_Action()
{
    Help::instance()->bringToFront();
    return true;
}

bool App::FilePrint_Action()
{
    printHelp();
    return true;
}
