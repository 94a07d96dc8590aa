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

// A static text in black, in the system font, bold where designed, made wide enough for its
// text (fitToText).
QLabel *staticText(QWidget *parent, const char *name, const Place &at, const QString &text,
                   Qt::Alignment align, bool bold);

// Makes the whole text of a label show that is wider than its designed box: the label widens,
// keeping the edge its text is aligned to (a centred text keeps its centre), within its
// parent. Call it again after changing the label's font or text.
void fitToText(QLabel *label, const Place &at);

// The same for a label whose neighbour stands at its left, such as a version beside its
// caption: it keeps its designed left edge and widens to the right, up to room pixels.
void growToTheRight(QLabel *label, const Place &at, int room);

// The font, taken down in half points (whole pixels for a pixel-sized font) until text fits
// in room pixels on device (nullptr: the screen). The designs were made for a narrower system
// font than most platforms have.
QFont fittedFont(QFont font, const QString &text, qreal room, const QPaintDevice *device = nullptr);

// A push button in the bold system font. Return presses only the window's default button
// (Window::setDefaultButton), never whichever button has the focus.
QPushButton *pushButton(QWidget *parent, const char *name, const Place &at, const QString &text);
