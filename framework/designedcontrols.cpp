#include "framework/designedcontrols.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QRegion>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

// Kept on the controls themselves, so that a window's controls are all a label needs to know
// to find its room.
constexpr char kDesignedPlace[] = "designedPlace";
constexpr char kDesignedFont[] = "designedFont";

// Room a push button's frame takes on either side of its caption.
constexpr int kCaptionMargin = 5;
// A fitted font goes no smaller, in points or pixels.
constexpr qreal kSmallestSize = 6;
// Wider and taller than any text of a window.
constexpr qreal kUnbounded = 1e6;

// Takes the font down half a point (a pixel for a pixel-sized font); false at the smallest size.
bool shrink(QFont &font)
{
    if (font.pixelSize() > 0) {
        if (font.pixelSize() <= kSmallestSize)
            return false;
        font.setPixelSize(font.pixelSize() - 1);
    } else {
        if (font.pointSizeF() <= kSmallestSize)
            return false;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    return true;
}

// The size text takes in font on the widget's device, each line on one line.
QSizeF textSize(const QWidget *widget, const QFont &font, const QString &text, int flags = 0)
{
    return QFontMetricsF(font, widget)
        .boundingRect(QRectF(0, 0, kUnbounded, kUnbounded), flags, text)
        .size();
}

QFont designedFont(const QLabel *label)
{
    const QVariant font = label->property(kDesignedFont);
    return font.isValid() ? font.value<QFont>() : label->font();
}

// How far below the top of its designed place the label's first baseline lies in font.
qreal firstBaseline(const QLabel *label, const QRect &own, const QFont &font)
{
    const qreal height = textSize(label, font, label->text()).height();
    const Qt::Alignment align = label->alignment();
    const qreal top = align & Qt::AlignBottom    ? own.height() - height
                      : align & Qt::AlignVCenter ? (own.height() - height) / 2
                                                 : 0;
    return top + QFontMetricsF(font, label).ascent();
}

// Another label may grow as well: of the gap between the two, it keeps the half nearer to it.
QRect withItsHalfOfTheGap(QRect other, const QRect &own)
{
    // QRect's right() and bottom() are its last pixels.
    if (const int gap = other.left() - own.right() - 1; gap > 0)
        other.setLeft(other.left() - (gap + 1) / 2);
    if (const int gap = own.left() - other.right() - 1; gap > 0)
        other.setRight(other.right() + (gap + 1) / 2);
    if (const int gap = other.top() - own.bottom() - 1; gap > 0)
        other.setTop(other.top() - (gap + 1) / 2);
    if (const int gap = own.top() - other.bottom() - 1; gap > 0)
        other.setBottom(other.bottom() + (gap + 1) / 2);
    return other;
}

// What a label's text must keep clear of, beyond its own designed place.
QList<QRect> takenAround(const QLabel *label, const QRect &own)
{
    QList<QRect> taken;
    const QWidget *area = label->parentWidget();
    for (const QWidget *other : area->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (other == label)
            continue;
        const QRect at = designedPlace(other);
        taken << (qobject_cast<const QLabel *>(other) ? withItsHalfOfTheGap(at, own) : at);
    }
    return taken;
}

// A label's text in font, laid out on its first baseline: its aligned edge where its designed
// place has it. A centred text keeps its centre unless its room is off-centre; it still covers
// the designed place.
QRect textBox(const QLabel *label, const QRect &own, const QFont &font, qreal baseline,
              const QList<QRect> &taken)
{
    const QSizeF size = textSize(label, font, label->text());
    const int width = qCeil(size.width());
    const int height = qCeil(size.height());
    const int top = own.top() + qRound(baseline - QFontMetricsF(font, label).ascent());
    const Qt::Alignment align =
        QStyle::visualAlignment(label->layoutDirection(), label->alignment());
    if (align & Qt::AlignRight)
        return QRect(own.right() + 1 - width, top, width, height);
    if (!(align & Qt::AlignHCenter))
        return QRect(own.left(), top, width, height);

    int left = own.left() + (own.width() - width) / 2;
    if (width > own.width()) {
        int lo = 0;
        int hi = label->parentWidget()->width();
        for (const QRect &other : taken) {
            if (other.bottom() < top || other.top() >= top + height)
                continue;
            if (other.center().x() < own.center().x())
                lo = qMax(lo, qMin(other.right() + 1, own.left()));
            else
                hi = qMin(hi, qMax(other.left(), own.right() + 1));
        }
        left = qMax(lo, qMin(left, hi - width));
    }
    return QRect(left, top, width, height);
}

// True when the label, spanning its designed place and box, stays in its window and grows
// only into room that nothing else takes.
bool fits(const QRect &box, const QRect &own, const QRect &window, const QList<QRect> &taken)
{
    const QRect span = own | box;
    if (!window.contains(span))
        return false;
    const QRegion grown = QRegion(span).subtracted(own);
    return std::none_of(taken.cbegin(), taken.cend(),
                        [&](const QRect &other) { return grown.intersects(other); });
}

// Where the style draws a button's caption, less the room its frame takes at the sides.
QSize captionRoom(const QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    if (button->isDefault())
        option.features |= QStyleOptionButton::DefaultButton;
    if (button->autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    const QRect contents =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return QSize(qMin(contents.width(), button->width() - 2 * kCaptionMargin), contents.height());
}

// Takes the buttons' fonts down together until every caption fits.
void shareCaptionSize(const QList<QPushButton *> &buttons)
{
    QList<QFont> fonts;
    QList<QSize> rooms;
    for (const QPushButton *button : buttons) {
        fonts << button->font();
        rooms << captionRoom(button);
    }
    auto allFit = [&] {
        for (qsizetype i = 0; i < buttons.size(); ++i) {
            const QSizeF size =
                textSize(buttons[i], fonts[i], buttons[i]->text(), Qt::TextShowMnemonic);
            if (size.width() > rooms[i].width() || size.height() > rooms[i].height())
                return false;
        }
        return true;
    };
    while (!allFit()) {
        bool smaller = false;
        for (QFont &font : fonts)
            smaller = shrink(font) || smaller;
        if (!smaller)
            break;
    }
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        if (buttons[i]->font() != fonts[i])
            buttons[i]->setFont(fonts[i]);
    }
}

} // namespace

