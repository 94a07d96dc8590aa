#include "help/help.h"

#include "app/menubars.h"
#include "framework/designedcontrols.h"
#include "framework/editfield.h"
#include "framework/menuitem.h"
#include "framework/services.h"

#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextCursor>

#include <array>

namespace {

QPointer<Help> s_window;

constexpr int kWidth = 350;
constexpr int kHeight = 251;

constexpr Place kEditField1{20, 19, 310, 212};
constexpr Place kPushButton1{452, 229, 10, 10};

// The help text, paragraph by paragraph. They are joined by two carriage returns, each of
// which becomes one block separator, so every character keeps the offset it has here.
constexpr std::array kParagraphs = {
    "Tavrelo was developed to be used by children in their play.",
    "A \"secret message\" can be \"hidden\" in a \"plain message\" to their friends.  The "
    "\"plain message\" should be chatty and look casual to the typical reader.  The Sender "
    "uses this application to prepare both messages; the Receiver uses this application "
    "to decode the \"secret message\".",
    "How to Use:",
    "The Sender opens the Tavrelo program and types the \"plain message\" into the top "
    "field.  As it is entered, the \"plain message\" is also shown in the bottom field.",
    "The Sender then tabs to or clicks on the \"secret message\" field and enters the "
    "\"secret message\" with up to 75 characters.",
    "The Sender can view the \"secret message\" by hovering the mouse over the \"See "
    "Secret\" box.",
    "The Sender then clicks on the \"Save Message\" button.  A file titled \"My "
    "Message.png\" is saved to the Desktop.",
    "The Sender then prepares an email to the friend, adds an introduction in the text "
    "area (e.g., Hey Bob,), adds a new empty line, drags the \"My Message.png\" file onto "
    "the email message text area, and sends the email.",
    "The Receiver opens the email from the friend and drags the message (image "
    "attachment) to the Desktop.",
    "The Receiver then opens the Tavrelo program and clicks on the \"Load Message\" "
    "button.  The \"plain message\" is seen in the bottom field.  When the Receiver hovers "
    "his mouse over the \"See Secret\" box, the \"secret message\" appears in the bottom "
    "field.  Note: the bottom field turns white when the mouse leaves the \"See Secret\" "
    "box.  To see the message again, the Receiver must click the \"Load Message\" button "
    "again and hover the mouse over the \"See Secret\" box.",
    "If the \"Clear All\" button is pressed, all fields are cleared.",
    "The position of the Tavrelo window is saved between sessions.",
};

QString helpText()
{
    QStringList paragraphs;
    for (const char *paragraph : kParagraphs)
        paragraphs.append(QString::fromLatin1(paragraph));
    return paragraphs.join(QLatin1String("\r\r"));
}

enum class Style { Bold, Italic, Red, Blue };

struct StyledRange
{
    int offset;
    int length;
    Style style;
};

// Applied in this order; the offsets are fixed to the text above.
constexpr std::array<StyledRange, 21> kStyles = {{
    {711, 10, Style::Bold},    // "See Secret", paragraph 6
    {760, 12, Style::Bold},    // "Save Message"
    {1222, 12, Style::Bold},   // "Load Message"
    {1340, 10, Style::Bold},   // "See Secret"
    {1470, 10, Style::Bold},   // "See Secret"
    {1543, 12, Style::Bold},   // "Load Message"
    {1600, 10, Style::Bold},   // "See Secret"
    {1626, 9, Style::Bold},    // "Clear All"
    {64, 14, Style::Italic},   // "secret message"
    {102, 13, Style::Italic},  // "plain message"
    {141, 13, Style::Italic},  // "plain message"
    {322, 14, Style::Italic},  // "secret message"
    {405, 13, Style::Italic},  // "plain message"
    {464, 13, Style::Italic},  // "plain message"
    {557, 14, Style::Italic},  // "secret message"
    {595, 14, Style::Italic},  // "secret message"
    {663, 14, Style::Italic},  // "secret message"
    {1250, 13, Style::Italic}, // "plain message"
    {1362, 14, Style::Italic}, // "secret message"
    {353, 701, Style::Red},    // the Sender's paragraphs 4 to 8
    {1056, 560, Style::Blue},  // the Receiver's paragraphs 9 and 10
}};

QTextCharFormat formatOf(Style style)
{
    QTextCharFormat format;
    switch (style) {
    case Style::Bold:
        format.setFontWeight(QFont::Bold);
        break;
    case Style::Italic:
        format.setFontItalic(true);
        break;
    case Style::Red:
        format.setForeground(QColor(255, 0, 0));
        break;
    case Style::Blue:
        format.setForeground(QColor(0, 0, 255));
        break;
    }
    return format;
}

} // namespace

