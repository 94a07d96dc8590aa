#include "framework/styledtextprinter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

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
    context.clip = band;
    context.palette.setColor(QPalette::Text, m_layout->defaultColor);

    m_g->save();
    m_g->translate(x, y - start);
    m_g->setClipRect(band, Qt::IntersectClip);
    m_layout->document->documentLayout()->draw(m_g, context);
    m_g->restore();
}
