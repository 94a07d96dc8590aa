#include "app/app.h"
#include "app/menubars.h"
#include "framework/editfield.h"
#include "help/help.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// The help text as the person reads it, paragraphs separated by two carriage returns.
constexpr char kHelpText[] =
    "Tavrelo was developed to be used by children in their play.\r\r"
    "A \"secret message\" can be \"hidden\" in a \"plain message\" to their friends.  The "
    "\"plain message\" should be chatty and look casual to the typical reader.  The Sender "
    "uses this application to prepare both messages; the Receiver uses this application to "
    "decode the \"secret message\".\r\r"
    "How to Use:\r\r"
    "The Sender opens the Tavrelo program and types the \"plain message\" into the top "
    "field.  As it is entered, the \"plain message\" is also shown in the bottom field.\r\r"
    "The Sender then tabs to or clicks on the \"secret message\" field and enters the "
    "\"secret message\" with up to 75 characters.\r\r"
    "The Sender can view the \"secret message\" by hovering the mouse over the \"See "
    "Secret\" box.\r\r"
    "The Sender then clicks on the \"Save Message\" button.  A file titled \"My "
    "Message.png\" is saved to the Desktop.\r\r"
    "The Sender then prepares an email to the friend, adds an introduction in the text area "
    "(e.g., Hey Bob,), adds a new empty line, drags the \"My Message.png\" file onto the "
    "email message text area, and sends the email.\r\r"
    "The Receiver opens the email from the friend and drags the message (image attachment) "
    "to the Desktop.\r\r"
    "The Receiver then opens the Tavrelo program and clicks on the \"Load Message\" button.  "
    "The \"plain message\" is seen in the bottom field.  When the Receiver hovers his mouse "
    "over the \"See Secret\" box, the \"secret message\" appears in the bottom field.  Note: "
    "the bottom field turns white when the mouse leaves the \"See Secret\" box.  To see the "
    "message again, the Receiver must click the \"Load Message\" button again and hover the "
    "mouse over the \"See Secret\" box.\r\r"
    "If the \"Clear All\" button is pressed, all fields are cleared.\r\r"
    "The position of the Tavrelo window is saved between sessions.";

// The format of the character at offset, block separators included: a block's own character
// format is that of the separator before it.
QTextCharFormat formatAt(const QTextDocument &document, int offset)
{
    const QTextBlock block = document.findBlock(offset);
    if (offset == block.position() + block.length() - 1)
        return block.next().charFormat();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().contains(offset))
            return it.fragment().charFormat();
    }
    return {};
}

QColor colourAt(const EditField &field, int offset)
{
    const QTextCharFormat format = formatAt(*field.document(), offset);
    return format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color()
                                                            : field.designedTextColor();
}

// The text as the field holds it, with its carriage returns.
QString textOf(const EditField &field)
{
    return field.text().replace(u'\n', u'\r');
}

void select(EditField *field, int start, int length)
{
    QTextCursor cursor = field->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    field->setTextCursor(cursor);
}

} // namespace

class tst_help : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void holdsTheHelpText();
    void opensAtTheTop();
    void keepsItsPlaceWhenShownAgain();
    void paragraphs_data();
    void paragraphs();
    void styledRanges_data();
    void styledRanges();
    void styleAtProbes_data();
    void styleAtProbes();
    void hiddenButtonTellsTheSelection();
    void oneWindowUntilClosed();
    void editCommands_data();
    void editCommands();

private:
    Help *shownHelp();

    TestHome m_home;
    RecordingServices m_services;
    App m_app;
};

