#include "framework/rectangle.h"

#include <QPainter>

Rectangle::Rectangle(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void Rectangle::paintEvent(QPaintEvent *)
{
    QPainter g(this);
    const int w = width();
    const int h = height();
    const int b = m_borderWidth;
    g.fillRect(rect(), m_fill);
    g.fillRect(0, 0, w, b, m_topLeft);
    g.fillRect(0, 0, b, h, m_topLeft);
    g.fillRect(0, h - b, w, b, m_bottomRight);
    g.fillRect(w - b, 0, b, h, m_bottomRight);
}
