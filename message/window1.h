#pragma once

// message/: the main window. The plain message and the secret are typed into two styled
// fields and drawn into the picture area Canvas1 over its backdrop; the window's position
// comes from and goes to the preferences file (app/prefmodule.h).

#include "framework/window.h"

class Canvas;
class EditField;
class QLabel;
class QPushButton;
class Rectangle;

class Window1 final : public Window
{
    Q_OBJECT

public:
    // The open main window, or a new one when none is open.
    static Window1 *instance();
    // The open main window, or nullptr.
    static Window1 *openInstance();

    EditField *InnocentText = nullptr;
    QLabel *StaticText1 = nullptr;
    EditField *SecretText = nullptr;
    QLabel *StaticText2 = nullptr;
    QPushButton *SavePNG = nullptr;
    Canvas *Canvas1 = nullptr;
    QLabel *StaticText3 = nullptr;
    QPushButton *LoadPNG = nullptr;
    QPushButton *ClearAll = nullptr;
    Rectangle *Rectangle1 = nullptr;
    Canvas *Filter1 = nullptr;
    QLabel *StaticText4 = nullptr;
    QLabel *NoSecretTxt = nullptr;
    QPushButton *Kagi1 = nullptr;

protected:
    void Event_Open() override;
    void Event_Close() override;

private:
    template <class T> friend T *windowInstance(QPointer<T> &slot);

    Window1();
    void Layout();
    void CreateControls();
    void Kagi1_Action();
};
