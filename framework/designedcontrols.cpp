#include "framework/designedcontrols.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>

namespace {

// Room a push button's frame takes on either side of its caption.
constexpr int kCaptionMargin = 5;

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
    return label;
}

void growToTheRight(QLabel *label, const Place &at, int room)
{
    const int needed = label->fontMetrics().horizontalAdvance(label->text());
    if (needed <= at.width)
        return;
    label->resize(qMin(needed, room), at.height);
    if (needed > room) {
        label->setAlignment(Qt::AlignLeft | (label->alignment() & Qt::AlignVertical_Mask));
        label->setIndent(label->fontMetrics().horizontalAdvance(u' '));
    }
}

QFont fittedFont(QFont font, const QString &text, qreal room, const QPaintDevice *device)
{
    auto width = [&] {
        return device ? QFontMetricsF(font, device).horizontalAdvance(text)
                      : QFontMetricsF(font).horizontalAdvance(text);
    };
    while (font.pointSizeF() > 6 && width() > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
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
