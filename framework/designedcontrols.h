#pragma once

#include <QRect>
#include <QWidget>

class QLabel;
class QPushButton;

// A control's designed place in its window's content area, in pixels.
struct Place
{
    int left, top, width, height;

    constexpr QRect rect() const { return QRect(left, top, width, height); }
};

// Names the control (tests and handlers find it by name) and puts it at its designed place.
template <class T> T *place(T *control, const char *name, const Place &at)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(at.rect());
    return control;
}

// A static text in black, in the system font, bold where designed.
QLabel *staticText(QWidget *parent, const char *name, const Place &at, const QString &text,
                   Qt::Alignment align, bool bold);

// Gives a right-aligned label the width its text needs, growing to the right up to room
// pixels; what still does not fit is cut at its right end, never the left, so a version
// number always shows its start.
void growToTheRight(QLabel *label, const Place &at, int room);

// The font, taken down in half points until text fits in room pixels on device (nullptr:
// the screen). The designs were made for a narrower system font than most platforms have.
QFont fittedFont(QFont font, const QString &text, qreal room, const QPaintDevice *device = nullptr);

// A push button in the bold system font. Return presses only the window's default button
// (Window::setDefaultButton), never whichever button has the focus.
QPushButton *pushButton(QWidget *parent, const char *name, const Place &at, const QString &text);
