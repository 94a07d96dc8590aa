#include "app/backgroundjpg.h"
#include "framework/canvas.h"
#include "framework/editfield.h"
#include "framework/resolution.h"
#include "message/module1.h"
#include "message/window1.h"
#include "tests/support/messagewindow.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"

#include <QClipboard>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTest>

using namespace MessageWindow;

namespace {

// What the window shows when "Clear All" is clicked.
enum class State { Composing, Loaded, Revealed, Empty };
// What the person does while the pointer rests on "See Secret".
enum class Action { Load, ClearAll, Type };
// How text reaches the secret field.
enum class Arrival { Typed, Pasted, Dropped, InputMethod };

void arrive(EditField *field, Arrival how, const QString &text)
{
    switch (how) {
    case Arrival::Typed:
        for (const QChar c : text)
            type(field, QString(c));
        break;
    case Arrival::Pasted:
        QGuiApplication::clipboard()->setText(text);
        field->paste();
        break;
    case Arrival::Dropped: {
        // As another program's text dragged in and let go over the field.
        QMimeData data;
        data.setText(text);
        const QPoint at = field->viewport()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field->viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field->viewport(), &move);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field->viewport(), &drop);
        QVERIFY(drop.isAccepted());
        break;
    }
    case Arrival::InputMethod: {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(field, &commit);
        break;
    }
    }
}

// A picture a friend sent, put on the Desktop as "My Message.png": a pale blue band over white,
// with a near-white mark in its top rows that the reveal turns black.
QImage friendsPicture()
{
    QImage picture(560, 130, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 60; y < 130; ++y)
        for (int x = 0; x < 560; ++x)
            picture.setPixel(x, y, qRgb(200, 220, 240));
    for (int y = 5; y < 15; ++y)
        for (int x = 100; x < 140; ++x)
            picture.setPixel(x, y, qRgb(254, 254, 254));
    return picture;
}

} // namespace

// Composing and revealing in the main window: the count and its limit, what the picture area
// draws, the reveal through "See Secret" and "Clear All".
class tst_message : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanupTestCase();

    void secretCountAndLimit_data();
    void secretCountAndLimit();
    void inputMethodCommitsWholeSymbolsOnly();
    void secretStaysOnOneLine_data();
    void secretStaysOnOneLine();
    void undoTakesBackACutArrival_data();
    void undoTakesBackACutArrival();
    void plainMessageHasNoLimit();

    void paintsPlainMessageInItsMarginsAndCutsIt();
    void plainMessageStandsAt20And20();
    void paintsSecretNearWhiteFromTopLeft();
    void secretStandsAt0And0OnOneLine();
    void colourEmojiInSecretStaysNearWhite();

    void revealShowsSecretAlone();
    void revealIgnoresWrappedSecretBelowBand();
    void revealRunsToItsEndBeforeLeaving();
    void leavingRestoresBackgroundAndDropsLoadedPicture();
    void saveDuringRevealWritesComposedPicture_data();
    void saveDuringRevealWritesComposedPicture();
    void actionsDuringReveal_data();
    void actionsDuringReveal();
    void unpairedPointerEventsKeepTheSave_data();
    void unpairedPointerEventsKeepTheSave();
    void seeSecretLabel_data();
    void seeSecretLabel();

    void clearAll_data();
    void clearAll();

private:
    QString messageFile() const;
    // "Save Message" pressed with Space, as the child presses it with the pointer resting on
    // "See Secret" (the button keeps the focus): the picture it wrote.
    QImage saveBySpace();

    TestHome m_home;
    RecordingServices m_services;
    Window1 *m_window = nullptr;
};

QString tst_message::messageFile() const
{
    return QDir(m_home.desktop()).filePath(QStringLiteral("My Message.png"));
}

QImage tst_message::saveBySpace()
{
    m_window->SavePNG->setFocus();
    QTest::keyClick(m_window->SavePNG, Qt::Key_Space);
    return QImage(messageFile()).convertToFormat(QImage::Format_RGB32);
}

