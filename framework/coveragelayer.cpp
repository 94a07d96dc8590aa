#include "framework/coveragelayer.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

void CoverageLayer::paint(QPainter *g, const QRect &area, const QColor &color,
                          const std::function<void(QPainter *)> &draw)
{
    if (area.isEmpty())
        return;
    // Metrics from g's device (a widget reports its screen's), pixel density from the device
    // the pixels land on: a widget rendered into a picture reports the screen's ratio.
    const QPaintDevice *metrics = g->device();
    const QPaintDevice *target = g->paintEngine() ? g->paintEngine()->paintDevice() : metrics;
    const qreal ratio = target ? target->devicePixelRatio() : 1.0;
    const QSize pixels = (QSizeF(area.size()) * ratio).toSize();
    if (m_layer.size() != pixels || m_layer.devicePixelRatio() != ratio)
        m_layer = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    m_layer.setDevicePixelRatio(ratio);
    m_layer.setDotsPerMeterX(qRound(metrics->logicalDpiX() / 0.0254));
    m_layer.setDotsPerMeterY(qRound(metrics->logicalDpiY() / 0.0254));
    m_layer.fill(Qt::transparent);
    {
        QPainter layer(&m_layer);
        layer.setRenderHints(g->renderHints());
        layer.setFont(g->font());
        layer.setPen(g->pen());
        layer.translate(-area.topLeft());
        draw(&layer);
        // Keep each pixel's coverage, drop its colour.
        layer.resetTransform();
        layer.setCompositionMode(QPainter::CompositionMode_SourceIn);
        layer.fillRect(QRect(QPoint(0, 0), area.size()), color);
    }
    g->drawImage(area.topLeft(), m_layer);
}
