#include "framework/canvas.h"

#include <QPainter>

Canvas::Canvas(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void Canvas::setBackdrop(const QImage &picture)
{
    m_backdrop = picture;
    // A new backdrop shows without a refresh of its own.
    update();
}

void Canvas::refresh(bool immediately)
{
    if (immediately)
        repaint();
    else
        update();
}

void Canvas::paintEvent(QPaintEvent *)
{
    QPainter g(this);
    // Without a backdrop the canvas is transparent: what lies beneath shows through.
    if (!m_backdrop.isNull())
        g.drawImage(0, 0, m_backdrop);
    Q_EMIT paint(&g);
}

void Canvas::enterEvent(QEnterEvent *)
{
    Q_EMIT mouseEnter();
}

void Canvas::leaveEvent(QEvent *)
{
    Q_EMIT mouseExit();
}
