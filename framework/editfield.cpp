#include "framework/editfield.h"

#include "framework/resolution.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace {

// Where to cut the text that arrived in [start, end) so that excess code points go, at the start
// of a symbol as the reader sees it (a letter with its accents, a flag): never half of one.
// Cuts at start at the latest, which gives back the text as it was before.
int cutPosition(const QString &text, int start, int end, qsizetype excess)
{
    QTextBoundaryFinder symbols(QTextBoundaryFinder::Grapheme, text);
    symbols.setPosition(end);
    int from = end;
    while (from > start && EditField::characterCount(text.mid(from, end - from)) < excess)
        from = qMax(start, int(symbols.toPreviousBoundary()));
    return from;
}

// Every character that starts a new line in a text document, Qt's own block separators
// included, and the other breaks Unicode makes mandatory.
bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case 0x0085: // next line
    case QChar::LineSeparator:
    case QChar::ParagraphSeparator:
    case 0xfdd0: // QTextBeginningOfFrame
    case 0xfdd1: // QTextEndOfFrame
        return true;
    default:
        return false;
    }
}

bool hasLineBreak(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), isLineBreak);
}

// text on one line: each break a blank, CR LF one blank.
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    std::replace_if(text.begin(), text.end(), isLineBreak, QChar(u' '));
    return text;
}

// True when the key types its text, as the text control decides it: Ctrl (Cmd on macOS), with
// or without Shift, makes a shortcut of any key but for formatting marks.
bool typesText(const QKeyEvent &event)
{
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    const QChar first = text.at(0);
    if (first.category() == QChar::Other_Format)
        return true;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return false;
    return first.isPrint() || first.category() == QChar::Other_PrivateUse ||
           first.isHighSurrogate() || first == u'\t';
}

// True when text laid out for device takes the metrics it takes without one.
bool atDefaultResolution(QFont font, const QPaintDevice *device)
{
    font.setPointSizeF(100);
    return QFontMetricsF(font).height() == QFontMetricsF(font, device).height();
}

// Lays a copy of source out into layout, for a device of that resolution.
void layOut(const QTextDocument &source, int dpi, TextLayoutSnapshot &layout)
{
    layout.document.reset(source.clone());
    // Metrics of the target's resolution, from a device the snapshot owns.
    layout.metrics = QImage(1, 1, QImage::Format_RGB32);
    setLogicalDpi(layout.metrics, dpi, dpi);
    // Every setting before the layout exists: each change to a laid-out document lays the
    // whole of it out again, and a glyph's extents cost much for colour emoji fonts.
    QTextDocument *doc = layout.document.get();
    doc->setDocumentMargin(0);
    // The printer wraps at its own width, also for a field that shows one unwrapped line.
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc->setDefaultTextOption(option);
    doc->setTextWidth(layout.wrapWidth);
    // The snapshot never changes: keep each block's shaped glyphs, which a document layout
    // otherwise drops after laying the block out and shapes again at every paint.
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        block.layout()->setCacheEnabled(true);
    // Made here, the layout takes the default resolution; another one needs a new layout.
    doc->documentLayout()->setPaintDevice(&layout.metrics);
    if (!atDefaultResolution(doc->defaultFont(), &layout.metrics))
        doc->setDefaultTextOption(option);
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        doc->documentLayout()->blockBoundingRect(block); // lays the block out
        const QTextLayout *lines = block.layout();
        const qreal blockTop = lines->position().y();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            layout.lines.append({blockTop + line.y(), blockTop + line.y() + line.height()});
        }
    }
}

} // namespace

EditField::EditField(QWidget *parent)
    : QTextEdit(parent)
{
    setAcceptRichText(false);
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, &EditField::onContentsChange);
    connect(this, &QTextEdit::textChanged, this, &EditField::onTextChanged);
}

EditField::~EditField() = default;

qsizetype EditField::characterCount(const QString &text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()))
            ++count;
    }
    return count;
}

