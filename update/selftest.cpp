#include "update/selftest.h"

#include "framework/application.h"
#include "framework/designedcontrols.h"
#include "update/updatewindow.h"

#include <QLabel>
#include <QPushButton>

namespace {

QPointer<selfTest> s_window;

constexpr int kWidth = 212;
constexpr int kHeight = 102;

// The designed places, in the controls' creation order.
constexpr Place kStaticText1{38, 20, 67, 20};
constexpr Place kStaticText2{105, 20, 70, 20};
constexpr Place kPushButton1{28, 61, 157, 21};

} // namespace

selfTest *selfTest::instance()
{
    return windowInstance(s_window);
}

selfTest *selfTest::openInstance()
{
    return openWindow(s_window);
}

selfTest::selfTest()
{
    Layout();
    CreateControls();
}

void selfTest::Layout()
{
    setWindowTitle(QStringLiteral("Self Test"));
    setContentSize(kWidth, kHeight);
}

void selfTest::CreateControls()
{
    CreateControls0();
}

void selfTest::CreateControls0()
{
    QWidget *area = content();

    StaticText1 = staticText(area, "StaticText1", kStaticText1, QStringLiteral("Version:"),
                             Qt::AlignRight | Qt::AlignVCenter, true);
    StaticText2 = staticText(area, "StaticText2", kStaticText2, QStringLiteral("2.1.0 Intel"),
                             Qt::AlignRight | Qt::AlignVCenter, false);

    PushButton1 =
        pushButton(area, "PushButton1", kPushButton1, QStringLiteral("Check for Updates"));
    setDefaultButton(PushButton1);
    connect(PushButton1, &QPushButton::clicked, this, &selfTest::PushButton1_Action);
    fitTexts(area);
}

void selfTest::Event_Open()
{
    StaticText2_Open();
}

void selfTest::StaticText2_Open()
{
    if (Application *app = Application::instance())
        StaticText2->setText(app->LongVersion());
    fitToText(StaticText2);
}

void selfTest::PushButton1_Action()
{
    // Opening the update window starts the check and closes this window, which may be gone
    // by the time showModal returns: only the accessor is asked afterwards.
    updateWindow::instance()->showModal();
    if (selfTest *window = openInstance())
        window->close();
}
