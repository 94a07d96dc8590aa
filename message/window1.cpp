#include "message/window1.h"

#include "app/backgroundjpg.h"
#include "app/menubars.h"
#include "app/prefmodule.h"
#include "framework/canvas.h"
#include "framework/designedcontrols.h"
#include "framework/editfield.h"
#include "framework/picturecapture.h"
#include "framework/pngfile.h"
#include "framework/rectangle.h"
#include "framework/services.h"
#include "framework/specialfolder.h"
#include "message/module1.h"
#include "message/revealpicture.h"

#include "buildinfo.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>

namespace {

QPointer<Window1> s_window;

constexpr int kWidth = 600;
constexpr int kHeight = 434;
const QLatin1String kMessageFile("My Message.png");
const QColor kSecretColor(254, 254, 254);

// The designed places, in the controls' creation order.
constexpr Place kInnocentText{20, 37, 560, 120};
constexpr Place kStaticText1{20, 16, 560, 20};
constexpr Place kSecretText{20, 181, 553, 25};
constexpr Place kStaticText2{20, 158, 406, 20};
constexpr Place kSavePNG{20, 226, 110, 20};
constexpr Place kCanvas1{20, 284, 560, 130};
constexpr Place kStaticText3{20, 260, 560, 20};
constexpr Place kLoadPNG{140, 226, 110, 20};
constexpr Place kClearAll{345, 226, 110, 20};
constexpr Place kRectangle1{260, 226, 75, 22};
constexpr Place kFilter1{0, 0, 75, 22}; // within Rectangle1, covering it exactly
constexpr Place kStaticText4{430, 158, 111, 20};
constexpr Place kNoSecretTxt{539, 158, 34, 20};
constexpr Place kKagi1{465, 225, 115, 20};

EditField *editField(QWidget *parent, const char *name, const Place &at)
{
    auto *field = place(new EditField(parent), name, at);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return field;
}

} // namespace

Window1 *Window1::instance()
{
    return windowInstance(s_window);
}

Window1 *Window1::openInstance()
{
    return openWindow(s_window);
}

Window1::Window1()
{
    Layout();
    CreateControls();
}

void Window1::Layout()
{
    setMenus(MenuBar1::instance());
    setWindowTitle(QStringLiteral("Tavrelo"));
    setMinimizeButton(true);
    setContentSize(kWidth, kHeight);
    QPalette palette = content()->palette();
    palette.setColor(QPalette::Window, Qt::white);
    content()->setPalette(palette);
}