Help *Help::instance()
{
    return windowInstance(s_window);
}

Help *Help::openInstance()
{
    return openWindow(s_window);
}

Help::Help()
{
    Layout();
    CreateControls();
    AddMenuHandlers();
}

void Help::Layout()
{
    setMenus(MenuBar2::instance());
    setWindowTitle(QStringLiteral("Help"));
    setContentSize(kWidth, kHeight);
}

void Help::CreateControls()
{
    CreateControls0();
}

void Help::CreateControls0()
{
    QWidget *area = content();

    EditField1 = place(new EditField(area), "EditField1", kEditField1);
    EditField1->setMultiLine(true);
    EditField1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    EditField1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EditField1->setDesignedTextColor(Qt::black);
    EditField1->setBackColor(Qt::white);
    EditField1->setText(helpText());
    EditField1->setReadOnly(true);

    PushButton1 = place(new QPushButton(area), "PushButton1", kPushButton1);
    PushButton1->setAutoDefault(false);
    connect(PushButton1, &QPushButton::clicked, this, &Help::PushButton1_Action);

    QWidget::setTabOrder(EditField1, PushButton1);
}

// The field's Open event comes as the window opens, once its controls exist.
void Help::Event_Open()
{
    EditField1_Open();
}

void Help::EditField1_Open()
{
    QTextCursor cursor = EditField1->textCursor();
    for (const StyledRange &range : kStyles) {
        cursor.setPosition(range.offset);
        cursor.setPosition(range.offset + range.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(formatOf(range.style));
    }
    cursor.setPosition(cursor.selectionStart());
    EditField1->setTextCursor(cursor);
}

void Help::showEvent(QShowEvent *event)
{
    Window::showEvent(event);
    // The field's own first show scrolled to the cursor at paragraph 9; the reader starts at
    // the top all the same.
    if (!m_shown) {
        m_shown = true;
        EditField1->verticalScrollBar()->setValue(0);
    }
}

void Help::PushButton1_Action()
{
    const QTextCursor cursor = EditField1->textCursor();
    const int start = cursor.selectionStart();
    const int length = cursor.selectionEnd() - start;
    MsgBox(QStringLiteral("Start: %1 Length: %2").arg(start).arg(length));
}

MenuItem *Help::EditSelectAll() const
{
    return menus()->lookup(QStringLiteral("EditSelectAll"));
}

MenuItem *Help::EditCopy() const
{
    return menus()->lookup(QStringLiteral("EditCopy"));
}

void Help::AddMenuHandlers()
{
    AddMenuHandler(QStringLiteral("EditCopy"), [this] { return EditCopy_Action(); });
    AddMenuHandler(QStringLiteral("EditSelectAll"), [this] { return EditSelectAll_Action(); });
}

// Both only enable their item: copying and selecting are the field's own standard Edit
// commands, which the framework serves first.
bool Help::EditCopy_Action()
{
    EditCopy()->setEnabled(true);
    return true;
}

bool Help::EditSelectAll_Action()
{
    EditSelectAll()->setEnabled(true);
    return true;
}