void setDesignedPlace(QWidget *control, const Place &at)
{
    control->setGeometry(at.rect());
    control->setProperty(kDesignedPlace, at.rect());
}

QRect designedPlace(const QWidget *control)
{
    const QVariant at = control->property(kDesignedPlace);
    return at.isValid() ? at.toRect() : control->geometry();
}

QLabel *staticText(QWidget *parent, const char *name, const Place &at, const QString &text,
                   Qt::Alignment align, bool bold)
{
    auto *label = place(new QLabel(text, parent), name, at);
    QFont font = label->font();
    font.setBold(bold);
    setDesignedFont(label, font);
    label->setAlignment(align);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

void setDesignedFont(QLabel *label, const QFont &font)
{
    label->setProperty(kDesignedFont, font);
    label->setFont(font);
}

void fitTexts(QWidget *area)
{
    for (QLabel *label : area->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
        fitToText(label);
    shareCaptionSize(area->findChildren<QPushButton *>(Qt::FindDirectChildrenOnly));
}

void fitToText(QLabel *label)
{
    const QRect own = designedPlace(label);
    const QRect window = label->parentWidget()->rect();
    const QList<QRect> taken = takenAround(label, own);
    const QFont designed = designedFont(label);
    const qreal baseline = firstBaseline(label, own, designed);
    QFont font = designed;
    QRect box = textBox(label, own, font, baseline, taken);
    while (!fits(box, own, window, taken) && shrink(font))
        box = textBox(label, own, font, baseline, taken);
    label->setFont(font);

    if (font == designed && own.united(box) == own) {
        label->setGeometry(own);
        label->setContentsMargins(0, 0, 0, 0);
        return;
    }
    // The label spans its designed place and its text, and its margins leave the text where
    // it was laid out, whatever the label's alignment. A text as wide as the designed place or
    // narrower keeps the designed width to be aligned in.
    const QRect span = own | box;
    QRect text = box;
    if (box.width() <= own.width()) {
        text.setLeft(own.left());
        text.setRight(own.right());
    }
    label->setGeometry(span);
    label->setContentsMargins(text.left() - span.left(), text.top() - span.top(),
                              span.right() - text.right(), span.bottom() - text.bottom());
}

QFont fittedFont(QFont font, const QString &text, qreal width, int flags,
                 const QPaintDevice *device)
{
    // Measured by the layout that draws it: its line breaking can find a text wider than the
    // sum of its advances, and wrap it.
    auto fits = [&] {
        const QFontMetricsF metrics = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
        const QSizeF laidOut =
            metrics.boundingRect(QRectF(0, 0, width, kUnbounded), flags, text).size();
        const qreal oneLine =
            metrics.boundingRect(QRectF(0, 0, kUnbounded, kUnbounded), flags, text).height();
        return laidOut.width() <= width && laidOut.height() <= oneLine;
    };
    while (!fits() && shrink(font)) {
    }
    return font;
}

QPushButton *pushButton(QWidget *parent, const char *name, const Place &at, const QString &text)
{
    auto *button = place(new QPushButton(text, parent), name, at);
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    button->setAutoDefault(false);
    return button;
}
