#include "framework/canvas.h"
#include "framework/editfield.h"
#include "framework/styledtextprinter.h"
#include "message/module1.h"
#include "message/window1.h"
#include "tests/support/messagewindow.h"
#include "tests/support/testhome.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTest>
#include <QTextDocument>

#include <memory>

// Drawing a block leaves out the lines the device cannot show; what it does show must be
// exactly what a device large enough for every line shows there. A printer whose paint has
// ended draws nothing more.
class tst_styledtextblock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanupTestCase();

    void smallDeviceShowsWhatALargeOneShows_data();
    void smallDeviceShowsWhatALargeOneShows();
    void laysOutForTheDevicesResolution_data();
    void laysOutForTheDevicesResolution();
    void drawsNothingOnceItLetsGoOfItsPainter();
    void mainWindowPaintLetsGoOfItsPainter_data();
    void mainWindowPaintLetsGoOfItsPainter();

private:
    TestHome m_home;
};

namespace {

QImage drawn(EditField &field, QSize size, const QTransform &transform, const QRect &clip)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter g(&picture);
    g.setTransform(transform);
    if (!clip.isNull())
        g.setClipRect(clip);
    StyledTextPrinter printer = field.styledTextPrinter(&g, 300);
    printer.DrawBlock(10, 15, 200);
    printer.DrawBlock(320, -40, 400); // the next lines, in a second column
    return picture;
}

} // namespace

void tst_styledtextblock::cleanupTestCase()
{
    if (Window1 *window = Window1::openInstance())
        window->close();
}

void tst_styledtextblock::smallDeviceShowsWhatALargeOneShows_data()
{
    QTest::addColumn<QTransform>("transform");
    QTest::addColumn<QRect>("clip");

    QTest::newRow("plain") << QTransform() << QRect();
    QTest::newRow("moved") << QTransform::fromTranslate(-150, -90) << QRect();
    QTest::newRow("moved down") << QTransform::fromTranslate(40, 60) << QRect();
    QTest::newRow("scaled") << QTransform::fromScale(1.7, 1.7) << QRect();
    QTest::newRow("scaled and moved") << QTransform(0.5, 0, 0, 0.5, -30, -20) << QRect();
    QTest::newRow("clipped") << QTransform() << QRect(50, 40, 100, 30);
}

void tst_styledtextblock::smallDeviceShowsWhatALargeOneShows()
{
    QFETCH(QTransform, transform);
    QFETCH(QRect, clip);

    EditField field;
    field.setText(
        QStringLiteral("Once upon a time there was a picture with a secret in it. ").repeated(12) +
        QStringLiteral("\nA second paragraph, also long enough to wrap. ").repeated(6));
    const QSize small(260, 140);
    const QImage reference = drawn(field, QSize(2000, 2000), transform, clip);
    QCOMPARE(drawn(field, small, transform, clip), reference.copy(QRect(QPoint(0, 0), small)));
}

void tst_styledtextblock::laysOutForTheDevicesResolution_data()
{
    QTest::addColumn<int>("dpi");
    QTest::newRow("screen") << QImage().logicalDpiY();
    QTest::newRow("72") << 72;
    QTest::newRow("300") << 300;
}

void tst_styledtextblock::laysOutForTheDevicesResolution()
{
    QFETCH(int, dpi);
    EditField field;
    field.setHtml(QStringLiteral("<p>Plain <b>bold</b> <span style='font-size:20pt'>large</span> "
                                 "and <i>italic</i> words, wrapped again and again.</p>")
                      .repeated(4));

    auto device = [dpi] {
        QImage picture(2400, 2400, QImage::Format_RGB32);
        picture.setDotsPerMeterX(qRound(dpi / 0.0254));
        picture.setDotsPerMeterY(qRound(dpi / 0.0254));
        picture.fill(Qt::white);
        return picture;
    };
    QImage printed = device();
    {
        QPainter g(&printed);
        StyledTextPrinter printer = field.styledTextPrinter(&g, 900);
        printer.DrawBlock(0, 0, 2400);
        QVERIFY(printer.isEOF());
    }

    // The same text laid out from the start for a device of that resolution.
    QImage expected = device();
    {
        std::unique_ptr<QTextDocument> doc(field.document()->clone());
        doc->documentLayout()->setPaintDevice(&expected);
        doc->setDocumentMargin(0);
        QTextOption option = doc->defaultTextOption();
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        doc->setDefaultTextOption(option);
        doc->setTextWidth(900);
        QPainter g(&expected);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&g, context);
    }
    QCOMPARE(printed, expected);
}

// The painter lives on the heap here, so a printer still holding it after it ends touches freed
// memory, which the sanitizer build reports.
void tst_styledtextblock::drawsNothingOnceItLetsGoOfItsPainter()
{
    EditField field;
    field.setText(QStringLiteral("A line of text.\n").repeated(20));
    QImage picture(400, 400, QImage::Format_RGB32);
    picture.fill(Qt::white);
    auto g = std::make_unique<QPainter>(&picture);
    StyledTextPrinter printer = field.styledTextPrinter(g.get(), 300);
    printer.DrawBlock(0, 0, 40);
    QVERIFY(printer.hasPainter());

    printer.releasePainter();
    g.reset();
    const QImage drawn = picture.copy();
    printer.DrawBlock(0, 100, 300);
    QVERIFY(!printer.hasPainter());
    QCOMPARE(picture, drawn);
    QVERIFY2(!printer.isEOF(), "the printer still stands after the first block");
}

void tst_styledtextblock::mainWindowPaintLetsGoOfItsPainter_data()
{
    QTest::addColumn<QString>("secret");
    QTest::newRow("no secret") << QString();
    QTest::newRow("a secret") << QStringLiteral("meet at noon");
}

// The main window keeps the printer of its last paint in Module1; that paint's painter is gone
// once the paint returns.
void tst_styledtextblock::mainWindowPaintLetsGoOfItsPainter()
{
    QFETCH(QString, secret);

    Window1 *window = MessageWindow::openFresh();
    window->InnocentText->setText(QStringLiteral("A plain message."));
    window->SecretText->setText(secret);
    window->Canvas1->refresh(true);
    QVERIFY(!Module1::stp.hasPainter());
    Module1::stp.DrawBlock(0, 0, 560);
}

QTEST_MAIN(tst_styledtextblock)
#include "tst_styledtextblock.moc"
