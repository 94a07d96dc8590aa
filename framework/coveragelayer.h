#pragma once

#include <QColor>
#include <QImage>

#include <functional>

class QPainter;
class QRect;

// Paints a drawing in one flat colour: what the drawing touches is kept as coverage only and
// then filled with the colour, blended over what lies beneath. Colour glyphs (emoji fonts
// ignore the pen) come out in that colour like any other. The layer's pixels are kept for the
// next paint.
class CoverageLayer final
{
public:
    // draw paints, in g's coordinates, what falls within area; it is handed a painter of the
    // same resolution as g, and must not keep it.
    void paint(QPainter *g, const QRect &area, const QColor &color,
               const std::function<void(QPainter *)> &draw);

private:
    QImage m_layer;
    int m_usedRows = 0; // rows of m_layer that may hold coverage
};
