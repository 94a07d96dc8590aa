#include "help/aboutbox.h"

#include "framework/designedcontrols.h"
#include "framework/services.h"

#include "buildinfo.h"

#include <QLabel>
#include <QPushButton>

namespace {

QPointer<AboutBox> s_window;

constexpr int kWidth = 264;
constexpr int kHeight = 258;

// The designed places, in the controls' creation order.
constexpr Place kPushButton1{72, 180, 120, 21};
constexpr Place kPushButton2{72, 217, 120, 21};
constexpr Place kStaticText2{80, 86, 104, 87};
constexpr Place kStaticText1{20, 20, 224, 45};
constexpr Place kStaticText3{72, 60, 53, 20};
constexpr Place kStaticText4{131, 60, 61, 20};

// The credits, one line per carriage return; the empty line parts the two credits.
const char kCredits[] = "Developed by\rCorvane\r\rSr. Beta Tester\rDelmoth";

// family empty: the system font at its standard size. Sizes are pixels, as designed.
QLabel *aboutText(QWidget *parent, const char *name, const Place &at, const QString &text,
                  const QString &family, int pixelSize, bool bold, Qt::Alignment align)
{
    QLabel *label = staticText(parent, name, at, text, align, bold);
    if (!family.isEmpty()) {
        QFont font = label->font();
        font.setFamily(family);
        font.setPixelSize(pixelSize);
        setDesignedFont(label, font);
    }
    return label;
}

} // namespace

AboutBox *AboutBox::instance()
{
    return windowInstance(s_window);
}

AboutBox *AboutBox::openInstance()
{
    return openWindow(s_window);
}

AboutBox::AboutBox()
{
    Layout();
    CreateControls();
}

void AboutBox::Layout()
{
    setWindowTitle(QStringLiteral("About..."));
    setContentSize(kWidth, kHeight);
}

void AboutBox::CreateControls()
{
    CreateControls0();
}

void AboutBox::CreateControls0()
{
    QWidget *area = content();
    const QString arial = QStringLiteral("Arial");

    PushButton1 = pushButton(area, "PushButton1", kPushButton1, QStringLiteral("Email Author"));
    connect(PushButton1, &QPushButton::clicked, this, &AboutBox::PushButton1_Action);
    PushButton2 = pushButton(area, "PushButton2", kPushButton2, QStringLiteral("Visit Web Site"));
    connect(PushButton2, &QPushButton::clicked, this, &AboutBox::PushButton2_Action);

    // A label breaks lines at line feeds only.
    StaticText2 = aboutText(area, "StaticText2", kStaticText2,
                            QString::fromLatin1(kCredits).replace(u'\r', u'\n'), QString(), 0,
                            false, Qt::AlignHCenter | Qt::AlignTop);
    StaticText2->setWordWrap(true);
    StaticText1 = aboutText(area, "StaticText1", kStaticText1, QStringLiteral("Tavrelo"), arial, 30,
                            true, Qt::AlignHCenter | Qt::AlignTop);
    StaticText3 = aboutText(area, "StaticText3", kStaticText3, QStringLiteral("Version:"), arial,
                            12, true, Qt::AlignLeft | Qt::AlignTop);
    StaticText4 = aboutText(area, "StaticText4", kStaticText4, QStringLiteral("2.1.0 Intel"), arial,
                            12, true, Qt::AlignRight | Qt::AlignTop);

    QWidget::setTabOrder(PushButton1, PushButton2);
    fitTexts(area);
}

// The label's Open event comes as the window opens, once its controls exist.
void AboutBox::Event_Open()
{
    StaticText4_Open();
}

void AboutBox::PushButton1_Action()
{
    ShowURL(QString::fromLatin1(BuildInfo::authorMail));
}

void AboutBox::PushButton2_Action()
{
    ShowURL(QString::fromLatin1(BuildInfo::webSite));
}

void AboutBox::StaticText4_Open()
{
    if (Application *app = Application::instance())
        StaticText4->setText(app->LongVersion());
    fitToText(StaticText4);
}
