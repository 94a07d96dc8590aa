#pragma once

#include "framework/window.h"

class QLabel;
class QPushButton;

// The product's name, the running version and the credits, with a button that starts a mail
// to the author and one that opens the maker's web site.
class AboutBox final : public Window
{
    Q_OBJECT

public:
    // The open about box, or a new one when none is open.
    static AboutBox *instance();
    // The open about box, or nullptr.
    static AboutBox *openInstance();

    QPushButton *PushButton1 = nullptr;
    QPushButton *PushButton2 = nullptr;
    QLabel *StaticText2 = nullptr;
    QLabel *StaticText1 = nullptr;
    QLabel *StaticText3 = nullptr;
    QLabel *StaticText4 = nullptr;

protected:
    void Event_Open() override;

private:
    template <class T> friend T *windowInstance(QPointer<T> &slot);

    AboutBox();
    void Layout();
    void CreateControls();
    void CreateControls0();
    void PushButton1_Action();
    void PushButton2_Action();
    void StaticText4_Open();
};
