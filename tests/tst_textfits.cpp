#include "app/app.h"
#include "framework/designedcontrols.h"
#include "framework/editfield.h"
#include "framework/rectangle.h"
#include "help/aboutbox.h"
#include "help/help.h"
#include "message/window1.h"
#include "tests/support/localhttpserver.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"
#include "update/selftest.h"
#include "update/updatewindow.h"

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>

namespace {

// About a quarter wider than Arial, whose metrics Liberation Sans has.
const QString kWideFace = QStringLiteral("DejaVu Sans Mono");

// Opens a window as the program does and returns it.
using Opener = Window *(*)(App &);

// Where a control draws its text: a label within its contents less margin and indent, a
// push button within the style's contents rectangle for it.
QRectF textRect(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        QRectF rect = label->contentsRect();
        rect.adjust(label->margin(), label->margin(), -label->margin(), -label->margin());
        int indent = label->indent();
        if (indent < 0 && label->frameWidth() > 0)
            indent = label->fontMetrics().horizontalAdvance(u'x') / 2 - label->margin();
        if (indent > 0) {
            const Qt::Alignment align = label->alignment();
            rect.adjust(align & Qt::AlignLeft ? indent : 0, align & Qt::AlignTop ? indent : 0,
                        align & Qt::AlignRight ? -indent : 0,
                        align & Qt::AlignBottom ? -indent : 0);
        }
        return rect;
    }
    const auto *button = qobject_cast<const QPushButton *>(control);
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    if (button->isDefault())
        option.features |= QStyleOptionButton::DefaultButton;
    if (button->autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    if (button->isFlat())
        option.features |= QStyleOptionButton::Flat;
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
}

// The control's text with its size and the room it has, when the text does not show whole.
QString cutOff(const QWidget *control)
{
    const auto *label = qobject_cast<const QLabel *>(control);
    const QString text = label ? label->text() : qobject_cast<const QPushButton *>(control)->text();
    if (text.isEmpty())
        return QString();
    const QFontMetricsF metrics(control->font());
    const QStringList lines = text.split(u'\n');
    qreal width = 0;
    for (const QString &line : lines)
        width = qMax(width, metrics.horizontalAdvance(line));
    const QSizeF needed(width, lines.size() * metrics.height());
    const QRectF room = textRect(control);
    if (needed.width() <= room.width() && needed.height() <= room.height())
        return QString();
    return QStringLiteral("%1 \"%2\" (%3 %4 px): %5 x %6 px of text in %7 x %8 px")
        .arg(control->objectName(), QString(text).replace(u'\n', u'|'),
             QFontInfo(control->font()).family())
        .arg(QFontInfo(control->font()).pixelSize())
        .arg(needed.width())
        .arg(needed.height())
        .arg(room.width())
        .arg(room.height());
}

// Where a label or push button draws its text, in its parent's coordinates; empty for no text.
QRect drawnText(const QWidget *control)
{
    const auto *label = qobject_cast<const QLabel *>(control);
    const QString text = label ? label->text() : qobject_cast<const QPushButton *>(control)->text();
    if (text.isEmpty())
        return QRect();
    // As QLabel and the style's push button label hand the text to the style.
    const int flags =
        label ? int(QStyle::visualAlignment(label->layoutDirection(), label->alignment())) |
                    (label->wordWrap() ? Qt::TextWordWrap : 0)
              : Qt::AlignCenter | Qt::TextShowMnemonic;
    const QRect box = control->style()->itemTextRect(
        control->fontMetrics(), textRect(control).toRect(), flags, control->isEnabled(), text);
    return box.translated(control->pos());
}

// What of a control other texts must keep clear of: a label's text, any other control's frame.
QRect occupied(const QWidget *control)
{
    return qobject_cast<const QLabel *>(control) ? drawnText(control) : control->geometry();
}

bool showsText(const QWidget *control)
{
    return qobject_cast<const QLabel *>(control) || qobject_cast<const QPushButton *>(control);
}

QString describe(const QWidget *control, const QRect &box)
{
    return QStringLiteral("%1 [%2,%3 %4x%5]")
        .arg(control->objectName())
        .arg(box.x())
        .arg(box.y())
        .arg(box.width())
        .arg(box.height());
}

// The lowest row of rect in image that holds ink: the baseline of a text without descenders.
int inkBottom(const QImage &image, const QRect &rect)
{
    for (int y = rect.bottom(); y >= rect.top(); --y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                return y;
        }
    }
    return -1;
}