void tst_message::init()
{
    m_services.clear();
    m_window = openFresh();
}

void tst_message::cleanupTestCase()
{
    if (Window1 *window = Window1::openInstance())
        window->close();
}

void tst_message::secretCountAndLimit_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("count");

    const QString a75(75, u'a');
    const QString e80 = QString::fromUtf8("é").repeated(80);
    const QString unicorn = QString::fromUtf8("\U0001F984");
    // Two code points each: a letter and a combining accent; a flag's two regional indicators.
    const QString accented = QString::fromUtf8("e\u0301");
    const QString flag = QString::fromUtf8("\U0001F1EB\U0001F1F7");

    QTest::newRow("ascii typed past 75")
        << QString() << 0 << QString(80, u'a') << QString() << a75 << "75";
    QTest::newRow("accented letters count one each")
        << QString() << 0 << e80 << QString() << e80.left(75) << "75";
    QTest::newRow("emoji count one each")
        << QString() << 0 << unicorn.repeated(80) << QString() << unicorn.repeated(75) << "75";
    QTest::newRow("pasted past 75 keeps its start")
        << QString() << 0 << QString() << QString(100, u'p') << QString(75, u'p') << "75";
    QTest::newRow("pasted into the middle keeps the text around it")
        << QString(70, u'a') << 10 << QString() << QString(10, u'b')
        << QString(10, u'a') + QString(5, u'b') + QString(60, u'a') << "75";
    QTest::newRow("paste never splits an emoji")
        << QString(74, u'a') << 74 << QString() << unicorn.repeated(2)
        << QString(74, u'a') + unicorn << "75";
    QTest::newRow("paste never parts a letter from its accent")
        << QString() << 0 << QString() << accented.repeated(40) << accented.repeated(37) << "74";
    QTest::newRow("paste never halves a flag")
        << QString() << 0 << QString() << flag.repeated(40) << flag.repeated(37) << "74";
    QTest::newRow("a flag pasted into the middle goes whole")
        << QString(74, u'a') << 30 << QString() << flag << QString(74, u'a') << "74";
    QTest::newRow("pasted lines join on one line")
        << QString() << 0 << QString() << QStringLiteral("one\ntwo\r\nthree")
        << QStringLiteral("one two three") << "13";
    QTest::newRow("typed into a full field changes nothing")
        << a75 << 75 << QStringLiteral("z") << QString() << a75 << "75";
    QTest::newRow("an accent typed into a full field changes nothing")
        << a75 << 75 << QString::fromUtf8("\u0301") << QString() << a75 << "75";
}

void tst_message::secretCountAndLimit()
{
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, expected);
    QFETCH(QString, count);

    EditField *secret = m_window->SecretText;
    secret->setText(before);
    QTextCursor at = secret->textCursor();
    at.setPosition(cursor);
    secret->setTextCursor(at);
    secret->setFocus();
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const bool pair = typed.at(i).isHighSurrogate() && i + 1 < typed.size();
        type(secret, typed.mid(i, pair ? 2 : 1));
        i += pair ? 1 : 0;
    }
    if (!pasted.isEmpty()) {
        QGuiApplication::clipboard()->setText(pasted);
        secret->paste();
    }

    QCOMPARE(secret->text(), expected);
    QCOMPARE(m_window->NoSecretTxt->text(), count);
}

// An emoji picker or another input method commits a whole symbol at once: at 74 a flag, two
// code points, would cross the limit, so none of it stays.
void tst_message::inputMethodCommitsWholeSymbolsOnly()
{
    EditField *secret = m_window->SecretText;
    secret->setText(QString(74, u'a'));
    secret->moveCursor(QTextCursor::End);
    secret->setFocus();

    QInputMethodEvent flag;
    flag.setCommitString(QString::fromUtf8("\U0001F1EB\U0001F1F7"));
    QCoreApplication::sendEvent(secret, &flag);
    QCOMPARE(secret->text(), QString(74, u'a'));
    QCOMPARE(m_window->NoSecretTxt->text(), QStringLiteral("74"));

    QInputMethodEvent letter;
    letter.setCommitString(QString::fromUtf8("é"));
    QCoreApplication::sendEvent(secret, &letter);
    QCOMPARE(secret->text(), QString(74, u'a') + QString::fromUtf8("é"));
    QCOMPARE(m_window->NoSecretTxt->text(), QStringLiteral("75"));
}

