#include "framework/designedcontrols.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

// Room a push button's frame takes on either side of its caption.
constexpr int kCaptionMargin = 5;
// A fitted font goes no smaller, in points or pixels.
constexpr qreal kSmallestSize = 6;

// The label's widest line: a label breaks lines at line feeds.
QString widestLine(const QLabel *label)
{
    const QFontMetricsF metrics(label->font());
    const QStringList lines = label->text().split(u'\n');
    return *std::max_element(lines.cbegin(), lines.cend(), [&](const QString &a, const QString &b) {
        return metrics.horizontalAdvance(a) < metrics.horizontalAdvance(b);
    });
}

// How far below the label's top edge its first baseline lies, as its vertical alignment sets it.
qreal baseline(const QLabel *label)
{
    const QFontMetricsF metrics(label->font());
    const Qt::Alignment align = label->alignment();
    if (align & Qt::AlignBottom)
        return label->height() - metrics.descent();
    if (align & Qt::AlignVCenter)
        return (label->height() + metrics.ascent() - metrics.descent()) / 2;
    return metrics.ascent();
}

// Puts the label back in its designed box and gives the width its text needs there, at most
// room pixels. A text that room cannot hold takes a smaller font, and the label moves so
// that the text stays on its designed baseline.
int widthForText(QLabel *label, const Place &at, int room)
{
    label->setGeometry(at.rect());
    const QString line = widestLine(label);
    if (QFontMetricsF(label->font()).horizontalAdvance(line) > room) {
        const qreal designed = baseline(label);
        label->setFont(fittedFont(label->font(), line, room));
        label->move(at.left, at.top + qRound(designed - baseline(label)));
    }
    const int needed = qCeil(QFontMetricsF(label->font()).horizontalAdvance(line));
    return qMax(at.width, qMin(needed, room));
}

} // namespace

QLabel *staticText(QWidget *parent, const char *name, const Place &at, const QString &text,
                   Qt::Alignment align, bool bold)
{
    auto *label = place(new QLabel(text, parent), name, at);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(align);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    fitToText(label, at);
    return label;
}

void fitToText(QLabel *label, const Place &at)
{
    const int room = label->parentWidget()->width();
    const int width = widthForText(label, at, room);
    const int grown = width - at.width;
    const Qt::Alignment align = label->alignment();
    const int left = align & Qt::AlignRight     ? at.left - grown
                     : align & Qt::AlignHCenter ? at.left - grown / 2
                                                : at.left;
    label->setGeometry(std::clamp(left, 0, qMax(0, room - width)), label->y(), width, at.height);
}

void growToTheRight(QLabel *label, const Place &at, int room)
{
    label->resize(widthForText(label, at, room), at.height);
}

QFont fittedFont(QFont font, const QString &text, qreal room, const QPaintDevice *device)
{
    auto width = [&] {
        return device ? QFontMetricsF(font, device).horizontalAdvance(text)
                      : QFontMetricsF(font).horizontalAdvance(text);
    };
    const bool inPixels = font.pixelSize() > 0;
    while (width() > room) {
        if (inPixels && font.pixelSize() > kSmallestSize)
            font.setPixelSize(font.pixelSize() - 1);
        else if (!inPixels && font.pointSizeF() > kSmallestSize)
            font.setPointSizeF(font.pointSizeF() - 0.5);
        else
            break;
    }
    return font;
}

QPushButton *pushButton(QWidget *parent, const char *name, const Place &at, const QString &text)
{
    auto *button = place(new QPushButton(text, parent), name, at);
    QFont font = button->font();
    font.setBold(true);
    // Rather than cut the caption off, fit it between the button's edges.
    button->setFont(fittedFont(font, text, at.width - 2 * kCaptionMargin));
    button->setAutoDefault(false);
    return button;
}