void tst_help::cleanup()
{
    m_services.clear();
    if (Help *help = Help::openInstance())
        help->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Help *tst_help::shownHelp()
{
    m_app.dispatchMenu(QStringLiteral("HelpShowHelp"), nullptr);
    return Help::openInstance();
}

void tst_help::holdsTheHelpText()
{
    Help *help = shownHelp();
    QVERIFY(help);
    QCOMPARE(help->windowTitle(), QStringLiteral("Help"));
    QCOMPARE(help->content()->size(), QSize(350, 251));
    QCOMPARE(help->menus(), MenuBar2::instance());
    const EditField *field = help->EditField1;
    QVERIFY(field->isReadOnly());
    QCOMPARE(field->geometry(), QRect(20, 19, 310, 212));
    QCOMPARE(textOf(*field), QString::fromLatin1(kHelpText));
    QCOMPARE(field->text().size(), 1742);
    // Each carriage return is one block separator: 12 paragraphs and 11 empty blocks.
    QCOMPARE(field->document()->characterCount(), 1742 + 1);
    QCOMPARE(field->document()->blockCount(), 23);
    QVERIFY(!textOf(*field).endsWith(u'\r'));
    // The hidden button lies beyond the content area's right edge.
    QVERIFY(!help->content()->rect().intersects(help->PushButton1->geometry()));
}

// The cursor is left at paragraph 9, yet the reader starts at the first paragraph, in a
// new window as in the first.
void tst_help::opensAtTheTop()
{
    for (int window = 0; window < 2; ++window) {
        Help *help = shownHelp();
        QVERIFY(QTest::qWaitForWindowExposed(help));
        const QScrollBar *bar = help->EditField1->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(help->EditField1->textCursor().position(), 1056);
        help->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Only a new window starts at the top: hidden and shown again, the same window keeps the
// place the reader scrolled to.
void tst_help::keepsItsPlaceWhenShownAgain()
{
    Help *help = shownHelp();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QScrollBar *bar = help->EditField1->verticalScrollBar();
    QVERIFY(bar->maximum() > 1);
    const int place = bar->maximum() / 2;
    bar->setValue(place);
    help->hide();
    QVERIFY(!help->isVisible());

    QCOMPARE(shownHelp(), help);
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QCOMPARE(bar->value(), place);
}

void tst_help::paragraphs_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("opening");

    QTest::newRow("1") << 0 << 59 << "Tavrelo was developed";
    QTest::newRow("2") << 61 << 277 << "A \"secret message\" can be \"hidden\"";
    QTest::newRow("3") << 340 << 11 << "How to Use:";
    QTest::newRow("4") << 353 << 160 << "The Sender opens";
    QTest::newRow("5") << 515 << 121 << "The Sender then tabs";
    QTest::newRow("6") << 638 << 89 << "The Sender can view";
    QTest::newRow("7") << 729 << 109 << "The Sender then clicks";
    QTest::newRow("8") << 840 << 214 << "The Sender then prepares";
    QTest::newRow("9") << 1056 << 101 << "The Receiver opens the email";
    QTest::newRow("10") << 1159 << 457 << "The Receiver then opens";
    QTest::newRow("11") << 1618 << 61 << "If the \"Clear All\" button";
    QTest::newRow("12") << 1681 << 61 << "The position of the Tavrelo window";
}

void tst_help::paragraphs()
{
    QFETCH(int, offset);
    QFETCH(int, length);
    QFETCH(QString, opening);

    const EditField *field = shownHelp()->EditField1;
    const QString text = textOf(*field);
    QVERIFY(text.mid(offset).startsWith(opening));
    const QTextBlock block = field->document()->findBlock(offset);
    QCOMPARE(block.position(), offset);
    QCOMPARE(block.length() - 1, length);
    QVERIFY(!text.mid(offset, length).contains(u'\r'));
    if (offset > 0)
        QCOMPARE(text.mid(offset - 2, 2), QStringLiteral("\r\r"));
    if (offset + length < text.size())
        QCOMPARE(text.mid(offset + length, 2), QStringLiteral("\r\r"));
}

void tst_help::styledRanges_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("bold");

    const QString seeSecret = QStringLiteral("See Secret");
    const QString loadMessage = QStringLiteral("Load Message");
    const QString secretMessage = QStringLiteral("secret message");
    const QString plainMessage = QStringLiteral("plain message");
    QTest::newRow("See Secret, 6") << 711 << seeSecret << true;
    QTest::newRow("Save Message, 7") << 760 << QStringLiteral("Save Message") << true;
    QTest::newRow("Load Message, 10") << 1222 << loadMessage << true;
    QTest::newRow("See Secret, 10 first") << 1340 << seeSecret << true;
    QTest::newRow("See Secret, 10 second") << 1470 << seeSecret << true;
    QTest::newRow("Load Message, 10 second") << 1543 << loadMessage << true;
    QTest::newRow("See Secret, 10 third") << 1600 << seeSecret << true;
    QTest::newRow("Clear All, 11") << 1626 << QStringLiteral("Clear All") << true;
    QTest::newRow("secret message, 2 first") << 64 << secretMessage << false;
    QTest::newRow("plain message, 2 first") << 102 << plainMessage << false;
    QTest::newRow("plain message, 2 second") << 141 << plainMessage << false;
    QTest::newRow("secret message, 2 second") << 322 << secretMessage << false;
    QTest::newRow("plain message, 4 first") << 405 << plainMessage << false;
    QTest::newRow("plain message, 4 second") << 464 << plainMessage << false;
    QTest::newRow("secret message, 5 first") << 557 << secretMessage << false;
    QTest::newRow("secret message, 5 second") << 595 << secretMessage << false;
    QTest::newRow("secret message, 6") << 663 << secretMessage << false;
    QTest::newRow("plain message, 10") << 1250 << plainMessage << false;
    QTest::newRow("secret message, 10") << 1362 << secretMessage << false;
}

// Each styled phrase stands between its quotes, carries its style throughout, and the quotes
// keep the style of their surroundings.
void tst_help::styledRanges()
{
    QFETCH(int, offset);
    QFETCH(QString, content);
    QFETCH(bool, bold);

    const EditField *field = shownHelp()->EditField1;
    const QTextDocument &document = *field->document();
    const int length = int(content.size());
    QCOMPARE(textOf(*field).mid(offset - 1, length + 2), u'"' + content + u'"');
    for (int at = offset; at < offset + length; ++at) {
        QCOMPARE(formatAt(document, at).fontWeight() == QFont::Bold, bold);
        QCOMPARE(formatAt(document, at).fontItalic(), !bold);
    }
    for (int quote : {offset - 1, offset + length}) {
        QCOMPARE(formatAt(document, quote).fontWeight() == QFont::Bold, false);
        QCOMPARE(formatAt(document, quote).fontItalic(), false);
    }
}

void tst_help::styleAtProbes_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("style"); // empty: the colour alone is probed

    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    const QColor black(0, 0, 0);
    QTest::newRow("353: first letter of paragraph 4") << 353 << 353 << red << "";
    QTest::newRow("1053: full stop ending paragraph 8") << 1053 << 1053 << red << "";
    QTest::newRow("1054-1055: returns before paragraph 9") << 1054 << 1055 << black << "";
    QTest::newRow("1056-1615: the Receiver's paragraphs") << 1056 << 1615 << blue << "";
    QTest::newRow("1616-1617: returns after paragraph 10") << 1616 << 1617 << black << "";
    QTest::newRow("710: the quote before See Secret") << 710 << 710 << red << "plain";
    QTest::newRow("711-720: See Secret") << 711 << 720 << red << "bold";
    QTest::newRow("340-350: How to Use:") << 340 << 350 << black << "plain";
}

