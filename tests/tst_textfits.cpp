#include "app/app.h"
#include "framework/designedcontrols.h"
#include "help/aboutbox.h"
#include "help/help.h"
#include "message/window1.h"
#include "tests/support/localhttpserver.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"
#include "update/selftest.h"
#include "update/updatewindow.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>

namespace {

// Opens a window as the program does and returns it.
using Opener = Window *(*)(App &);

// How a label makes room for a text wider than its box.
enum class Growth { ToTheRight, Fit };

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

} // namespace

Q_DECLARE_METATYPE(Opener)
Q_DECLARE_METATYPE(Growth)

// Every static text and push button shows its whole text in the font it is drawn in.
class tst_textfits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void everyTextShowsWhole_data();
    void everyTextShowsWhole();
    void grownLabelKeepsItsBaseline_data();
    void grownLabelKeepsItsBaseline();

private:
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
}

void tst_textfits::everyTextShowsWhole_data()
{
    QTest::addColumn<Opener>("open");

    QTest::newRow("Window1") << Opener([](App &) -> Window * {
        Window1 *window = Window1::instance();
        window->show();
        return window;
    });
    QTest::newRow("selfTest") << Opener([](App &app) -> Window * {
        app.dispatchMenu(QStringLiteral("CheckforUpdateCheckNow"), nullptr);
        return selfTest::openInstance();
    });
    QTest::newRow("updateWindow") << Opener([](App &) -> Window * {
        updateWindow *window = updateWindow::instance();
        window->show();
        return window;
    });
    QTest::newRow("Help") << Opener([](App &app) -> Window * {
        app.dispatchMenu(QStringLiteral("HelpShowHelp"), nullptr);
        return Help::openInstance();
    });
    QTest::newRow("AboutBox") << Opener([](App &app) -> Window * {
        app.dispatchMenu(QStringLiteral("HelpAboutBox"), nullptr);
        return AboutBox::openInstance();
    });
}

void tst_textfits::everyTextShowsWhole()
{
    QFETCH(Opener, open);
    Window *window = open(m_app);
    QVERIFY(window && window->isVisible());

    QStringList cut;
    int controls = 0;
    for (const QWidget *control : window->content()->findChildren<QWidget *>()) {
        if (!qobject_cast<const QLabel *>(control) && !qobject_cast<const QPushButton *>(control))
            continue;
        ++controls;
        if (const QString why = cutOff(control); !why.isEmpty())
            cut << why;
    }
    QVERIFY(controls > 0);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
}

void tst_textfits::grownLabelKeepsItsBaseline_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::Alignment>("align");
    QTest::addColumn<Growth>("growth");

    // Texts without descenders, so that the lowest inked row is the baseline.
    const QString fits = QStringLiteral("2.1.0 x64");
    const QString wider = QStringLiteral("2.1.0 Linux x86 64");
    const QString tooWide = QStringLiteral("2.1.0 Linux x86 64 RISC V");
    const Qt::Alignment right = Qt::AlignRight;
    QTest::newRow("fits") << fits << (right | Qt::AlignTop) << Growth::ToTheRight;
    QTest::newRow("wider") << wider << (right | Qt::AlignTop) << Growth::ToTheRight;
    QTest::newRow("wider, centred") << wider << (right | Qt::AlignVCenter) << Growth::ToTheRight;
    QTest::newRow("past its room") << tooWide << (right | Qt::AlignTop) << Growth::ToTheRight;
    QTest::newRow("past its room, centred")
        << tooWide << (right | Qt::AlignVCenter) << Growth::ToTheRight;
    QTest::newRow("right-aligned fits") << wider << (right | Qt::AlignVCenter) << Growth::Fit;
    QTest::newRow("left-aligned fits") << wider << (Qt::AlignLeft | Qt::AlignTop) << Growth::Fit;
    QTest::newRow("centred fits") << wider << (Qt::AlignHCenter | Qt::AlignBottom) << Growth::Fit;
}

// A version beside its caption, as in the about box.
void tst_textfits::grownLabelKeepsItsBaseline()
{
    QFETCH(QString, text);
    QFETCH(Qt::Alignment, align);
    QFETCH(Growth, growth);
    constexpr Place kCaption{10, 60, 53, 20};
    constexpr Place kValue{131, 60, 61, 20};
    constexpr int kRoom = 113;

    QWidget area;
    area.resize(264, 120);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(12);
    arial.setBold(true);
    QLabel *caption = staticText(&area, "caption", kCaption, QStringLiteral("Version:"),
                                 Qt::AlignLeft | (align & Qt::AlignVertical_Mask), true);
    caption->setFont(arial);
    QLabel *value = staticText(&area, "value", kValue, QString(), align, true);
    value->setFont(arial);
    value->setText(text);
    if (growth == Growth::ToTheRight)
        growToTheRight(value, kValue, kRoom);
    else
        fitToText(value, kValue);

    QVERIFY2(cutOff(value).isEmpty(), qPrintable(cutOff(value)));
    QCOMPARE(value->alignment(), align);
    const QRect at = value->geometry();
    if (growth == Growth::ToTheRight) {
        QCOMPARE(at.left(), kValue.left);
        QVERIFY(at.width() <= kRoom);
    } else if (align & Qt::AlignRight) {
        QCOMPARE(at.left() + at.width(), kValue.left + kValue.width);
    } else if (align & Qt::AlignLeft) {
        QCOMPARE(at.left(), kValue.left);
    } else {
        QVERIFY(qAbs(at.center().x() - kValue.rect().center().x()) <= 1);
    }
    // A smaller font may round its baseline to the next pixel.
    const QImage image = area.grab().toImage();
    const int expected = inkBottom(image, caption->geometry());
    QVERIFY(expected >= kCaption.top);
    QVERIFY2(qAbs(inkBottom(image, at) - expected) <= 1,
             qPrintable(QStringLiteral("baseline at %1, the caption's at %2")
                            .arg(inkBottom(image, at))
                            .arg(expected)));
}

QTEST_MAIN(tst_textfits)
#include "tst_textfits.moc"