void tst_message::secretStaysOnOneLine_data()
{
    QTest::addColumn<Arrival>("how");
    QTest::addColumn<QString>("lineBreak");
    const std::pair<const char *, QString> breaks[] = {
        {"LF", QStringLiteral("\n")},
        {"CR LF", QStringLiteral("\r\n")},
        {"CR", QStringLiteral("\r")},
        {"line separator", QString(QChar(0x2028))},
        {"paragraph separator", QString(QChar(0x2029))},
        {"U+FDD0", QString(QChar(0xfdd0))},
        {"U+FDD1", QString(QChar(0xfdd1))},
        {"vertical tab", QStringLiteral("\v")},
        {"form feed", QStringLiteral("\f")},
        {"next line", QString(QChar(0x0085))},
    };
    const std::pair<const char *, Arrival> ways[] = {
        {"pasted", Arrival::Pasted},
        {"dropped", Arrival::Dropped},
        {"from an input method", Arrival::InputMethod},
    };
    for (const auto &[way, how] : ways)
        for (const auto &[name, lineBreak] : breaks)
            QTest::addRow("%s, %s", name, way) << how << lineBreak;
}

// Whatever break a text brings, the one-line secret takes a blank in its place: the field,
// the count and the picture are as if blanks had stood between the words.
void tst_message::secretStaysOnOneLine()
{
    QFETCH(Arrival, how);
    QFETCH(QString, lineBreak);
    EditField *secret = m_window->SecretText;
    secret->setText(QStringLiteral("meet me at the old tree"));
    const QImage expected = captured(m_window);
    QCOMPARE(count(expected, QRect(0, 0, 560, 24), isNearWhite) > 50, true);
    secret->clear();
    secret->setFocus();

    arrive(secret, how,
           QStringLiteral("meet me") + lineBreak + QStringLiteral("at the") + lineBreak +
               QStringLiteral("old tree"));

    QCOMPARE(secret->text(), QStringLiteral("meet me at the old tree"));
    QCOMPARE(secret->document()->blockCount(), 1);
    QCOMPARE(m_window->NoSecretTxt->text(), QStringLiteral("23"));
    QCOMPARE(captured(m_window), expected);
}

void tst_message::undoTakesBackACutArrival_data()
{
    QTest::addColumn<QString>("typedFirst");
    QTest::addColumn<Arrival>("how");
    QTest::addColumn<QString>("arrival");
    QTest::addColumn<QString>("cut");

    const QString sentence =
        QStringLiteral("We will meet at the big oak tree behind the school after the bell rings!!");
    QTest::newRow("a 78-character sentence typed")
        << QString() << Arrival::Typed << sentence + QStringLiteral(" okay")
        << sentence + QStringLiteral(" o");
    QTest::newRow("200 letters pasted into the empty field")
        << QString() << Arrival::Pasted << QString(200, u'p') << QString(75, u'p');
    QTest::newRow("100 letters pasted after typed words")
        << QStringLiteral("Hi ") << Arrival::Pasted << QString(100, u'x')
        << QStringLiteral("Hi ") + QString(72, u'x');
    QTest::newRow("100 letters dropped after typed words")
        << QStringLiteral("Hi ") << Arrival::Dropped << QString(100, u'x')
        << QStringLiteral("Hi ") + QString(72, u'x');
    QTest::newRow("an input method commits past the limit")
        << QString(74, u'a') << Arrival::InputMethod << QStringLiteral("bcd")
        << QString(74, u'a') + u'b';
}

