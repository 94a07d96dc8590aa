#include "framework/coveragelayer.h"

#include "framework/resolution.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>

namespace {

// No early exit: the branch-free OR vectorises, and most rows are empty anyway.
bool isEmpty(const quint32 *pixel, int width)
{
    quint32 any = 0;
    for (int x = 0; x < width; ++x)
        any |= pixel[x];
    return any == 0;
}

bool rowIsEmpty(const QImage &layer, int y)
{
    return isEmpty(reinterpret_cast<const quint32 *>(layer.constScanLine(y)), layer.width());
}

} // namespace

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
    if (m_layer.size() != pixels || m_layer.devicePixelRatio() != ratio) {
        m_layer = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        m_layer.setDevicePixelRatio(ratio);
        m_usedRows = pixels.height();
    }
    setLogicalDpi(m_layer, metrics->logicalDpiX(), metrics->logicalDpiY());
    // Only the rows the last drawing reached still hold coverage.
    for (int y = 0; y < m_usedRows; ++y)
        std::fill_n(reinterpret_cast<quint32 *>(m_layer.scanLine(y)), m_layer.width(), 0u);

    {
        QPainter layer(&m_layer);
        layer.setRenderHints(g->renderHints());
        layer.setFont(g->font());
        layer.setPen(g->pen());
        layer.translate(-area.topLeft());
        draw(&layer);
    }
    m_usedRows = m_layer.height();
    while (m_usedRows > 0 && rowIsEmpty(m_layer, m_usedRows - 1))
        --m_usedRows;
    if (m_usedRows == 0)
        return;

    // Keep each pixel's coverage, drop its colour; then lay the used rows over g.
    const QRectF used(0, 0, area.width(), m_usedRows / ratio);
    {
        QPainter layer(&m_layer);
        layer.setCompositionMode(QPainter::CompositionMode_SourceIn);
        layer.fillRect(used, color);
    }
    g->drawImage(QRectF(QPointF(area.topLeft()), used.size()), m_layer,
                 QRectF(QPointF(0, 0), used.size() * ratio));
}
