#pragma once

#include <QWidget>

// A control's designed place in its window's content area, in pixels.
struct Place
{
    int left, top, width, height;
};

template <class T> T *place(T *control, const char *name, const Place &at)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(at.left, at.top, at.width, at.height);
    return control;
}