// Undo after an arrival the limit cut gives back the text as it was before it, Redo the cut
// text again; the earlier history stays in reach.
void tst_message::undoTakesBackACutArrival()
{
    QFETCH(QString, typedFirst);
    QFETCH(Arrival, how);
    QFETCH(QString, arrival);
    QFETCH(QString, cut);
    EditField *secret = m_window->SecretText;
    secret->setFocus();
    arrive(secret, Arrival::Typed, typedFirst);
    QCOMPARE(secret->text(), typedFirst);
    secret->moveCursor(QTextCursor::End);

    arrive(secret, how, arrival);
    QCOMPARE(secret->text(), cut);
    QCOMPARE(m_window->NoSecretTxt->text(), QStringLiteral("75"));

    QTest::keyClick(secret, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(secret->text(), how == Arrival::Typed ? QString() : typedFirst);
    QCOMPARE(m_window->NoSecretTxt->text(), QString::number(secret->text().size()));
    QTest::keySequence(secret, QKeySequence::Redo);
    QCOMPARE(secret->text(), cut);
    QCOMPARE(m_window->NoSecretTxt->text(), QStringLiteral("75"));
}

void tst_message::plainMessageHasNoLimit()
{
    QGuiApplication::clipboard()->setText(QString(2000, u'x'));
    m_window->InnocentText->paste();
    QCOMPARE(m_window->InnocentText->text().size(), 2000);
    QCOMPARE(m_window->NoSecretTxt->text(), QStringLiteral("0"));
}

void tst_message::paintsPlainMessageInItsMarginsAndCutsIt()
{
    m_window->InnocentText->setText(QStringLiteral("Dear friend, ").repeated(150));
    const QImage shown = onScreen(m_window);

    // Wrapped at 520 from (20, 20): nothing dark left of 20, right of 540 or above 20.
    QCOMPARE(count(shown, QRect(0, 0, 20, 130), isDark), 0);
    QCOMPARE(count(shown, QRect(541, 0, 19, 130), isDark), 0);
    QCOMPARE(count(shown, QRect(0, 0, 560, 20), isDark), 0);
    // Cut at the bottom edge, not scrolled: the first line stands just below row 20 and the
    // text goes on to the last row.
    QVERIFY(count(shown, QRect(20, 20, 520, 12), isDark) > 0);
    QVERIFY(count(shown, QRect(20, 120, 520, 10), isDark) > 0);
    QCOMPARE(shown, captured(m_window));
}

// text drawn in black on white with its top-left corner at topLeft in the font of field, at
// the picture area's resolution.
QImage drawnAt(Window1 *window, const EditField *field, const QString &text, QPointF topLeft)
{
    QImage picture(560, 130, QImage::Format_RGB32);
    setLogicalDpi(picture, window->Canvas1->logicalDpiX(), window->Canvas1->logicalDpiY());
    picture.fill(Qt::white);
    QPainter g(&picture);
    const QFont font = field->document()->defaultFont();
    g.setFont(font);
    g.drawText(topLeft + QPointF(0, QFontMetricsF(font, &picture).ascent()), text);
    return picture;
}

// The plain message's first line starts at (20, 20) of the picture: its ink is where the same
// text lies when drawn with its top-left corner there in the field's font.
void tst_message::plainMessageStandsAt20And20()
{
    const QString text = QStringLiteral("HHH HHH");
    m_window->InnocentText->setText(text);

    const QImage expected = drawnAt(m_window, m_window->InnocentText, text, QPointF(20, 20));
    const QRect drawn = inkRect(expected, expected.rect(), isDark);
    QVERIFY(drawn.top() > 20 && drawn.left() >= 20);
    const QImage shown = onScreen(m_window);
    QCOMPARE(inkRect(shown, shown.rect(), isDark), drawn);
}

// The secret starts in the picture's top-left corner and wraps only at its full width, 560:
// a secret wider than the plain message's 520 stays on one line, in the 24 rows the reveal
// reads, where the same text lies when drawn at (0, 0) in the field's font.
void tst_message::secretStandsAt0And0OnOneLine()
{
    const QString text = QString(46, u'W');
    m_window->SecretText->setText(text);

    const QImage expected = drawnAt(m_window, m_window->SecretText, text, QPointF(0, 0));
    const QRect drawn = inkRect(expected, expected.rect(), isDark);
    QVERIFY2(drawn.right() > 520 && drawn.right() < 559,
             qPrintable(QString::number(drawn.right())));
    QVERIFY(drawn.bottom() < 24);
    const QImage shown = onScreen(m_window);
    QCOMPARE(inkRect(shown, shown.rect(), isNearWhite), drawn);

    enterSeeSecret(m_window);
    QCOMPARE(inkRect(Module1::FilteredImage, Module1::FilteredImage.rect(), isBlack),
             drawn.translated(0, 25));
}

void tst_message::paintsSecretNearWhiteFromTopLeft()
{
    type(m_window->SecretText, QStringLiteral("MEET"));
    QCOMPARE(m_window->NoSecretTxt->text(), QStringLiteral("4"));
    const QImage shown = onScreen(m_window);
    QCOMPARE(shown.pixel(0, 0) & 0xffffff, 0xffffffu);
    // From the top-left corner, within the first line, in the near-white band only.
    QVERIFY(count(shown, QRect(0, 0, 10, 24), isNearWhite) > 0);
    QCOMPARE(count(shown, QRect(0, 24, 560, 106), isNearWhite), 0);
    QCOMPARE(count(shown, shown.rect(), [](QRgb p) { return qRed(p) < 254; }), 0);
    QCOMPARE(captured(m_window), shown);
}

void tst_message::colourEmojiInSecretStaysNearWhite()
{
    if (!QFontDatabase::families().contains(QStringLiteral("Noto Color Emoji")))
        QSKIP("needs a colour emoji font (fonts-noto-color-emoji)");
    type(m_window->SecretText, QString::fromUtf8("\U0001F984"));
    type(m_window->SecretText, QString::fromUtf8("\U0001F308"));
    type(m_window->SecretText, QStringLiteral("ok"));
    QCOMPARE(m_window->NoSecretTxt->text(), QStringLiteral("4"));

    const QImage shown = onScreen(m_window);
    int touched = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb p = shown.pixel(x, y);
            QVERIFY2(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) >= 254,
                     qPrintable(
                         QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(QColor(p).name())));
            touched += isNearWhite(p) ? 1 : 0;
        }
    }
    // The two emoji, drawn as solid shapes, cover more than the two letters.
    QVERIFY(touched > 60);
    enterSeeSecret(m_window);
    QVERIFY(count(Module1::FilteredImage, QRect(0, 25, 40, 24), isBlack) > 60);
}