// The system fonts of common desktops at the sizes users pick, sans and serif. "Arial" is
// mapped to a face a quarter wider, as a desktop without Arial may map it: the system font and
// the texts designed in Arial widen together.
QList<std::pair<const char *, int>> systemFonts()
{
    QList<std::pair<const char *, int>> fonts;
    for (const char *family : {"DejaVu Sans", "Liberation Sans", "Arial"}) {
        for (int points = 8; points <= 14; ++points)
            fonts.append({family, points});
    }
    for (const char *family : {"Liberation Serif", "DejaVu Serif"}) {
        for (int points = 8; points <= 18; ++points)
            fonts.append({family, points});
    }
    return fonts;
}

// Makes family at points the system font, "Arial" standing for the wider face.
bool setSystemFont(const QString &family, int points)
{
    if (family == u"Arial")
        QFont::insertSubstitution(family, kWideFace);
    QFont system(family);
    system.setPointSize(points);
    QApplication::setFont(system);
    return QFontInfo(system).family() == (family == u"Arial" ? kWideFace : family);
}

} // namespace

Q_DECLARE_METATYPE(Opener)

// Every static text and push button shows its whole text, clear of the other controls, at any
// common system font.
class tst_textfits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void textsShowWholeAndApart_data();
    void textsShowWholeAndApart();
    void labelGrowsOnlyIntoFreeRoom_data();
    void labelGrowsOnlyIntoFreeRoom();
    void seeSecretShowsWhole_data();
    void seeSecretShowsWhole();

private:
    const QFont m_systemFont = QApplication::font();
    TestHome m_home;
    RecordingServices m_person;
    LocalHttpServer m_server;
    App m_app;
};

void tst_textfits::initTestCase()
{
    // The update window's request waits for an answer that never comes.
    m_server.after = LocalHttpServer::After::Hold;
    updateWindow::setManifestAddress(m_server.address());
}

void tst_textfits::cleanup()
{
    // Closing the main window would quit the application.
    delete Window1::openInstance();
    for (Window *window :
         std::initializer_list<Window *>{selfTest::openInstance(), updateWindow::openInstance(),
                                         Help::openInstance(), AboutBox::openInstance()}) {
        if (window)
            window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::setFont(m_systemFont);
    QFont::removeSubstitutions(QStringLiteral("Arial"));
}

void tst_textfits::textsShowWholeAndApart_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    QTest::addColumn<Opener>("open");

    const std::initializer_list<std::pair<const char *, Opener>> windows = {
        {"Window1",
         [](App &) -> Window * {
             Window1 *window = Window1::instance();
             window->show();
             // A two-digit count beside "# of Characters:".
             window->SecretText->setText(QString(75, u'x'));
             return window;
         }},
        {"selfTest",
         [](App &app) -> Window * {
             app.dispatchMenu(QStringLiteral("CheckforUpdateCheckNow"), nullptr);
             return selfTest::openInstance();
         }},
        {"updateWindow",
         [](App &) -> Window * {
             updateWindow *window = updateWindow::instance();
             window->show();
             return window;
         }},
        {"Help",
         [](App &app) -> Window * {
             app.dispatchMenu(QStringLiteral("HelpShowHelp"), nullptr);
             return Help::openInstance();
         }},
        {"AboutBox",
         [](App &app) -> Window * {
             app.dispatchMenu(QStringLiteral("HelpAboutBox"), nullptr);
             return AboutBox::openInstance();
         }},
    };
    for (const auto &[family, points] : systemFonts()) {
        for (const auto &[name, open] : windows)
            QTest::addRow("%s %d pt, %s", family, points, name)
                << QString::fromLatin1(family) << points << open;
    }
}

