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

// Puts the control at its designed place and remembers that place: a label's text may grow
// only into room that no other control's designed place takes (fitTexts).
void setDesignedPlace(QWidget *control, const Place &at);
// The place setDesignedPlace gave the control; its geometry where it was given none.
QRect designedPlace(const QWidget *control);

// Names the control (tests and handlers find it by name) and puts it at its designed place.
template <class T> T *place(T *control, const char *name, const Place &at)
{
    control->setObjectName(QLatin1String(name));
    setDesignedPlace(control, at);
    return control;
}

// A static text in black, in the system font, bold where designed.
QLabel *staticText(QWidget *parent, const char *name, const Place &at, const QString &text,
                   Qt::Alignment align, bool bold);

// Gives a label the font its design names in place of the system font.
void setDesignedFont(QLabel *label, const QFont &font);

// Once all the controls of a window's content area stand at their designed places: fits every
// label's text (fitToText) and gives the push buttons one caption size, the system size where
// every caption fits between its button's edges, else the largest size at which all do. A row
// of buttons then reads evenly.
void fitTexts(QWidget *area);

// Makes the whole text of a label show. A text wider or taller than the label's designed place
// grows into room that no other control's designed place takes, within the window; of the gap
// between two labels each takes only its half. The label keeps the edge its text is aligned to
// (a centred one its centre where the room allows) and its first baseline. A text the room
// cannot hold takes the largest smaller font that fits. Call it again after changing the
// label's text.
void fitToText(QLabel *label);

// The font, taken down in half points (whole pixels for a pixel-sized font) until text, laid
// out with flags in a rectangle width pixels wide as QPainter::drawText lays it out on device
// (nullptr: the screen), stays on one line within that width. The designs were made for a
// narrower system font than most platforms have.
QFont fittedFont(QFont font, const QString &text, qreal width, int flags,
                 const QPaintDevice *device = nullptr);

// A push button in the bold system font. Return presses only the window's default button
// (Window::setDefaultButton), never whichever button has the focus.
QPushButton *pushButton(QWidget *parent, const char *name, const Place &at, const QString &text);