void tst_message::revealShowsSecretAlone()
{
    m_window->InnocentText->setText(QStringLiteral("Hello, see you at the park tomorrow!"));
    m_window->SecretText->setText(QStringLiteral("The key is under the mat"));
    const QImage composed = captured(m_window);

    enterSeeSecret(m_window);
    const QImage reveal = Module1::FilteredImage;
    QCOMPARE(m_window->Canvas1->backdrop(), reveal);
    QCOMPARE(Module1::MySnapshot, composed);
    QVERIFY(!Module1::CopyBack);

    // Each pixel of the band is the classification of the capture pixel 25 rows up; the
    // plain message's dark pixels are among those that turn white.
    int secretPixels = 0;
    int plainPixels = 0;
    for (int y = 0; y < 130; ++y) {
        for (int x = 0; x < 560; ++x) {
            const QRgb got = reveal.pixel(x, y) & 0xffffff;
            if (y < 25 || y > 48) {
                QCOMPARE(got, 0xffffffu);
                continue;
            }
            const QRgb from = composed.pixel(x, y - 25);
            QCOMPARE(got, isNearWhite(from) ? 0u : 0xffffffu);
            secretPixels += isNearWhite(from) ? 1 : 0;
            plainPixels += isDark(from) ? 1 : 0;
        }
    }
    QVERIFY(secretPixels > 100);
    QVERIFY(plainPixels > 10);

    // The reveal's own paint drew no text, and no later paint brought the texts back.
    QCOMPARE(onScreen(m_window), reveal);
    QTest::qWait(20);
    QCOMPARE(onScreen(m_window), reveal);
}