void EditField::setMultiLine(bool multiLine)
{
    m_multiLine = multiLine;
    setLineWrapMode(multiLine ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    setWordWrapMode(multiLine ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    if (!multiLine) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
}

void EditField::setDesignedTextColor(const QColor &color)
{
    m_textColor = color;
    QPalette p = palette();
    p.setColor(QPalette::Text, color);
    setPalette(p);
    ++m_revision;
}

void EditField::setBackColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

QString EditField::admitted(const QString &arrival) const
{
    QString taken = m_multiLine ? arrival : oneLine(arrival);
    if (m_limit <= 0)
        return taken;
    const QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const QString text = toPlainText();
    const QString after = text.left(start) + taken + text.mid(cursor.selectionEnd());
    const qsizetype excess = characterCount(after) - m_limit;
    if (excess > 0)
        taken.truncate(cutPosition(after, start, start + int(taken.size()), excess) - start);
    return taken;
}

void EditField::keyPressEvent(QKeyEvent *event)
{
    // One line: Return belongs to the window (its default button), not to the text.
    if (!m_multiLine && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        event->ignore();
        return;
    }
    // Typed text the field cannot take is changed before it arrives: cut afterwards, a key
    // would leave Undo only the cut to take back, and the text over the limit again.
    if (!isReadOnly() && typesText(*event)) {
        const QString typed = event->text();
        const QString taken = admitted(typed);
        if (taken != typed) {
            if (!taken.isEmpty()) {
                QKeyEvent fitted(event->type(), event->key(), event->modifiers(), taken,
                                 event->isAutoRepeat(), event->count());
                QTextEdit::keyPressEvent(&fitted);
            }
            event->accept();
            return;
        }
    }
    QTextEdit::keyPressEvent(event);
}

void EditField::inputMethodEvent(QInputMethodEvent *event)
{
    // What an input method commits past the limit is cut afterwards, within the input
    // method's own edit block, so that one Undo takes back the whole commit.
    if (m_multiLine || !hasLineBreak(event->commitString())) {
        QTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent commit(event->preeditString(), event->attributes());
    commit.setCommitString(oneLine(event->commitString()), event->replacementStart(),
                           event->replacementLength());
    QTextEdit::inputMethodEvent(&commit);
    event->setAccepted(commit.isAccepted());
}

bool EditField::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText() && !isReadOnly();
}

void EditField::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly())
        return;
    // A step of its own for Undo, not merged into the typing before it.
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.insertText(admitted(source->text()));
    cursor.endEditBlock();
    ensureCursorVisible();
}

void EditField::onContentsChange(int position, int, int added)
{
    m_changeStart = position;
    m_changeAdded = added;
    ++m_revision;
}

void EditField::setText(const QString &text)
{
    setPlainText(m_multiLine ? text : oneLine(text));
}

void EditField::onTextChanged()
{
    if (m_trimming)
        return;
    QString text = toPlainText();
    const qsizetype excess = m_limit > 0 ? characterCount(text) - m_limit : 0;
    if (excess > 0) {
        // Drop the surplus from the end of what just arrived, so the earlier text stays whole;
        // where nothing arrived, from the end of the text.
        int start = m_changeStart;
        int end = qBound(0, m_changeStart + m_changeAdded, int(text.size()));
        if (end <= start) {
            start = 0;
            end = int(text.size());
        }
        const int from = cutPosition(text, start, end, excess);
        m_trimming = true;
        QTextCursor cursor(document());
        cursor.joinPreviousEditBlock();
        cursor.setPosition(from);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        cursor.endEditBlock();
        m_trimming = false;
        text = toPlainText();
    }
    if (text != m_lastText) {
        m_lastText = text;
        Q_EMIT textChange();
    }
}

StyledTextPrinter EditField::styledTextPrinter(QPainter *g, qreal wrapWidth)
{
    const int dpi = g->device()->logicalDpiY();
    if (!m_layout || m_layoutRevision != m_revision || m_layout->wrapWidth != wrapWidth ||
        m_layoutDpi != dpi) {
        auto layout = std::make_shared<TextLayoutSnapshot>();
        layout->wrapWidth = wrapWidth;
        layout->defaultColor = m_textColor;
        layout->empty = document()->isEmpty();
        // An empty text draws nothing and needs no copy.
        if (!layout->empty)
            layOut(*document(), dpi, *layout);
        m_layout = std::move(layout);
        m_layoutRevision = m_revision;
        m_layoutDpi = dpi;
    }
    return StyledTextPrinter(g, m_layout);
}
