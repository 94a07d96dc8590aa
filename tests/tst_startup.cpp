#include "app/app.h"
#include "app/backgroundjpg.h"
#include "app/prefmodule.h"
#include "framework/canvas.h"
#include "framework/specialfolder.h"
#include "message/window1.h"
#include "tests/support/offscreenscreens.h"
#include "tests/support/prefs.h"
#include "tests/support/testhome.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <memory>

// Start-up: where the main window opens, and the background picture. This program runs from
// a folder of its own, so the Resources folder beside it is its to remove and fill. Its
// screens report no window frame, as X11 does before the window manager has framed a window.
class tst_startup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void opensWhereItsTitleBarShows_data();
    void opensWhereItsTitleBarShows();
    void backgroundIsWhiteWhereTheSecretIsRead();
    void startsWithoutBackgroundAndRetries();

private:
    TestHome m_home;
    QString m_shipped = QStringLiteral(TAVRELO_SOURCE_DIR "/Resources/backgroundjpg.jpg");
};

void tst_startup::initTestCase()
{
    QDir(SpecialFolder::Resources()).removeRecursively();
    QCOMPARE(QGuiApplication::screens().size(), 2);
}

void tst_startup::opensWhereItsTitleBarShows_data()
{
    QTest::addColumn<QPoint>("saved");
    QTest::addColumn<QPoint>("expected");

    // With no frame known, the window's own top row, just above the menu bar, stands in for
    // the title bar.
    App app;
    Window1 *window = Window1::instance();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const int above = window->content()->mapTo(window, QPoint(0, 0)).y();
    delete window;
    QTest::newRow("at the top edge") << QPoint(150, above) << QPoint(150, above);
    QTest::newRow("a row too high") << QPoint(150, above - 1) << QPoint(150, above);
    // The right screen starts 100 rows lower.
    QTest::newRow("across both screens") << QPoint(500, 100 + above) << QPoint(500, 100 + above);
    QTest::newRow("across both screens, above the right one")
        << QPoint(500, 99 + above) << QPoint(500, 99 + above);
    QTest::newRow("on the right screen") << QPoint(900, 100 + above) << QPoint(900, 100 + above);
    QTest::newRow("beside the right screen") << QPoint(900, above) << QPoint(900, 100 + above);
}

void tst_startup::opensWhereItsTitleBarShows()
{
    QFETCH(QPoint, saved);
    QFETCH(QPoint, expected);
    TestPrefs::resetGlobals();
    QVERIFY(TestPrefs::writeFile(TestPrefs::positionLine(saved.y(), saved.x())));

    App app;
    prefModule::loadPrefs();
    std::unique_ptr<Window1> window(Window1::instance());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->content()->mapToGlobal(QPoint(0, 0)), expected);
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

int main(int argc, char *argv[])
{
    // Two screens side by side, the right one 100 rows lower.
    return execOnScreens<tst_startup>(argc, argv, R"({"windowFrameMargins": false, "screens": [
        {"name": "left", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96,
         "logicalBaseDpi": 96, "dpr": 1},
        {"name": "right", "x": 800, "y": 100, "width": 800, "height": 600, "logicalDpi": 96,
         "logicalBaseDpi": 96, "dpr": 1}]})");
}
#include "tst_startup.moc"
