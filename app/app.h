#pragma once

// app/: start-up and the application object, the two menu bars and the preferences file.
// App binds the menu commands that belong to no window; its Open event loads the
// preferences and shows the main window (message/), its Close event saves them again.

#include "framework/application.h"

class App final : public Application
{
    Q_OBJECT

public:
    App();

    // The one App object.
    static App *instance();

    bool CheckforUpdateCheckNow_Action();

protected:
    void Event_Open() override;
    void Event_Close() override;
    void Event_EnableMenuItems() override;

private:
    void ApplicationAddMenuHandlers();
    bool FilePageSetup_Action();
    bool HelpAboutBox_Action();
    bool HelpShowHelp_Action();
    bool FilePrint_Action();
};