void Window1::CreateControls()
{
    QWidget *area = content();

    InnocentText = editField(area, "InnocentText", kInnocentText);
    InnocentText->setMultiLine(true);
    InnocentText->setDesignedTextColor(Qt::black);
    InnocentText->setBackColor(Qt::white);
    connect(InnocentText, &EditField::textChange, this, &Window1::InnocentText_TextChange);

    StaticText1 = staticText(area, "StaticText1", kStaticText1, QStringLiteral("Plain Message"),
                             Qt::AlignHCenter | Qt::AlignVCenter, true);

    SecretText = editField(area, "SecretText", kSecretText);
    SecretText->setMultiLine(false);
    SecretText->setDesignedTextColor(kSecretColor);
    SecretText->setBackColor(Qt::black);
    SecretText->setLimitText(75);
    connect(SecretText, &EditField::textChange, this, &Window1::SecretText_TextChange);

    StaticText2 = staticText(area, "StaticText2", kStaticText2,
                             QStringLiteral("Tavrelo  (up to 75 characters)"),
                             Qt::AlignHCenter | Qt::AlignVCenter, true);
    SavePNG = pushButton(area, "SavePNG", kSavePNG, QStringLiteral("Save Message"));
    connect(SavePNG, &QPushButton::clicked, this, &Window1::SavePNG_Action);

    Canvas1 = place(new Canvas(area), "Canvas1", kCanvas1);
    Canvas1->setBackdrop(backgroundjpg());
    connect(Canvas1, &Canvas::paint, this, &Window1::Canvas1_Paint);

    StaticText3 = staticText(area, "StaticText3", kStaticText3,
                             QStringLiteral("Plain Message with Hidden Tavrelo"),
                             Qt::AlignHCenter | Qt::AlignVCenter, true);
    LoadPNG = pushButton(area, "LoadPNG", kLoadPNG, QStringLiteral("Load Message"));
    connect(LoadPNG, &QPushButton::clicked, this, &Window1::LoadPNG_Action);
    ClearAll = pushButton(area, "ClearAll", kClearAll, QStringLiteral("Clear All"));
    connect(ClearAll, &QPushButton::clicked, this, &Window1::ClearAll_Action);

    Rectangle1 = place(new Rectangle(area), "Rectangle1", kRectangle1);
    Rectangle1->setFillColor(Qt::white);
    Rectangle1->setBorderWidth(1);
    Rectangle1->setTopLeftColor(Qt::black);
    Rectangle1->setBottomRightColor(Qt::black);

    Filter1 = place(new Canvas(Rectangle1), "Filter1", kFilter1);
    connect(Filter1, &Canvas::paint, this, &Window1::Filter1_Paint);
    connect(Filter1, &Canvas::mouseEnter, this, &Window1::Filter1_MouseEnter);
    connect(Filter1, &Canvas::mouseExit, this, &Window1::Filter1_MouseExit);

    StaticText4 = staticText(area, "StaticText4", kStaticText4, QStringLiteral("# of Characters:"),
                             Qt::AlignLeft | Qt::AlignVCenter, true);
    NoSecretTxt = staticText(area, "NoSecretTxt", kNoSecretTxt, QStringLiteral("0"),
                             Qt::AlignHCenter | Qt::AlignVCenter, true);

    Kagi1 = pushButton(area, "Kagi1", kKagi1, QStringLiteral("Support Brinmoor"));
    setDefaultButton(Kagi1);
    connect(Kagi1, &QPushButton::clicked, this, &Window1::Kagi1_Action);

    // Tab order by the designed tab indices; labels and canvases take no focus.
    QWidget::setTabOrder(InnocentText, SecretText);
    QWidget::setTabOrder(SecretText, SavePNG);
    QWidget::setTabOrder(SavePNG, LoadPNG);
    QWidget::setTabOrder(LoadPNG, ClearAll);
    QWidget::setTabOrder(ClearAll, Kagi1);

    fitTexts(area);
}

void Window1::Event_Open()
{
    // Applied as saved while the user can still grab the window there: a monitor since
    // unplugged, or a title bar above the top of the screen, would leave it out of reach.
    placeInReach(prefModule::Window1Left, prefModule::Window1Top);
}

void Window1::Event_Close()
{
    prefModule::savePrefs(this);
    if (Application *app = Application::instance())
        app->Quit(0);
}

void Window1::Kagi1_Action()
{
    ShowURL(QString::fromLatin1(BuildInfo::orderPage));
}

void Window1::InnocentText_TextChange()
{
    Module1::CopyBack = false;
    Canvas1->refresh(true);
}

void Window1::SecretText_TextChange()
{
    NoSecretTxt->setText(QString::number(EditField::characterCount(SecretText->text())));
    Canvas1->refresh(true);
}

void Window1::Canvas1_Paint(QPainter *g)
{
    if (Module1::CopyBack)
        return;
    // g ends with this paint: the printer kept in Module1 must not reach it afterwards.
    const auto releasePainter = qScopeGuard([] { Module1::stp.releasePainter(); });
    Module1::stp = InnocentText->styledTextPrinter(g, 520);
    Module1::stp.DrawBlock(20, 20, 560);
    Module1::stp = SecretText->styledTextPrinter(g, 560);
    if (Module1::stp.isEOF())
        return;
    // Through a coverage layer: a colour emoji font ignores the pen and would draw the secret
    // in plain sight; this way every pixel the secret touches takes the near-white colour.
    m_secretLayer.paint(g, QRect(QPoint(0, 0), Canvas1->size()), kSecretColor,
                        [this](QPainter *layer) {
                            // Local: the layer's painter ends with this call.
                            StyledTextPrinter secret = SecretText->styledTextPrinter(layer, 560);
                            secret.DrawBlock(0, 0, 560);
                        });
}