void tst_message::revealIgnoresWrappedSecretBelowBand()
{
    m_window->SecretText->setText(QStringLiteral("W").repeated(50) +
                                  QStringLiteral("gjpqy").repeated(5));
    const QImage composed = captured(m_window);
    // The secret wraps at 560: its second line reaches below the band the reveal reads.
    QVERIFY(count(composed, QRect(0, 24, 560, 106), isNearWhite) > 0);

    enterSeeSecret(m_window);
    QVERIFY(count(Module1::FilteredImage, QRect(0, 25, 560, 24), isBlack) > 0);
    QCOMPARE(count(Module1::FilteredImage, QRect(0, 49, 560, 81), isBlack), 0);
}

void tst_message::revealRunsToItsEndBeforeLeaving()
{
    m_window->SecretText->setText(QStringLiteral("hurry"));
    // The pointer is gone again before the reveal has run: the leave waits for it, so the
    // area ends with its background, not stuck on the reveal picture.
    QCoreApplication::postEvent(m_window->Filter1, new QEvent(QEvent::Leave));
    enterSeeSecret(m_window);
    QCOMPARE(m_window->Canvas1->backdrop(), Module1::FilteredImage);
    QCoreApplication::processEvents();
    QCOMPARE(m_window->Canvas1->backdrop(), backgroundjpg());
    QVERIFY(!Module1::CopyBack);
}

void tst_message::leavingRestoresBackgroundAndDropsLoadedPicture()
{
    QImage loaded(560, 130, QImage::Format_RGB32);
    loaded.fill(QColor(200, 220, 240));
    m_window->Canvas1->setBackdrop(loaded);
    m_window->SecretText->setText(QStringLiteral("psst"));

    enterSeeSecret(m_window);
    QVERIFY(count(Module1::FilteredImage, QRect(0, 25, 560, 24), isBlack) > 0);
    leaveSeeSecret(m_window);

    QCOMPARE(m_window->Canvas1->backdrop(), backgroundjpg());
    QVERIFY(!Module1::CopyBack);
    QCOMPARE(onScreen(m_window), captured(m_window));
    QCOMPARE(onScreen(m_window).pixel(300, 100), qRgb(255, 255, 255));
}

void tst_message::saveDuringRevealWritesComposedPicture_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::newRow("composed over the background") << false;
    QTest::newRow("over a loaded picture") << true;
}

// "Save Message" pressed while the reveal shows (the button keeps the focus, the pointer rests
// on "See Secret", Space presses it) writes what a save just before the reveal writes: the
// backdrop with both texts, the secret still near-white. The screen keeps the reveal.
void tst_message::saveDuringRevealWritesComposedPicture()
{
    QFETCH(bool, loaded);
    if (loaded) {
        QVERIFY(friendsPicture().save(messageFile(), "PNG"));
        QTest::mouseClick(m_window->LoadPNG, Qt::LeftButton);
    }
    m_window->InnocentText->setText(QStringLiteral("See you at the park!"));
    m_window->SecretText->setText(QStringLiteral("The key is under the mat"));

    const QImage before = saveBySpace();
    QVERIFY(count(before, QRect(0, 0, 560, 24), isNearWhite) > 100);

    enterSeeSecret(m_window);
    QCOMPARE(saveBySpace(), before);
    QCOMPARE(m_services.messages, QStringList({QStringLiteral("Message was saved!"),
                                               QStringLiteral("Message was saved!")}));
    QCOMPARE(Module1::P, before);

    QCOMPARE(m_window->Canvas1->backdrop(), Module1::FilteredImage);
    QTest::qWait(20);
    QCOMPARE(onScreen(m_window), Module1::FilteredImage);
}

