#pragma once

#include <QImage>

// Gives a picture the logical resolution of a device, so that text laid out for one lays out
// the same on the other (QImage keeps its resolution in dots per metre).
inline void setLogicalDpi(QImage &picture, int dpiX, int dpiY)
{
    constexpr double metresPerInch = 0.0254;
    picture.setDotsPerMeterX(qRound(dpiX / metresPerInch));
    picture.setDotsPerMeterY(qRound(dpiY / metresPerInch));
}
