#include "framework/canvas.h"
#include "framework/editfield.h"
#include "message/module1.h"
#include "message/window1.h"
#include "tests/support/messagewindow.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>

using namespace MessageWindow;

// The message road on a screen of twice the pixel density: the picture stays 560 by 130 with
// the secret's channel values as drawn.
class tst_messagehidpi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captureSaveAndRevealAtDevicePixelRatioOne();

private:
    TestHome m_home;
    RecordingServices m_services;
};

void tst_messagehidpi::captureSaveAndRevealAtDevicePixelRatioOne()
{
    Window1 *window = openFresh();
    QCOMPARE(window->devicePixelRatio(), 2.0);
    window->InnocentText->setText(QStringLiteral("A plain and friendly note."));
    window->SecretText->setText(QStringLiteral("Secret at two"));

    const QImage picture = captured(window);
    QCOMPARE(picture.size(), QSize(560, 130));
    QCOMPARE(picture.devicePixelRatio(), 1.0);
    QVERIFY(count(picture, QRect(0, 0, 560, 24), [](QRgb p) { return p == qRgb(254, 254, 254); }) >
            20);

    QTest::mouseClick(window->SavePNG, Qt::LeftButton);
    QCOMPARE(m_services.messages, QStringList{kMessageSaved});
    const QImage file(QDir(m_home.desktop()).filePath(QStringLiteral("My Message.png")));
    QCOMPARE(file.size(), QSize(560, 130));
    QCOMPARE(file.convertToFormat(QImage::Format_RGB32), picture);

    enterSeeSecret(window);
    QCOMPARE(Module1::FilteredImage.size(), QSize(560, 130));
    QVERIFY(count(Module1::FilteredImage, QRect(0, 25, 560, 24), isBlack) > 20);
    window->close();
}

int main(int argc, char *argv[])
{
    // Before the application exists, as a desktop session would set it.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    tst_messagehidpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_messagehidpi.moc"
