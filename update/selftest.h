#pragma once

#include "framework/window.h"

class QLabel;
class QPushButton;

// The entry to the update check: the running version and the button that starts the check.
class selfTest final : public Window
{
    Q_OBJECT

public:
    // The open self-test window, or a new one when none is open.
    static selfTest *instance();
    // The open self-test window, or nullptr.
    static selfTest *openInstance();

    QLabel *StaticText1 = nullptr;
    QLabel *StaticText2 = nullptr;
    QPushButton *PushButton1 = nullptr;

    void StaticText2_Open();
    // Shows the update window modally and returns once the check is over.
    void PushButton1_Action();

protected:
    void Event_Open() override;

private:
    template <class T> friend T *windowInstance(QPointer<T> &slot);

    selfTest();
    void Layout();
    void CreateControls();
    void CreateControls0();
};
