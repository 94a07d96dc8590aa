#include "framework/styledtextprinter.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

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

void StyledTextPrinter::releasePainter()
{
    m_g = nullptr;
}

qsizetype StyledTextPrinter::lastLineOfBlock(qreal height) const
{
    const auto &lines = m_layout->lines;
    const qreal start = lines[m_next].top;
    qsizetype last = m_next;
    while (last + 1 < lines.size() && lines[last + 1].bottom - start <= height)
        ++last;
    return last;
}

void StyledTextPrinter::skipBlock(qreal height)
{
    if (!isEOF())
        m_next = lastLineOfBlock(height) + 1;
}

void StyledTextPrinter::DrawBlock(qreal x, qreal y, qreal height)
{
    if (isEOF() || !m_g)
        return;
    const auto &lines = m_layout->lines;
    const qsizetype first = m_next;
    const qreal start = lines[first].top;
    const qsizetype last = lastLineOfBlock(height);
    const qreal end = lines[last].bottom;
    m_next = last + 1;

    m_g->save();
    // The chosen lines' band of the document, moved to (x, y).
    m_g->translate(x, y - start);
    m_g->setClipRect(QRectF(-1e6, start, 2e6, end - start), Qt::IntersectClip);
    const QRectF visible = visibleRect(m_g);
    m_g->setPen(m_layout->defaultColor);
    // Line by line, not through the document's layout: given a clip, that draws the lines that
    // touch it and the line before it in a block as well. The painter's clip hides them, but a
    // PDF keeps them as text, and a search or a screen reader finds them twice.
    qsizetype index = 0;
    for (QTextBlock block = m_layout->document->begin(); block.isValid() && index <= last;
         block = block.next()) {
        const QTextLayout *layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i, ++index) {
            // Lines the device cannot show are left out, not merely clipped: a long text in a
            // short area would otherwise shape and rasterise every one of them.
            if (index < first || index > last || lines[index].bottom < visible.top() ||
                lines[index].top > visible.bottom())
                continue;
            layout->lineAt(i).draw(m_g, layout->position());
        }
    }
    m_g->restore();
}