// At any common system font, every text in every window shows whole and apart from the other
// controls, every control stays inside its window, and the push buttons of a window share
// one caption size.
void tst_textfits::textsShowWholeAndApart()
{
    QFETCH(QString, family);
    QFETCH(int, points);
    QFETCH(Opener, open);

    QVERIFY(setSystemFont(family, points));
    Window *window = open(m_app);
    QVERIFY(window && window->isVisible());

    const QWidget *area = window->content();
    const QList<QWidget *> controls = area->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QStringList faults;
    QList<qreal> captionSizes;
    for (const QWidget *control : controls) {
        // Help's hidden button stands wholly beyond the window's right edge, by design.
        const QRect at = control->geometry();
        if (!area->rect().contains(at) && area->rect().intersects(at))
            faults << describe(control, at) + QStringLiteral(" leaves the window");
        if (!showsText(control))
            continue;
        if (const QString why = cutOff(control); !why.isEmpty())
            faults << why;
        const QRect text = drawnText(control);
        for (const QWidget *other : controls) {
            if (other != control && text.intersects(occupied(other)))
                faults << describe(control, text) + QStringLiteral(" runs into ") +
                              describe(other, occupied(other));
        }
        if (qobject_cast<const QPushButton *>(control))
            captionSizes << control->font().pointSizeF();
    }
    QVERIFY(!controls.isEmpty());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1String("; "))));
    // One size for the whole row, never larger than the system font's.
    for (qreal size : captionSizes) {
        QCOMPARE(size, captionSizes.first());
        QVERIFY(size <= points);
    }
}

void tst_textfits::labelGrowsOnlyIntoFreeRoom_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::Alignment>("align");
    QTest::addColumn<QRect>("neighbour"); // a push button's place; empty: none
    QTest::addColumn<bool>("smaller");

    // Texts without descenders, so that the lowest inked row is the baseline.
    const QString fits = QStringLiteral("2.1.0 x64");
    const QString longer = QStringLiteral("2.1.0 Linux x64");
    const QString wider = QStringLiteral("2.1.0 Linux x86 64");
    const QString tooWide = QStringLiteral("2.1.0 Linux x86 64 RISC V");
    const QRect none;
    const QRect atTheRight(196, 20, 60, 20);
    const QRect nearRight(200, 20, 60, 20);
    QTest::newRow("fits") << fits << (Qt::AlignRight | Qt::AlignTop) << none << false;
    QTest::newRow("left-aligned, room at the right")
        << wider << (Qt::AlignLeft | Qt::AlignTop) << none << false;
    QTest::newRow("left-aligned, past the window's edge")
        << tooWide << (Qt::AlignLeft | Qt::AlignBottom) << none << true;
    QTest::newRow("left-aligned, a button at the right")
        << wider << (Qt::AlignLeft | Qt::AlignVCenter) << atTheRight << true;
    QTest::newRow("right-aligned, room at the left")
        << longer << (Qt::AlignRight | Qt::AlignVCenter) << none << false;
    QTest::newRow("right-aligned, its half of the gap to the caption too small")
        << tooWide << (Qt::AlignRight | Qt::AlignTop) << none << true;
    QTest::newRow("centred, room both ways")
        << wider << (Qt::AlignHCenter | Qt::AlignBottom) << none << false;
    QTest::newRow("centred, a button near at the right")
        << wider << (Qt::AlignHCenter | Qt::AlignVCenter) << nearRight << false;
    QTest::newRow("centred, past its room")
        << tooWide << (Qt::AlignHCenter | Qt::AlignVCenter) << atTheRight << true;
}

