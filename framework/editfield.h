#pragma once

#include "framework/styledtextprinter.h"

#include <QColor>
#include <QTextEdit>

#include <memory>

// A styled text field, one line or many. Its text colour is the colour every character takes
// unless it carries one of its own; its limit counts characters (code points), whatever
// way they arrive: typed, pasted, dropped, set by code or inserted by an input method. What
// crosses the limit is cut before the whole symbol it belongs to, never inside a letter and its
// accents. A one-line field holds one line: every line or paragraph break arrives as a blank.
class EditField : public QTextEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EditField)

public:
    explicit EditField(QWidget *parent = nullptr);
    ~EditField() override;

    void setMultiLine(bool multiLine);
    bool isMultiLine() const { return m_multiLine; }

    // 0: no limit.
    void setLimitText(int characters) { m_limit = characters; }
    int limitText() const { return m_limit; }

    void setDesignedTextColor(const QColor &color);
    QColor designedTextColor() const { return m_textColor; }
    void setBackColor(const QColor &color);

    QString text() const { return toPlainText(); }
    void setText(const QString &text);

    // A printer over the whole styled text, wrapped at wrapWidth for drawing with g. The layout
    // is kept until the text, the width or the paint device's resolution changes.
    StyledTextPrinter styledTextPrinter(QPainter *g, qreal wrapWidth);

    static qsizetype characterCount(const QString &text);

Q_SIGNALS:
    // The text changed, by typing or by code.
    void textChange();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;

private:
    // What of arriving text the field takes in place of its selection: in a one-line field
    // every line break a blank, and no more than the limit leaves room for, in whole symbols.
    // What is refused never enters the text, so no Undo step holds it.
    QString admitted(const QString &arrival) const;
    void onContentsChange(int position, int removed, int added);
    void onTextChanged();

    bool m_multiLine = true;
    int m_limit = 0;
    QColor m_textColor = Qt::black;
    QString m_lastText;
    int m_changeStart = 0;
    int m_changeAdded = 0;
    bool m_trimming = false;
    quint64 m_revision = 0;
    std::shared_ptr<TextLayoutSnapshot> m_layout;
    quint64 m_layoutRevision = 0;
    int m_layoutDpi = 0;
};