void tst_help::styleAtProbes()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QColor, colour);
    QFETCH(QString, style);

    const EditField *field = shownHelp()->EditField1;
    for (int at = from; at <= to; ++at) {
        QCOMPARE(colourAt(*field, at), colour);
        if (style.isEmpty())
            continue;
        const QTextCharFormat format = formatAt(*field->document(), at);
        QCOMPARE(format.fontWeight() == QFont::Bold, style == u"bold");
        QVERIFY(!format.fontItalic());
        QVERIFY(!format.fontUnderline());
    }
}

void tst_help::hiddenButtonTellsTheSelection()
{
    Help *help = shownHelp();
    help->PushButton1->click();
    select(help->EditField1, 711, 10);
    help->PushButton1->click();
    // Selected backwards, the start is still the lower end.
    select(help->EditField1, 721, -10);
    help->PushButton1->click();
    QCOMPARE(m_services.messages, (QStringList{QStringLiteral("Start: 1056 Length: 0"),
                                               QStringLiteral("Start: 711 Length: 10"),
                                               QStringLiteral("Start: 711 Length: 10")}));
}

void tst_help::oneWindowUntilClosed()
{
    Help *first = shownHelp();
    QVERIFY(first && first->isVisible());
    select(first->EditField1, 340, 11);
    QCOMPARE(m_app.dispatchMenu(QStringLiteral("HelpShowHelp"), nullptr), std::optional(true));
    QCOMPARE(Help::openInstance(), first);
    QCOMPARE(first->EditField1->textCursor().selectionStart(), 340);
    QCOMPARE(first->EditField1->textCursor().selectedText(), QStringLiteral("How to Use:"));

    QPointer<Help> closed(first);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!closed);
    QVERIFY(!Help::openInstance());

    Help *second = shownHelp();
    QVERIFY(second && second->isVisible());
    const QTextCursor cursor = second->EditField1->textCursor();
    QCOMPARE(cursor.position(), 1056);
    QVERIFY(!cursor.hasSelection());
    QCOMPARE(colourAt(*second->EditField1, 1056), QColor(0, 0, 255));
    QCOMPARE(formatAt(*second->EditField1->document(), 711).fontWeight(), int(QFont::Bold));
    QCOMPARE(second->menus(), MenuBar2::instance());
}

