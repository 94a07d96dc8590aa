#include "framework/screenreach.h"
#include "tests/support/mainwindowframe.h"
#include "tests/support/offscreenscreens.h"
#include "tests/support/prefs.h"
#include "tests/support/testhome.h"

#include <QTest>

// Where the main window opens on an L-shaped pair of screens: a 1280 x 800 screen at 0, 400
// and a 1920 x 1200 screen at 1280, 0, so that the corner above the left one is on no screen.
// A saved position is kept while the title bar can be grabbed; otherwise the window moves the
// least distance that puts the whole title bar on the nearest screen. The rule itself is
// checked on areas laid out by hand as well.
class tst_placement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void opensInReach_data();
    void opensInReach();
    void titleBarReach_data();
    void titleBarReach();

private:
    TestHome m_home;
    MainWindowFrame m_frame;
};

void tst_placement::initTestCase()
{
    QCOMPARE(QGuiApplication::screens().size(), 2);
    m_frame = MainWindowFrame::measure();
    QVERIFY(m_frame.titleBar > 0);
}

void tst_placement::init()
{
    m_home.reset();
    TestPrefs::resetGlobals();
}

void tst_placement::opensInReach_data()
{
    QTest::addColumn<QByteArray>("prefs"); // null: no file
    QTest::addColumn<QPoint>("expected");
    const auto saved = TestPrefs::positionLine;
    const QMargins frame = m_frame.aroundContent;
    const int width = 600 + frame.left() + frame.right(); // of the title bar
    // Content tops that put the title bar's top at the top of each screen.
    const int lowerTop = 400 + frame.top();
    const int rightTop = frame.top();

    // The first start's 150, 150 and an empty file's 0, 0 lie in the corner on no screen.
    QTest::newRow("no file") << QByteArray() << QPoint(150, lowerTop);
    QTest::newRow("empty file") << QByteArray("") << QPoint(frame.left(), lowerTop);

    QTest::newRow("on the lower screen") << saved(600, 100) << QPoint(100, 600);
    QTest::newRow("on the right screen") << saved(100, 1500) << QPoint(1500, 100);
    // From the corner, the grab width of the title bar reaches onto the right screen.
    const int leftmost = 1280 + kGrabWidth - width + frame.left();
    QTest::newRow("grab width on the right screen")
        << saved(100, leftmost) << QPoint(leftmost, 100);
    // A column less, and the lower screen is nearer than the right one.
    QTest::newRow("a column less")
        << saved(100, leftmost - 1) << QPoint(1280 - width + frame.left(), lowerTop);
    QTest::newRow("title bar a row into the corner")
        << saved(lowerTop - 1, 100) << QPoint(100, lowerTop);
    QTest::newRow("above the right screen") << saved(rightTop - 50, 1500) << QPoint(1500, rightTop);
    // A monitor since unplugged, beyond the right screen's bottom right corner.
    QTest::newRow("screen gone") << saved(5000, 5000)
                                 << QPoint(3200 - width + frame.left(),
                                           1200 - m_frame.titleBar + frame.top());
}

void tst_placement::opensInReach()
{
    QFETCH(QByteArray, prefs);
    QFETCH(QPoint, expected);
    QCOMPARE(mainWindowOpensAt(prefs), expected);
}

void tst_placement::titleBarReach_data()
{
    QTest::addColumn<qint64>("left");
    QTest::addColumn<qint64>("top");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<QRect>>("areas");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QPoint>("movedTo");

    const QSize bar(600, 20);
    const QList<QRect> one{{0, 0, 1920, 1080}};
    QTest::newRow("on one screen") << qint64(100) << qint64(100) << bar << one << true << QPoint();
    QTest::newRow("a row above the top")
        << qint64(100) << qint64(-1) << bar << one << false << QPoint(100, 0);
    QTest::newRow("a row below the bottom")
        << qint64(100) << qint64(1061) << bar << one << false << QPoint(100, 1060);
    QTest::newRow("grab width at the left edge")
        << qint64(-500) << qint64(100) << bar << one << true << QPoint();
    QTest::newRow("a column less at the left edge")
        << qint64(-501) << qint64(100) << bar << one << false << QPoint(0, 100);
    // A title bar narrower than the grab width is needed whole.
    QTest::newRow("narrow title bar on the screen")
        << qint64(0) << qint64(100) << QSize(50, 20) << one << true << QPoint();
    QTest::newRow("narrow title bar a column off")
        << qint64(-1) << qint64(100) << QSize(50, 20) << one << false << QPoint(0, 100);
    QTest::newRow("lowest Int32") << qint64(INT_MIN) << qint64(INT_MIN) << bar << one << false
                                  << QPoint(0, 0);
    QTest::newRow("highest Int32")
        << qint64(INT_MAX) << qint64(INT_MAX) << bar << one << false << QPoint(1320, 1060);
    // Mirrored screens: the columns on both count once.
    QTest::newRow("the same area twice")
        << qint64(-550) << qint64(100) << bar
        << QList<QRect>{{0, 0, 1000, 1000}, {0, 0, 1000, 1000}} << false << QPoint(0, 100);

    // The screens together: a title bar across a seam can be grabbed there.
    const QList<QRect> stacked{{0, 0, 1920, 1080}, {0, 1080, 1920, 1080}};
    QTest::newRow("across a stacked seam")
        << qint64(100) << qint64(1070) << bar << stacked << true << QPoint();
    QTest::newRow("across a row between stacked screens")
        << qint64(100) << qint64(1070) << bar
        << QList<QRect>{{0, 0, 1920, 1080}, {0, 1081, 1920, 1080}} << false << QPoint(100, 1060);
    // The lower screen reaches further right than the upper one.
    const QList<QRect> offset{{0, 0, 1280, 1024}, {640, 1024, 1920, 1080}};
    QTest::newRow("grab width where the seam ends")
        << qint64(1180) << qint64(1014) << bar << offset << true << QPoint();
    QTest::newRow("a column less where the seam ends")
        << qint64(1181) << qint64(1014) << bar << offset << false << QPoint(1181, 1024);
    // 60 columns on each side of a vertical seam.
    QTest::newRow("across a side-by-side seam")
        << qint64(940) << qint64(100) << QSize(120, 20)
        << QList<QRect>{{0, 0, 1000, 1000}, {1000, 0, 1000, 1000}} << true << QPoint();
    QTest::newRow("across a side-by-side seam, a row above one screen")
        << qint64(940) << qint64(99) << QSize(120, 20)
        << QList<QRect>{{0, 0, 1000, 1000}, {1000, 100, 1000, 1000}} << false << QPoint(880, 99);
}

void tst_placement::titleBarReach()
{
    QFETCH(qint64, left);
    QFETCH(qint64, top);
    QFETCH(QSize, size);
    QFETCH(QList<QRect>, areas);
    QFETCH(bool, kept);
    QFETCH(QPoint, movedTo);
    const std::optional<QPoint> moved = reachableTitleBar(left, top, size, areas);
    QCOMPARE(!moved, kept);
    if (moved)
        QCOMPARE(*moved, movedTo);
}

int main(int argc, char *argv[])
{
    return execOnScreens<tst_placement>(argc, argv, R"({"screens": [
        {"name": "lower", "x": 0, "y": 400, "width": 1280, "height": 800, "logicalDpi": 96,
         "logicalBaseDpi": 96, "dpr": 1},
        {"name": "right", "x": 1280, "y": 0, "width": 1920, "height": 1200, "logicalDpi": 96,
         "logicalBaseDpi": 96, "dpr": 1}]})");
}
#include "tst_placement.moc"
