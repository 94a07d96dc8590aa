#pragma once

#include <QColor>
#include <QImage>
#include <QList>

#include <memory>

class QPainter;
class QTextDocument;

// A laid-out copy of a field's styled text at one wrap width, with the extent of every line.
// Shared between a field's cache and the printers drawn from it, so a printer stays valid
// while the field goes on changing.
struct TextLayoutSnapshot
{
    struct Line
    {
        qreal top;
        qreal bottom;
    };

    QImage metrics; // the paint device the document is laid out for
    std::unique_ptr<QTextDocument> document;
    QList<Line> lines; // block by block, in the order of the document's blocks
    qreal wrapWidth = 0;
    QColor defaultColor;
    bool empty = true;

    ~TextLayoutSnapshot();
};

// Draws a styled text block by block: each DrawBlock draws, from where the printer stands,
// the whole lines that fit in the block's height, and advances past them. Every character
// keeps its own font and colour; characters without a colour of their own take the field's.
class StyledTextPrinter
{
public:
    StyledTextPrinter() = default;
    // The painter is borrowed for the printer's drawing; it must outlive every DrawBlock, or be
    // let go of with releasePainter before it ends.
    StyledTextPrinter(QPainter *g, std::shared_ptr<const TextLayoutSnapshot> layout);

    // Draws into the block whose top-left corner is (x, y), at most height tall. A single line
    // taller than the block is drawn anyway, so that printing always advances.
    void DrawBlock(qreal x, qreal y, qreal height);
    // Advances past the lines DrawBlock would draw in a block of that height, drawing nothing,
    // with or without a painter.
    void skipBlock(qreal height);
    // True once every line has been drawn; an empty text starts at its end.
    bool isEOF() const;

    // Lets go of the painter, whose paint is ending: later DrawBlocks draw nothing. The printer
    // keeps its text and where it stands.
    void releasePainter();
    bool hasPainter() const { return m_g != nullptr; }

private:
    // The last of the lines from where the printer stands that fit in height; only before EOF.
    qsizetype lastLineOfBlock(qreal height) const;

    QPainter *m_g = nullptr;
    std::shared_ptr<const TextLayoutSnapshot> m_layout;
    qsizetype m_next = 0;
};