// A version beside its caption, as in the about box: the version's text grows only into room
// that neither the caption nor a button takes, keeps the edge it is aligned to (a centred one
// its centre where the room allows) and its baseline, and takes a smaller font only where the
// room is too small.
void tst_textfits::labelGrowsOnlyIntoFreeRoom()
{
    QFETCH(QString, text);
    QFETCH(Qt::Alignment, align);
    QFETCH(QRect, neighbour);
    QFETCH(bool, smaller);
    // The caption's text outgrows its place too: the two share the gap between them.
    constexpr Place kCaption{10, 20, 30, 20};
    constexpr Place kValue{131, 20, 61, 20};

    QWidget area;
    area.resize(264, 60);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(12);
    arial.setBold(true);
    QLabel *caption = staticText(&area, "caption", kCaption, QStringLiteral("Version:"),
                                 Qt::AlignLeft | (align & Qt::AlignVertical_Mask), true);
    setDesignedFont(caption, arial);
    QLabel *value = staticText(&area, "value", kValue, QStringLiteral("2.1.0 Intel"), align, true);
    setDesignedFont(value, arial);
    if (neighbour.isValid())
        pushButton(&area, "neighbour",
                   {neighbour.x(), neighbour.y(), neighbour.width(), neighbour.height()},
                   QStringLiteral("OK"));
    fitTexts(&area);
    value->setText(text);
    fitToText(value);

    QVERIFY2(cutOff(value).isEmpty(), qPrintable(cutOff(value)));
    QCOMPARE(value->alignment(), align);
    QCOMPARE(value->font().pixelSize() < arial.pixelSize(), smaller);
    const QRect drawn = drawnText(value);
    if (align & Qt::AlignLeft)
        QCOMPARE(drawn.left(), kValue.left);
    else if (align & Qt::AlignRight)
        QCOMPARE(drawn.right(), kValue.rect().right());
    else if (!neighbour.isValid())
        QVERIFY(qAbs(drawn.center().x() - kValue.rect().center().x()) <= 1);
    else
        QVERIFY(drawn.left() <= kValue.left && drawn.right() >= kValue.rect().right());
    QVERIFY(area.rect().contains(value->geometry()));
    for (const QWidget *other : area.findChildren<QWidget *>()) {
        if (other != value)
            QVERIFY2(!drawn.intersects(occupied(other)),
                     qPrintable(describe(value, drawn) + QStringLiteral(" runs into ") +
                                describe(other, occupied(other))));
    }
    if (QFontMetricsF(arial).horizontalAdvance(text) <= kValue.width)
        QCOMPARE(value->geometry(), kValue.rect());

    // A smaller font may round its baseline to the next pixel.
    const QImage image = area.grab().toImage();
    const int expected = inkBottom(image, caption->geometry());
    QVERIFY(expected >= kCaption.top);
    QVERIFY2(qAbs(inkBottom(image, value->geometry()) - expected) <= 1,
             qPrintable(QStringLiteral("baseline at %1, the caption's at %2")
                            .arg(inkBottom(image, value->geometry()))
                            .arg(expected)));
}

void tst_textfits::seeSecretShowsWhole_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    for (const auto &[family, points] : systemFonts())
        QTest::addRow("%s %d pt", family, points) << QString::fromLatin1(family) << points;
}

// "See Secret" is drawn into its 75 by 22 box, not laid out by a label: at any system font it
// shows on one line, both words, within the box's border, on its baseline 15.
void tst_textfits::seeSecretShowsWhole()
{
    QFETCH(QString, family);
    QFETCH(int, points);
    QVERIFY(setSystemFont(family, points));
    Window1 *window = Window1::instance();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    // The box as it shows: the white rectangle with its border, the label drawn over it.
    const QImage box = window->Rectangle1->grab().toImage();
    QCOMPARE(box.size(), QSize(75, 22));
    // Within the border, which is the rectangle's: ink touching it was cut by the box's edge.
    const QRect inside = box.rect().adjusted(1, 1, -1, -1);
    QRect ink;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ink |= qGray(box.pixel(x, y)) < 128 ? QRect(x, y, 1, 1) : QRect();
    QVERIFY2(inside.adjusted(1, 1, -1, -1).contains(ink),
             qPrintable(describe(window->Rectangle1, ink)));
    QCOMPARE(ink.bottom(), 14);
    // "See" alone, with "Secret" wrapped below the box, takes under a third of the 70 pixels
    // the label may use; both words take more than half of them.
    QVERIFY2(ink.width() > 35, qPrintable(describe(window->Rectangle1, ink)));
}

QTEST_MAIN(tst_textfits)
#include "tst_textfits.moc"
