#include "framework/picturecapture.h"

#include "framework/resolution.h"

#include <QRect>
#include <QRegion>
#include <QWidget>

QImage capturePicture(QWidget *widget, const QRect &area)
{
    QImage picture;
    capturePicture(widget, area, picture);
    return picture;
}

void capturePicture(QWidget *widget, const QRect &area, QImage &picture)
{
    if (picture.size() != area.size() || picture.format() != QImage::Format_RGB32 ||
        picture.devicePixelRatio() != 1.0)
        picture = QImage(area.size(), QImage::Format_RGB32);
    setLogicalDpi(picture, widget->logicalDpiX(), widget->logicalDpiY());
    // Whatever the window leaves unpainted (a widget without a background of its own) would
    // otherwise show the last capture.
    picture.fill(Qt::white);

    // From the top-level window, so that the window's background and any sibling lying over
    // the rectangle come out as the window shows them.
    QWidget *window = widget->window();
    const QRect source(widget->mapTo(window, area.topLeft()), area.size());
    window->render(&picture, QPoint(), QRegion(source),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
}
