#include "framework/screenreach.h"
#include "tests/support/mainwindowframe.h"
#include "tests/support/offscreenscreens.h"
#include "tests/support/prefs.h"
#include "tests/support/testhome.h"

#include <QTest>

// Where the main window opens on one screen above another: a 1280 x 1024 screen at 0, 0 and
// a 1920 x 1080 screen at 640, 1024 below it, so that the seam between them runs from 640 to
// 1280. A title bar across the seam can be grabbed where both screens are, and stays there.
class tst_stackedscreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void opensInReach_data();
    void opensInReach();

private:
    TestHome m_home;
    MainWindowFrame m_frame;
};

void tst_stackedscreens::initTestCase()
{
    QCOMPARE(QGuiApplication::screens().size(), 2);
    m_frame = MainWindowFrame::measure();
    // Tall enough to lie across the seam.
    QVERIFY(m_frame.titleBar >= 2);
}

void tst_stackedscreens::init()
{
    m_home.reset();
    TestPrefs::resetGlobals();
}

void tst_stackedscreens::opensInReach_data()
{
    QTest::addColumn<QByteArray>("prefs");
    QTest::addColumn<QPoint>("expected");
    const auto saved = TestPrefs::positionLine;
    const QMargins frame = m_frame.aroundContent;
    const int width = 600 + frame.left() + frame.right(); // of the title bar
    const int height = m_frame.titleBar;
    // The content position of a title bar at x, y.
    const auto content = [&](int x, int y) { return QPoint(x + frame.left(), y + frame.top()); };
    // Title bar tops: across the seam, and just above and below it.
    const int across = 1024 - height / 2;
    const int above = 1024 - height;
    const int below = 1024;

    QTest::newRow("on the upper screen") << saved(300, 300) << QPoint(300, 300);
    const QPoint onSeam = content(650, across);
    QTest::newRow("across the seam") << saved(onSeam.y(), onSeam.x()) << onSeam;
    // Where the seam ends at the upper screen's right edge.
    const QPoint rightmost = content(1280 - kGrabWidth, across);
    QTest::newRow("grab width where the seam ends on the right")
        << saved(rightmost.y(), rightmost.x()) << rightmost;
    QTest::newRow("a column less on the right")
        << saved(rightmost.y(), rightmost.x() + 1) << content(1280 - kGrabWidth + 1, below);
    // Where the seam ends at the lower screen's left edge.
    const QPoint leftmost = content(640 + kGrabWidth - width, across);
    QTest::newRow("grab width where the seam ends on the left")
        << saved(leftmost.y(), leftmost.x()) << leftmost;
    QTest::newRow("a column less on the left")
        << saved(leftmost.y(), leftmost.x() - 1) << content(640 + kGrabWidth - width - 1, above);
}

void tst_stackedscreens::opensInReach()
{
    QFETCH(QByteArray, prefs);
    QFETCH(QPoint, expected);
    QCOMPARE(mainWindowOpensAt(prefs), expected);
}

int main(int argc, char *argv[])
{
    return execOnScreens<tst_stackedscreens>(argc, argv, R"({"screens": [
        {"name": "upper", "x": 0, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96,
         "logicalBaseDpi": 96, "dpr": 1},
        {"name": "lower", "x": 640, "y": 1024, "width": 1920, "height": 1080, "logicalDpi": 96,
         "logicalBaseDpi": 96, "dpr": 1}]})");
}
#include "tst_stackedscreens.moc"
