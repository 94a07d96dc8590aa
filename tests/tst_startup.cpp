#include "app/app.h"
#include "app/backgroundjpg.h"
#include "framework/canvas.h"
#include "framework/specialfolder.h"
#include "message/window1.h"
#include "tests/support/testhome.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

// Start-up and the background picture. This program runs from a folder of its own, so the
// Resources folder beside it is its to remove and fill.
class tst_startup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void backgroundIsWhiteWhereTheSecretIsRead();
    void startsWithoutBackgroundAndRetries();

private:
    TestHome m_home;
    QString m_shipped = QStringLiteral(TAVRELO_SOURCE_DIR "/Resources/backgroundjpg.jpg");
};

void tst_startup::initTestCase()
{
    QDir(SpecialFolder::Resources()).removeRecursively();
}

void tst_startup::backgroundIsWhiteWhereTheSecretIsRead()
{
    const QImage picture = QImage(m_shipped).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.size(), QSize(560, 130));
    // The reveal blackens every pixel of rows 0-23 that is near-white but not white.
    for (int y = 0; y < 24; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = row[x];
            const bool nearWhite = qRed(p) >= 252 && qGreen(p) >= 252 && qBlue(p) >= 252;
            if (nearWhite && (p & 0xffffff) != 0xffffff)
                QFAIL(qPrintable(QStringLiteral("near-white pixel at %1,%2").arg(x).arg(y)));
        }
    }
}

void tst_startup::startsWithoutBackgroundAndRetries()
{
    QVERIFY(backgroundjpg().isNull());
    {
        App app;
        QTimer::singleShot(50, &app, [&app] {
            QVERIFY(Window1::openInstance());
            app.Quit();
        });
        QCOMPARE(app.run(), 0);
    }
    QVERIFY(!Window1::openInstance());

    App app;
    Window1 *window = Window1::instance();
    QVERIFY(window->Canvas1->backdrop().isNull());
    delete window;

    // Put in place later, the picture is picked up by the next call and then kept.
    QVERIFY(QDir().mkpath(SpecialFolder::Resources()));
    const QString installed =
        QDir(SpecialFolder::Resources()).filePath(QStringLiteral("backgroundjpg.jpg"));
    QVERIFY(QFile::copy(m_shipped, installed));
    const QImage loaded = backgroundjpg();
    QCOMPARE(loaded.size(), QSize(560, 130));
    QVERIFY(QFile::remove(installed));
    QCOMPARE(backgroundjpg().cacheKey(), loaded.cacheKey());
}

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
