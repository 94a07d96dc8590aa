#include "framework/designedcontrols.h"

#include <QFontMetrics>
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

QPushButton *pushButton(QWidget *parent, const char *name, const Place &at, const QString &text)
{
    auto *button = place(new QPushButton(text, parent), name, at);
    QFont font = button->font();
    font.setBold(true);
    // The designs were made for a narrower system font: rather than cut the caption off,
    // take the font down a little until it fits between the button's edges.
    const int room = at.width - 2 * kCaptionMargin;
    while (QFontMetrics(font).horizontalAdvance(text) > room && font.pointSizeF() > 6)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    button->setFont(font);
    button->setAutoDefault(false);
    return button;
}