void Window1::ClearAll_Action()
{
    InnocentText->setText(QString());
    SecretText->setText(QString());
    Canvas1->setBackdrop(backgroundjpg());
    Canvas1->refresh(true);
}

// "My Message.png" on the Desktop; empty when there is no Desktop folder, so that nothing is
// ever written or read somewhere else instead.
static QString messageFilePath()
{
    const QString desktop = SpecialFolder::Desktop();
    return QFileInfo(desktop).isDir() ? QDir(desktop).filePath(kMessageFile) : QString();
}

void Window1::SavePNG_Action()
{
    const QString path = messageFilePath();
    composePicture(Module1::P);
    const bool ok = !path.isEmpty() && PngFile::save(Module1::P, path);
    MsgBox(ok ? QStringLiteral("Message was saved!") : QStringLiteral("Save Failed!"));
}

void Window1::LoadPNG_Action()
{
    const QString path = messageFilePath();
    if (path.isEmpty())
        return;
    const QImage png = PngFile::load(path);
    if (png.isNull())
        return;
    // Only the top-left corner ever shows; a larger picture need not be kept whole.
    Canvas1->setBackdrop(png.width() > kCanvas1.width || png.height() > kCanvas1.height
                             ? png.copy(0, 0, kCanvas1.width, kCanvas1.height)
                             : png);
}

void Window1::Filter1_Paint(QPainter *g)
{
    const QString label = QStringLiteral("See Secret");
    constexpr qreal kWrapWidth = 70;
    constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    QFont bold = g->font();
    bold.setBold(true);
    // Where the platform's bold face is wider than the design's, the label would wrap and
    // lose its second line below the box.
    const QFont font = fittedFont(bold, label, kWrapWidth, kFlags, g->device());
    g->setFont(font);
    // (5, 15) is the first line's baseline.
    const QFontMetricsF metrics(font, g->device());
    g->drawText(QRectF(5, 15 - metrics.ascent(), kWrapWidth, Filter1->height()), kFlags, label);
}

void Window1::Filter1_MouseEnter()
{
    FilterImage();
}

void Window1::Filter1_MouseExit()
{
    Module1::CopyBack = false;
    // A load or "Clear All" while the pointer rested on the box has already ended the reveal,
    // and the picture it put in place stays.
    if (revealShows())
        Canvas1->setBackdrop(backgroundjpg());
    Canvas1->refresh(true);
}

// Runs to its end without yielding to the event loop: a pointer leaving mid-reveal would
// otherwise restore the background first and then see the reveal picture set after it.
void Window1::FilterImage()
{
    // Enters don't come in pairs with leaves: a modal box closing under the pointer brings two.
    // Entered again, the reveal is built anew from the picture as composed, never from itself,
    // and the backdrop it stands in for stays the one the child chose.
    if (!revealShows())
        m_backdropBeforeReveal = Canvas1->backdrop();
    composePicture(Module1::MySnapshot);
    RevealPicture::build(Module1::MySnapshot, Module1::FilteredImage);
    Canvas1->setBackdrop(Module1::FilteredImage);
    // Repaint synchronously: CopyBack keeps the texts off this one paint only.
    Module1::CopyBack = true;
    Canvas1->refresh(true);
    Module1::CopyBack = false;
}

bool Window1::revealShows() const
{
    return !Module1::FilteredImage.isNull() &&
           Canvas1->backdrop().cacheKey() == Module1::FilteredImage.cacheKey();
}

// The picture area as composed, into picture: the backdrop with both texts over it. While the
// reveal shows, the area is rendered over the backdrop the reveal stands in for, and the
// screen keeps the reveal.
void Window1::composePicture(QImage &picture)
{
    if (!revealShows()) {
        capturePicture(content(), kCanvas1.rect(), picture);
        return;
    }
    QImage backdrop = m_backdropBeforeReveal;
    Canvas1->swapBackdrop(backdrop);
    capturePicture(content(), kCanvas1.rect(), picture);
    Canvas1->swapBackdrop(backdrop);
}
