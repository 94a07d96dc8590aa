#pragma once

// message/: the main window. The plain message and the secret are typed into two styled
// fields and drawn into the picture area Canvas1 over its backdrop, the secret in near-white
// (254, 254, 254). "See Secret" captures the area from the window's own drawing, builds the
// reveal picture (revealpicture.h) and shows it as the backdrop; "Save Message" writes the
// same capture as "My Message.png" on the Desktop, "Load Message" makes that file the
// backdrop. The handlers share their state through Module1 (module1.h); the window's
// position comes from and goes to the preferences file (app/prefmodule.h).

#include "framework/coveragelayer.h"
#include "framework/window.h"

#include <QImage>

class Canvas;
class EditField;
class QLabel;
class QPainter;
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
    void InnocentText_TextChange();
    void SecretText_TextChange();
    void SavePNG_Action();
    void Canvas1_Paint(QPainter *g);
    void LoadPNG_Action();
    void ClearAll_Action();
    void Filter1_Paint(QPainter *g);
    void Filter1_MouseEnter();
    void Filter1_MouseExit();
    void Kagi1_Action();
    void FilterImage();
    bool revealShows() const;
    void composePicture(QImage &picture);

    CoverageLayer m_secretLayer;
    // What the reveal picture stands in for while it shows: a save writes this, never the
    // reveal.
    QImage m_backdropBeforeReveal;
};