void tst_message::actionsDuringReveal_data()
{
    QTest::addColumn<Action>("action");
    QTest::newRow("Load Message") << Action::Load;
    QTest::newRow("Clear All") << Action::ClearAll;
    QTest::newRow("typing") << Action::Type;
}

// Whatever the person does while the reveal shows, leaving the box shows a picture they can
// explain: the friend's picture they loaded, the empty background they cleared to, or the
// composed message with what they typed; a save then writes just that.
void tst_message::actionsDuringReveal()
{
    QFETCH(Action, action);
    const QString file = messageFile();
    QVERIFY(friendsPicture().save(file, "PNG"));
    m_window->InnocentText->setText(QStringLiteral("Lunch at noon?"));
    m_window->SecretText->setText(QStringLiteral("bring the map"));
    enterSeeSecret(m_window);

    QImage backdrop = backgroundjpg();
    QString plain = QStringLiteral("Lunch at noon?");
    switch (action) {
    case Action::Load:
        QTest::mouseClick(m_window->LoadPNG, Qt::LeftButton);
        backdrop = friendsPicture();
        break;
    case Action::ClearAll:
        QTest::mouseClick(m_window->ClearAll, Qt::LeftButton);
        plain.clear();
        break;
    case Action::Type:
        m_window->InnocentText->moveCursor(QTextCursor::End);
        type(m_window->InnocentText, QStringLiteral("!"));
        plain += u'!';
        break;
    }
    leaveSeeSecret(m_window);

    QCOMPARE(m_window->InnocentText->text(), plain);
    QCOMPARE(m_window->Canvas1->backdrop(), backdrop);
    const QImage shown = onScreen(m_window);
    QCOMPARE(shown, captured(m_window));

    QTest::mouseClick(m_window->SavePNG, Qt::LeftButton);
    QCOMPARE(QImage(file).convertToFormat(QImage::Format_RGB32), shown);
}

void tst_message::unpairedPointerEventsKeepTheSave_data()
{
    QTest::addColumn<bool>("loaded");
    // E: the pointer enters "See Secret", L: it leaves, S: Space presses "Save Message".
    QTest::addColumn<QString>("events");
    for (const bool loaded : {false, true}) {
        const char *over = loaded ? "over a loaded picture" : "over the background";
        const auto row = [&](const char *name, const char *events) {
            QTest::addRow("%s, %s", name, over) << loaded << QString::fromLatin1(events);
        };
        row("two enters, save", "EES");
        row("enter, save, enter, save", "ESES");
        row("three enters, two saves", "EEESS");
        row("a leave with no enter, save", "LS");
        row("two leaves, enter, save", "LLES");
    }
}

// A modal box closing under the pointer brings two enters and no leave; a leave can come with no
// enter before it. However they arrive, every save writes what a save without the reveal
// writes, and the reveal shows the secret of that picture.
void tst_message::unpairedPointerEventsKeepTheSave()
{
    QFETCH(bool, loaded);
    QFETCH(QString, events);
    if (loaded) {
        QVERIFY(friendsPicture().save(messageFile(), "PNG"));
        QTest::mouseClick(m_window->LoadPNG, Qt::LeftButton);
    }
    m_window->InnocentText->setText(QStringLiteral("Meet me at the swings after lunch"));
    m_window->SecretText->setText(QStringLiteral("The treasure is under the slide"));
    const QImage composed = saveBySpace();
    QVERIFY(count(composed, QRect(0, 0, 560, 24), isNearWhite) > 100);
    QVERIFY(count(composed, QRect(0, 20, 560, 30), isDark) > 100);

    QImage reveal;
    int saves = 1;
    for (const QChar event : events) {
        if (event == u'E') {
            enterSeeSecret(m_window);
            QCOMPARE(m_window->Canvas1->backdrop(), Module1::FilteredImage);
            QCOMPARE(Module1::MySnapshot, composed);
            if (reveal.isNull())
                reveal = Module1::FilteredImage;
            QCOMPARE(Module1::FilteredImage, reveal);
        } else if (event == u'L') {
            leaveSeeSecret(m_window);
        } else {
            ++saves;
            QCOMPARE(saveBySpace(), composed);
        }
    }
    QCOMPARE(m_services.messages, QStringList(saves, QStringLiteral("Message was saved!")));
    QTest::qWait(20);
    if (reveal.isNull()) {
        QCOMPARE(onScreen(m_window), composed);
    } else {
        QVERIFY(count(reveal, QRect(0, 25, 560, 24), isBlack) > 100);
        QCOMPARE(onScreen(m_window), reveal);
    }
}