void tst_help::editCommands_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QKeySequence>("keys"); // empty: chosen from the menu
    QTest::addColumn<int>("selectedFrom");
    QTest::addColumn<int>("selectedLength");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("served"); // from the menu: by the field's standard command

    const QKeySequence menu;
    const QString untouched = QStringLiteral("on the clipboard before");
    QTest::newRow("Copy") << "EditCopy" << menu << 711 << 10 << "See Secret" << true;
    QTest::newRow("Copy, keyboard")
        << "" << QKeySequence(QKeySequence::Copy) << 711 << 10 << "See Secret" << true;
    QTest::newRow("Select All") << "EditSelectAll" << menu << 0 << 1742 << untouched << true;
    QTest::newRow("Select All, keyboard")
        << "" << QKeySequence(QKeySequence::SelectAll) << 0 << 1742 << untouched << true;
    for (const char *item : {"EditUndo", "EditCut", "EditPaste", "EditClear"}) {
        QTest::newRow(item) << item << menu << 711 << 10 << untouched << false;
    }
    QTest::newRow("Undo, keyboard")
        << "" << QKeySequence(QKeySequence::Undo) << 711 << 10 << untouched << true;
    QTest::newRow("Cut, keyboard")
        << "" << QKeySequence(QKeySequence::Cut) << 711 << 10 << untouched << true;
    QTest::newRow("Paste, keyboard")
        << "" << QKeySequence(QKeySequence::Paste) << 711 << 10 << untouched << true;
    QTest::newRow("Delete, keyboard")
        << "" << QKeySequence(Qt::Key_Delete) << 711 << 10 << untouched << true;
}

// Copy and Select All are the field's standard commands, which the window's own handlers do
// not swallow; nothing changes the read-only text or its styles.
void tst_help::editCommands()
{
    QFETCH(QString, item);
    QFETCH(QKeySequence, keys);
    QFETCH(int, selectedFrom);
    QFETCH(int, selectedLength);
    QFETCH(QString, clipboard);
    QFETCH(bool, served);

    Help *help = shownHelp();
    help->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(help));
    EditField *field = help->EditField1;
    field->setFocus();
    QCOMPARE(QApplication::focusWidget(), field);
    const QString before = textOf(*field);
    QApplication::clipboard()->setText(QStringLiteral("on the clipboard before"));
    select(field, 711, 10);

    if (keys.isEmpty())
        QCOMPARE(m_app.dispatchMenu(item, help).has_value(), served);
    else
        QTest::keySequence(field, keys);

    const QTextCursor cursor = field->textCursor();
    QCOMPARE(cursor.selectionStart(), selectedFrom);
    QCOMPARE(cursor.selectionEnd() - cursor.selectionStart(), selectedLength);
    QCOMPARE(QApplication::clipboard()->text(), clipboard);
    QCOMPARE(textOf(*field), before);
    QCOMPARE(formatAt(*field->document(), 711).fontWeight(), int(QFont::Bold));
    QCOMPARE(colourAt(*field, 1056), QColor(0, 0, 255));
}

QTEST_MAIN(tst_help)
#include "tst_help.moc"
