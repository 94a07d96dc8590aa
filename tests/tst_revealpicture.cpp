#include "message/revealpicture.h"

#include <QTest>

// The reveal picture built from a capture: the classification of one pixel and where every
// pixel of the picture comes from.
class tst_revealpicture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void classifiesNearWhite_data();
    void classifiesNearWhite();
    void writesEveryPixelOfAReusedPicture();
    void readsSmallerCapturesAsWhite();
};

void tst_revealpicture::classifiesNearWhite_data()
{
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::addColumn<bool>("black");

    QTest::newRow("254 254 254 (the secret)") << 254 << 254 << 254 << true;
    QTest::newRow("252 252 252") << 252 << 252 << 252 << true;
    QTest::newRow("255 255 254") << 255 << 255 << 254 << true;
    QTest::newRow("252 255 255") << 252 << 255 << 255 << true;
    QTest::newRow("255 255 255 (white)") << 255 << 255 << 255 << false;
    QTest::newRow("251 255 255") << 251 << 255 << 255 << false;
    QTest::newRow("255 251 255") << 255 << 251 << 255 << false;
    QTest::newRow("255 255 251") << 255 << 255 << 251 << false;
    QTest::newRow("0 0 0 (the plain message)") << 0 << 0 << 0 << false;
    QTest::newRow("128 200 254") << 128 << 200 << 254 << false;
}

void tst_revealpicture::classifiesNearWhite()
{
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QFETCH(bool, black);
    QCOMPARE(RevealPicture::classify(qRgb(r, g, b)),
             black ? RevealPicture::kBlack : RevealPicture::kWhite);

    QImage capture(560, 130, QImage::Format_RGB32);
    capture.fill(qRgb(r, g, b));
    QImage picture;
    RevealPicture::build(capture, picture);
    QCOMPARE(picture.pixel(0, 25), black ? 0xff000000u : 0xffffffffu);
    QCOMPARE(picture.pixel(559, 48), black ? 0xff000000u : 0xffffffffu);
}

void tst_revealpicture::writesEveryPixelOfAReusedPicture()
{
    // Capture: a distinct near-white pattern in the top rows, near-white below the band too.
    QImage capture(560, 130, QImage::Format_RGB32);
    capture.fill(qRgb(254, 254, 254));
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 560; ++x)
            if ((x * 7 + y * 3) % 5 == 0)
                capture.setPixel(x, y, qRgb(255, 255, 255));

    // A picture left from an earlier reveal, in a colour neither black nor white.
    QImage picture(560, 130, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    const uchar *memory = picture.constBits();
    RevealPicture::build(capture, picture);
    QCOMPARE(picture.constBits(), memory);

    for (int y = 0; y < 130; ++y) {
        for (int x = 0; x < 560; ++x) {
            const QRgb expected =
                y >= 25 && y <= 48 && (x * 7 + (y - 25) * 3) % 5 != 0 ? 0xff000000u : 0xffffffffu;
            if (picture.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    }
}

void tst_revealpicture::readsSmallerCapturesAsWhite()
{
    QImage capture(100, 10, QImage::Format_ARGB32);
    capture.fill(qRgb(253, 253, 253));
    QImage picture;
    RevealPicture::build(capture, picture);
    QCOMPARE(picture.size(), QSize(560, 130));
    QCOMPARE(picture.pixel(99, 34), 0xff000000u);
    QCOMPARE(picture.pixel(100, 34), 0xffffffffu);
    QCOMPARE(picture.pixel(99, 35), 0xffffffffu);
}

QTEST_GUILESS_MAIN(tst_revealpicture)
#include "tst_revealpicture.moc"
