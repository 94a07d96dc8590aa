#include "framework/styledtextprinter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

namespace {

// What g can still reach of its device, in g's current coordinates; generous where the
// transform makes it hard to say.
QRectF visibleRect(const QPainter *g)
{
    const QRectF unbounded(-1e6, -1e6, 2e6, 2e6);
    const QPaintDevice *device = g->device();
    bool invertible = false;
    const QTransform toLogical = g->combinedTransform().inverted(&invertible);
    if (!device || !invertible)
        return unbounded;
    // A device's size is in its own pixels, at least as large as its logical extent.
    QRectF visible = toLogical.mapRect(QRectF(0, 0, device->width(), device->height()));
    if (g->hasClipping())
        visible &= g->clipBoundingRect();
    return visible.adjusted(-1, -1, 1, 1);
}

} // namespace

TextLayoutSnapshot::~TextLayoutSnapshot() = default;

StyledTextPrinter::StyledTextPrinter(QPainter *g, std::shared_ptr<const TextLayoutSnapshot> layout)
    : m_g(g)
    , m_layout(std::move(layout))
{}

bool StyledTextPrinter::isEOF() const
{
    return !m_layout || m_layout->empty || m_next >= m_layout->lines.size();
}

void StyledTextPrinter::DrawBlock(qreal x, qreal y, qreal height)
{
    if (isEOF() || !m_g)
        return;
    const auto &lines = m_layout->lines;
    const qreal start = lines[m_next].top;
    qsizetype last = m_next;
    while (last + 1 < lines.size() && lines[last + 1].bottom - start <= height)
        ++last;
    const qreal end = lines[last].bottom;
    m_next = last + 1;

    // Only the chosen lines: clip to their band of the document, then move it to (x, y).
    const QRectF band(-1e6, start, 2e6, end - start);
    QAbstractTextDocumentLayout::PaintContext context;
    // Lines the device cannot show are left out of the drawing altogether, not merely clipped:
    // a long text in a short area would otherwise shape and rasterise every line of the block.
    context.clip = band & visibleRect(m_g).translated(-x, start - y);
    // An empty clip would mean no clip at all to the layout.
    if (context.clip.isEmpty())
        return;
    context.palette.setColor(QPalette::Text, m_layout->defaultColor);

    m_g->save();
    m_g->translate(x, y - start);
    m_g->setClipRect(band, Qt::IntersectClip);
    m_layout->document->documentLayout()->draw(m_g, context);
    m_g->restore();
}
