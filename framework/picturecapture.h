#pragma once

#include <QImage>

class QRect;
class QWidget;

// What a window shows in one rectangle of a widget, as a picture of exactly that many pixels
// (device pixel ratio 1, RGB32), rendered from the window's own widgets rather than read from
// the screen: no other application's window, colour management or screen scaling gets in.
// The picture is laid out at the widget's logical resolution, so text takes the same metrics
// as on screen.
QImage capturePicture(QWidget *widget, const QRect &area);

// The same into picture, reusing its pixels when it is of the right size and not shared.
void capturePicture(QWidget *widget, const QRect &area, QImage &picture);
