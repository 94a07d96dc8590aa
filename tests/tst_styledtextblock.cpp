#include "framework/editfield.h"
#include "framework/styledtextprinter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTest>
#include <QTextDocument>

// Drawing a block leaves out the lines the device cannot show; what it does show must be
// exactly what a device large enough for every line shows there.
class tst_StyledTextBlock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void smallDeviceShowsWhatALargeOneShows_data();
    void smallDeviceShowsWhatALargeOneShows();
    void laysOutForTheDevicesResolution_data();
    void laysOutForTheDevicesResolution();
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

void tst_StyledTextBlock::smallDeviceShowsWhatALargeOneShows_data()
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

void tst_StyledTextBlock::smallDeviceShowsWhatALargeOneShows()
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

void tst_StyledTextBlock::laysOutForTheDevicesResolution_data()
{
    QTest::addColumn<int>("dpi");
    QTest::newRow("screen") << QImage().logicalDpiY();
    QTest::newRow("72") << 72;
    QTest::newRow("300") << 300;
}

void tst_StyledTextBlock::laysOutForTheDevicesResolution()
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

QTEST_MAIN(tst_StyledTextBlock)
#include "tst_styledtextblock.moc"