void tst_message::seeSecretLabel_data()
{
    QTest::addColumn<bool>("revealing");
    QTest::newRow("idle") << false;
    QTest::newRow("while revealing") << true;
}

// The label is the only cue to where the pointer should rest: "See Secret" in bold, its
// baseline at (5, 15) of the 75 by 22 box, whole within the box's border.
void tst_message::seeSecretLabel()
{
    QFETCH(bool, revealing);
    if (revealing)
        enterSeeSecret(m_window);

    const QPoint at = m_window->Filter1->mapTo(m_window, QPoint(0, 0));
    const QImage box = m_window->screen()
                           ->grabWindow(m_window->winId(), at.x(), at.y(), 75, 22)
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
    const QRect inside = box.rect().adjusted(1, 1, -1, -1);
    const QRect ink = inkRect(box, inside, isDark);
    QVERIFY(!ink.isEmpty());
    // No letter of it descends, so its ink ends on the row just above the baseline.
    QCOMPARE(ink.bottom(), 14);
    QVERIFY2(ink.left() >= 5 && ink.left() <= 7, qPrintable(QString::number(ink.left())));
    QVERIFY(ink.top() > inside.top());
    QVERIFY(ink.right() < inside.right());

    // Bold: darker than the same text in the box's own, regular, face.
    QImage regular(box.size(), QImage::Format_RGB32);
    setLogicalDpi(regular, m_window->Filter1->logicalDpiX(), m_window->Filter1->logicalDpiY());
    regular.fill(Qt::white);
    QPainter g(&regular);
    g.setFont(m_window->Filter1->font());
    g.drawText(5, 15, QStringLiteral("See Secret"));
    g.end();
    QVERIFY(count(box, inside, isDark) > count(regular, inside, isDark));
}

void tst_message::clearAll_data()
{
    QTest::addColumn<State>("state");
    QTest::newRow("composing") << State::Composing;
    QTest::newRow("loaded") << State::Loaded;
    QTest::newRow("revealed") << State::Revealed;
    QTest::newRow("already empty") << State::Empty;
}

void tst_message::clearAll()
{
    QFETCH(State, state);
    if (state != State::Empty) {
        m_window->InnocentText->setText(QStringLiteral("plain words"));
        m_window->SecretText->setText(QStringLiteral("hidden words"));
    }
    switch (state) {
    case State::Loaded: {
        QImage loaded(560, 130, QImage::Format_RGB32);
        loaded.fill(Qt::yellow);
        m_window->Canvas1->setBackdrop(loaded);
        break;
    }
    case State::Revealed:
        enterSeeSecret(m_window);
        break;
    case State::Composing:
    case State::Empty:
        break;
    }

    QTest::mouseClick(m_window->ClearAll, Qt::LeftButton);

    QVERIFY(m_window->InnocentText->text().isEmpty());
    QVERIFY(m_window->SecretText->text().isEmpty());
    QCOMPARE(m_window->NoSecretTxt->text(), QStringLiteral("0"));
    QCOMPARE(m_window->Canvas1->backdrop(), backgroundjpg());
    QCOMPARE(onScreen(m_window), backgroundjpg());
}

QTEST_MAIN(tst_message)
#include "tst_message.moc"
