#include "app/backgroundjpg.h"
#include "framework/canvas.h"
#include "framework/editfield.h"
#include "framework/services.h"
#include "message/module1.h"
#include "message/window1.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/messagewindow.h"
#include "tests/support/ordinaryuser.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include <fcntl.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace MessageWindow;

namespace {

const QString kFileName = QStringLiteral("My Message.png");

// Why a save fails.
enum class Failure { NoDesktop, DesktopIsAFile, WriteFailsMidway, ReadOnlyDesktop, ReadOnlyFile };

// What stands at the file's path that is no file.
enum class Occupant { Pipe, LinkToItself, LinkLoop };

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray chunk(const char *type, const QByteArray &data)
{
    QByteArray body = QByteArray(type, 4) + data;
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), out.data());
    out += body;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(crc32(body), crc.data());
    return out + crc;
}

// A PNG file made by hand: 8-bit RGB, with the given claimed size and raw scan-line data.
QByteArray handMadePng(quint32 width, quint32 height, bool interlaced, const QByteArray &raw)
{
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(width, header.data());
    qToBigEndian<quint32>(height, header.data() + 4);
    header[8] = 8; // bit depth
    header[9] = 2; // RGB
    header[12] = interlaced ? 1 : 0;
    const QByteArray zlib = qCompress(raw).mid(4); // without Qt's length prefix
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", zlib) +
           chunk("IEND", {});
}

QByteArray pngOf(const QImage &picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "png");
    return bytes;
}

QImage filled(QSize size, QColor color, QImage::Format format = QImage::Format_RGB32)
{
    QImage picture(size, format);
    picture.fill(color);
    return picture;
}

QStringList pngChunkTypes(const QByteArray &file)
{
    QStringList types;
    for (qsizetype at = 8; at + 8 <= file.size();) {
        const quint32 length = qFromBigEndian<quint32>(file.constData() + at);
        types << QString::fromLatin1(file.mid(at + 4, 4));
        at += 12 + qsizetype(length);
    }
    return types;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// "Save Message" and "Load Message" with "My Message.png" on the Desktop.
class tst_messagefile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanupTestCase();

    void roundTripRevealsTheSameSecret();
    void savingTwiceReplacesTheFile();
    void heldReturnLeavesTheSavedBoxUp();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void loadingNoFileDoesNothing();
    void loadsWhatDecodesAndIgnoresTheRest_data();
    void loadsWhatDecodesAndIgnoresTheRest();
    void loadingKeepsTheFieldsAndDrawsThemOver();
    void loadsOnlyARegularFile();
    void savesOnlyOverARegularFile_data();
    void savesOnlyOverARegularFile();
    void savesThroughALink_data();
    void savesThroughALink();
    void desktopFromUserDirs_data();
    void desktopFromUserDirs();
    void userDirsPipeIsNotRead();
    void noUsableHomeSavesNothing_data();
    void noUsableHomeSavesNothing();

private:
    QString filePath() const { return QDir(m_home.desktop()).filePath(kFileName); }

    TestHome m_home;
    RecordingServices m_services;
    Window1 *m_window = nullptr;
};

void tst_messagefile::init()
{
    m_home.reset();
    m_services.clear();
    m_window = openFresh();
}

void tst_messagefile::cleanupTestCase()
{
    if (Window1 *window = Window1::openInstance())
        window->close();
}

void tst_messagefile::roundTripRevealsTheSameSecret()
{
    m_window->InnocentText->setText(QStringLiteral("Grandma's cookies were great. ").repeated(8));
    m_window->SecretText->setText(QStringLiteral("Meet me at the tree house at four"));
    enterSeeSecret(m_window);
    const QImage senderReveal = Module1::FilteredImage;
    leaveSeeSecret(m_window);

    QTest::mouseClick(m_window->SavePNG, Qt::LeftButton);
    QCOMPARE(m_services.messages, QStringList{kMessageSaved});
    const QImage shown = onScreen(m_window);
    QCOMPARE(Module1::P, shown);

    const QByteArray bytes = readAll(filePath());
    const QImage file = QImage::fromData(bytes, "png").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(file, shown);
    // Pixels only: nothing that would make a reader shift the channel values.
    const QStringList chunks = pngChunkTypes(bytes);
    for (const char *unwanted : {"gAMA", "iCCP", "sRGB", "cHRM"})
        QVERIFY2(!chunks.contains(QLatin1String(unwanted)), unwanted);

    // The friend, with another home and a fresh window, loads it and hovers.
    const QString sent = filePath();
    TestHome friendsHome;
    QVERIFY(QFile::copy(sent, QDir(friendsHome.desktop()).filePath(kFileName)));
    Window1 *friendsWindow = openFresh();
    QTest::mouseClick(friendsWindow->LoadPNG, Qt::LeftButton);
    QCOMPARE(friendsWindow->Canvas1->backdrop(), shown);
    QTRY_COMPARE(onScreen(friendsWindow), shown);
    enterSeeSecret(friendsWindow);
    QCOMPARE(Module1::FilteredImage, senderReveal);
    QVERIFY(count(senderReveal, QRect(0, 25, 560, 24), isBlack) > 100);
    QVERIFY(m_services.messages.size() == 1);
}

void tst_messagefile::savingTwiceReplacesTheFile()
{
    m_window->SecretText->setText(QStringLiteral("first"));
    QTest::mouseClick(m_window->SavePNG, Qt::LeftButton);
    m_window->SecretText->setText(QStringLiteral("second, longer"));
    QTest::mouseClick(m_window->SavePNG, Qt::LeftButton);

    QCOMPARE(m_services.messages, QStringList(2, kMessageSaved));
    QCOMPARE(QImage(filePath()).convertToFormat(QImage::Format_RGB32), captured(m_window));
    QCOMPARE(QDir(m_home.desktop()).entryList(QDir::Files | QDir::Hidden), QStringList{kFileName});
}

// The child closes "Message was saved!" with Return and holds it a moment too long, or holds it
// from before the box came up: the real box waits for a fresh press, and the repeats that reach
// the main window afterwards press no button there ("Support Brinmoor" is its default).
void tst_messagefile::heldReturnLeavesTheSavedBoxUp()
{
    Services::install(nullptr);
    const auto restore = qScopeGuard([this] { Services::install(&m_services); });
    const auto repeat = [](QWidget *to, Qt::Key key, const QString &text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text, true);
        QCoreApplication::sendEvent(to, &press);
    };

    bool shown = false;
    bool upAfterRepeats = false;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        shown = box->isVisible();
        QWidget *focus = box->focusWidget() ? box->focusWidget() : box;
        for (int i = 0; i < 5; ++i) {
            repeat(focus, Qt::Key_Return, QStringLiteral("\r"));
            repeat(focus, Qt::Key_Escape, QStringLiteral("\x1b"));
            repeat(focus, Qt::Key_Space, QStringLiteral(" "));
        }
        upAfterRepeats = box->isVisible();
        QTest::keyClick(focus, Qt::Key_Return);
        if (box->isVisible())
            box->close();
    });
    m_window->SavePNG->click();

    QVERIFY(shown);
    QVERIFY(upAfterRepeats);
    QVERIFY(QFileInfo::exists(filePath()));
    for (int i = 0; i < 5; ++i)
        repeat(m_window->SavePNG, Qt::Key_Return, QStringLiteral("\r"));
    QCOMPARE(m_services.calls, QStringList());
}

void tst_messagefile::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<Failure>("how");
    QTest::newRow("no Desktop folder") << Failure::NoDesktop;
    QTest::newRow("Desktop is a file") << Failure::DesktopIsAFile;
    QTest::newRow("write fails midway") << Failure::WriteFailsMidway;
    QTest::newRow("read-only Desktop") << Failure::ReadOnlyDesktop;
    QTest::newRow("read-only file") << Failure::ReadOnlyFile;
}

void tst_messagefile::failedSaveKeepsTheOldFile()
{
    QFETCH(Failure, how);
    const QString desktop = m_home.desktop();
    const QByteArray old = pngOf(filled(QSize(560, 130), QColor(1, 2, 3)));
    QVERIFY(writeAll(filePath(), old));
    m_window->InnocentText->setText(QStringLiteral("Something new ").repeated(20));

    std::optional<FileSizeLimit> limit;
    switch (how) {
    case Failure::NoDesktop:
        QVERIFY(QDir(desktop).removeRecursively());
        break;
    case Failure::DesktopIsAFile:
        QVERIFY(QDir(desktop).removeRecursively());
        QVERIFY(writeAll(desktop, "not a folder"));
        break;
    case Failure::WriteFailsMidway:
        // As a full disk would: writes beyond a few bytes fail.
        limit.emplace(64);
        break;
    case Failure::ReadOnlyDesktop:
        if (geteuid() == 0)
            QSKIP("permissions do not bind root");
        QFile::setPermissions(desktop, QFile::ReadOwner | QFile::ExeOwner);
        break;
    case Failure::ReadOnlyFile:
        QVERIFY(QFile::setPermissions(filePath(),
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        break;
    }

    {
        // A file's mode binds root only once it is another user.
        std::optional<OrdinaryUser> user;
        if (how == Failure::ReadOnlyFile) {
            user.emplace(m_home.path());
            QVERIFY(user->ok());
        }
        QTest::mouseClick(m_window->SavePNG, Qt::LeftButton);
    }
    limit.reset();
    QFile::setPermissions(desktop, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const bool desktopWasFolder = QFileInfo(desktop).isDir();
    if (!desktopWasFolder)
        QFile::remove(desktop);

    QCOMPARE(m_services.messages, QStringList{kSaveFailed});
    QCOMPARE(Module1::P, captured(m_window));
    if (desktopWasFolder) {
        QCOMPARE(readAll(filePath()), old);
        QCOMPARE(QDir(desktop).entryList(QDir::Files | QDir::Hidden), QStringList{kFileName});
    } else {
        // Nothing was written elsewhere instead.
        QVERIFY(!QFile::exists(QDir(m_home.path()).filePath(kFileName)));
        QVERIFY(!QFile::exists(QDir::current().filePath(kFileName)));
    }
}

void tst_messagefile::loadingNoFileDoesNothing()
{
    m_window->InnocentText->setText(QStringLiteral("still here"));
    const QImage before = onScreen(m_window);
    QTest::mouseClick(m_window->LoadPNG, Qt::LeftButton);
    QVERIFY(QDir(m_home.desktop()).removeRecursively());
    QTest::mouseClick(m_window->LoadPNG, Qt::LeftButton);

    QVERIFY(m_services.messages.isEmpty());
    QCOMPARE(m_window->Canvas1->backdrop(), backgroundjpg());
    QCOMPARE(onScreen(m_window), before);
}

void tst_messagefile::loadsWhatDecodesAndIgnoresTheRest_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QImage>("expected"); // null: the backdrop stays as it was

    const QImage message = [] {
        QImage picture = filled(QSize(560, 130), Qt::white);
        QPainter g(&picture);
        g.fillRect(10, 5, 200, 10, QColor(254, 254, 254));
        g.fillRect(10, 40, 300, 30, Qt::black);
        return picture;
    }();
    const QByteArray good = pngOf(message);
    QTest::newRow("a message") << good << message;
    QTest::newRow("truncated") << good.left(good.size() / 2) << QImage();
    QTest::newRow("header only") << good.left(33) << QImage();
    // Cut after each chunk but the last: the picture is incomplete without its end.
    for (qsizetype at = 8, n = 1; at + 12 <= good.size(); ++n) {
        const quint32 length = qFromBigEndian<quint32>(good.constData() + at);
        at += 12 + length;
        if (at < good.size())
            QTest::addRow("cut after chunk %lld", qlonglong(n)) << good.left(at) << QImage();
    }
    QTest::newRow("wrong signature") << QByteArray(good).replace(1, 3, "PIG") << QImage();
    QTest::newRow("bad CRC of the header") << [&] {
        QByteArray bytes = good;
        bytes[29] = char(bytes[29] ^ 0x5a); // the IHDR chunk's CRC
        return bytes;
    }() << QImage();
    QTest::newRow("claims 100000 by 100000")
        << handMadePng(100000, 100000, false, QByteArray(1 + 3 * 100000, '\0')) << QImage();
    QTest::newRow("empty file") << QByteArray() << QImage();
    QTest::newRow("not a PNG (JPEG)") << [&] {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        message.save(&buffer, "jpg");
        return bytes;
    }() << QImage();
    QTest::newRow("text") << QByteArray("Hello, this is no picture at all.") << QImage();
    QTest::newRow("claims 60000 by 60000")
        << handMadePng(60000, 60000, false, QByteArray(1 + 3 * 60000, '\0')) << QImage();
    QTest::newRow("claims 0 by 0") << handMadePng(0, 0, false, QByteArray()) << QImage();
    QTest::newRow("claims 2^31 wide")
        << handMadePng(0x80000000u, 1, false, QByteArray(4, '\0')) << QImage();

    QImage transparent = filled(QSize(560, 130), QColor(0, 0, 0, 0), QImage::Format_ARGB32);
    {
        QPainter g(&transparent);
        g.setCompositionMode(QPainter::CompositionMode_Source);
        g.fillRect(280, 0, 280, 130, QColor(0, 0, 255));
        g.fillRect(0, 65, 140, 65, QColor(0, 0, 0, 128));
    }
    QImage overWhite = filled(QSize(560, 130), Qt::white);
    {
        QPainter g(&overWhite);
        g.fillRect(280, 0, 280, 130, QColor(0, 0, 255));
        g.fillRect(0, 65, 140, 65, QColor(127, 127, 127));
    }
    QTest::newRow("with alpha, over white") << pngOf(transparent) << overWhite;

    QTest::newRow("16 bits a channel")
        << pngOf(filled(QSize(560, 130), QColor(254, 254, 254), QImage::Format_RGBX64))
        << filled(QSize(560, 130), QColor(254, 254, 254));
    QImage palette(560, 130, QImage::Format_Indexed8);
    palette.setColorTable({qRgb(254, 254, 254), qRgb(0, 0, 0)});
    palette.fill(0);
    QTest::newRow("palette") << pngOf(palette) << filled(QSize(560, 130), QColor(254, 254, 254));
    QTest::newRow("grey") << pngOf(filled(QSize(560, 130), QColor(254, 254, 254),
                                          QImage::Format_Grayscale8))
                          << filled(QSize(560, 130), QColor(254, 254, 254));

    // 1 by 2, interlaced: pass 1 holds (0,0), pass 7 the second row.
    QImage tiny(1, 2, QImage::Format_RGB32);
    tiny.setPixel(0, 0, qRgb(254, 254, 254));
    tiny.setPixel(0, 1, qRgb(10, 20, 30));
    QTest::newRow("interlaced") << handMadePng(1, 2, true,
                                               QByteArray("\0\xfe\xfe\xfe\0\x0a\x14\x1e", 8))
                                << tiny;

    const QImage small = filled(QSize(100, 50), QColor(254, 254, 254));
    QTest::newRow("smaller, from the top-left") << pngOf(small) << small;
    QImage large = filled(QSize(1000, 300), Qt::black);
    large.setPixel(559, 129, qRgb(254, 254, 254));
    QTest::newRow("larger, its top-left") << pngOf(large) << large.copy(0, 0, 560, 130);
}

void tst_messagefile::loadsWhatDecodesAndIgnoresTheRest()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QImage, expected);
    QVERIFY(writeAll(filePath(), bytes));

    QTest::mouseClick(m_window->LoadPNG, Qt::LeftButton);
    QVERIFY(m_services.messages.isEmpty());
    if (expected.isNull()) {
        QCOMPARE(m_window->Canvas1->backdrop(), backgroundjpg());
        return;
    }
    const QImage backdrop = m_window->Canvas1->backdrop();
    QCOMPARE(backdrop.size(), expected.size());
    for (int y = 0; y < backdrop.height(); ++y) {
        for (int x = 0; x < backdrop.width(); ++x) {
            const QRgb got = backdrop.pixel(x, y);
            const QRgb want = expected.pixel(x, y);
            // Blending half transparency may round either way.
            if (qAbs(qRed(got) - qRed(want)) > 1 || qAbs(qGreen(got) - qGreen(want)) > 1 ||
                qAbs(qBlue(got) - qBlue(want)) > 1)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, not %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(QColor(got).name(), QColor(want).name())));
        }
    }
    // Shown from the top-left corner.
    const QRect common = backdrop.rect() & QRect(0, 0, 560, 130);
    QTRY_COMPARE(onScreen(m_window).copy(common), backdrop.copy(common));
}

void tst_messagefile::loadingKeepsTheFieldsAndDrawsThemOver()
{
    QVERIFY(writeAll(filePath(), pngOf(filled(QSize(560, 130), QColor(230, 240, 250)))));
    m_window->InnocentText->setText(QStringLiteral("on top"));
    m_window->SecretText->setText(QStringLiteral("also"));
    QTest::mouseClick(m_window->LoadPNG, Qt::LeftButton);

    QCOMPARE(m_window->InnocentText->text(), QStringLiteral("on top"));
    QCOMPARE(m_window->NoSecretTxt->text(), QStringLiteral("4"));
    QTRY_COMPARE(onScreen(m_window).pixel(300, 100), qRgb(230, 240, 250));
    const QImage shown = onScreen(m_window);
    QCOMPARE(shown, captured(m_window));
    QVERIFY(count(shown, QRect(20, 20, 100, 20), isDark) > 0);
}

void tst_messagefile::loadsOnlyARegularFile()
{
    QVERIFY(QDir().mkpath(filePath()));
    QTest::mouseClick(m_window->LoadPNG, Qt::LeftButton);
    QCOMPARE(m_window->Canvas1->backdrop(), backgroundjpg());
    QVERIFY(QDir(filePath()).removeRecursively());

    // A pipe would block the reader until someone writes into it.
    QCOMPARE(mkfifo(QFile::encodeName(filePath()).constData(), 0600), 0);
    QTest::mouseClick(m_window->LoadPNG, Qt::LeftButton);
    QCOMPARE(m_window->Canvas1->backdrop(), backgroundjpg());
    QVERIFY(m_services.messages.isEmpty());
}

void tst_messagefile::savesOnlyOverARegularFile_data()
{
    QTest::addColumn<Occupant>("occupant");
    QTest::newRow("pipe") << Occupant::Pipe;
    QTest::newRow("link to itself") << Occupant::LinkToItself;
    QTest::newRow("link loop") << Occupant::LinkLoop;
}

// Left as it is, and the save fails.
void tst_messagefile::savesOnlyOverARegularFile()
{
    QFETCH(Occupant, occupant);
    const QString other = QDir(m_home.desktop()).filePath(QStringLiteral("other"));
    switch (occupant) {
    case Occupant::Pipe:
        QCOMPARE(mkfifo(QFile::encodeName(filePath()).constData(), 0600), 0);
        break;
    case Occupant::LinkToItself:
        QVERIFY(QFile::link(filePath(), filePath()));
        break;
    case Occupant::LinkLoop:
        QVERIFY(QFile::link(other, filePath()));
        QVERIFY(QFile::link(filePath(), other));
        break;
    }
    const QString target = QFile::symLinkTarget(filePath());
    const QStringList entries = QDir(m_home.desktop()).entryList(QDir::System | QDir::Hidden);

    QTest::mouseClick(m_window->SavePNG, Qt::LeftButton);
    QCOMPARE(m_services.messages, QStringList{kSaveFailed});
    struct stat info = {};
    QCOMPARE(lstat(QFile::encodeName(filePath()).constData(), &info), 0);
    QCOMPARE(info.st_mode & S_IFMT, occupant == Occupant::Pipe ? S_IFIFO : S_IFLNK);
    QCOMPARE(QFile::symLinkTarget(filePath()), target);
    QCOMPARE(QDir(m_home.desktop()).entryList(QDir::System | QDir::Hidden), entries);
}

void tst_messagefile::savesThroughALink_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("link to a file") << true;
    QTest::newRow("link to nothing") << false;
}

// The file the link ends in takes the picture; the link stays.
void tst_messagefile::savesThroughALink()
{
    QFETCH(bool, targetExists);
    const QString target = QDir(m_home.path()).filePath(QStringLiteral("elsewhere.png"));
    QFile::remove(target);
    if (targetExists)
        QVERIFY(writeAll(target, pngOf(filled(QSize(560, 130), QColor(1, 2, 3)))));
    QVERIFY(QFile::link(target, filePath()));
    m_window->SecretText->setText(QStringLiteral("through a link"));

    QTest::mouseClick(m_window->SavePNG, Qt::LeftButton);
    QCOMPARE(m_services.messages, QStringList{kMessageSaved});
    QCOMPARE(QFile::symLinkTarget(filePath()), target);
    QCOMPARE(QImage(target).convertToFormat(QImage::Format_RGB32), captured(m_window));
    QFile::remove(target);
}

void tst_messagefile::desktopFromUserDirs_data()
{
    QTest::addColumn<QByteArray>("userDirs");
    QTest::addColumn<QString>("desktop"); // in the home
    const QByteArray home = QFile::encodeName(m_home.path());
    const QString fallback = QStringLiteral("Desktop");
    const auto file = [](const QByteArray &setting) {
        return "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=" + setting + "\n";
    };
    QTest::newRow("in the home") << file("\"$HOME/Schreibtisch\"")
                                 << QStringLiteral("Schreibtisch");
    QTest::newRow("from the root") << file("\"" + home + "/Bureau/\"") << QStringLiteral("Bureau");
    // Invalid by the XDG rules: ignored.
    QTest::newRow("relative") << file("\"relative/dir\"") << fallback;
    QTest::newRow("empty") << file("\"\"") << fallback;
    // As an editor on another system may leave it.
    QTest::newRow("CRLF line ends") << QByteArray("# written by xdg-user-dirs-update\r\n"
                                                  "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\r\n"
                                                  "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\r\n"
                                                  "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\r\n")
                                    << QStringLiteral("Bureau");
    QTest::newRow("the last of two wins") << QByteArray("XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                                                        "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n")
                                          << QStringLiteral("Bureau");
}

// The Desktop that user-dirs.dirs names, unless it names none from the root; the file goes
// there and nowhere else.
void tst_messagefile::desktopFromUserDirs()
{
    QFETCH(QByteArray, userDirs);
    QFETCH(QString, desktop);
    const QDir home(m_home.path());
    const QStringList folders{QStringLiteral("Desktop"), QStringLiteral("Schreibtisch"),
                              QStringLiteral("Bureau")};
    for (const QString &folder : folders)
        QVERIFY(home.mkpath(folder));
    // Where a relative setting leads from the current folder.
    const QDir work(m_home.enterWorkFolder());
    QVERIFY(work.mkpath(QStringLiteral("relative/dir")));
    QVERIFY(
        writeAll(QDir(m_home.preferences()).filePath(QStringLiteral("user-dirs.dirs")), userDirs));

    QTest::mouseClick(m_window->SavePNG, Qt::LeftButton);
    QCOMPARE(m_services.messages, QStringList{kMessageSaved});
    QStringList saved;
    for (const QString &folder : folders) {
        for (const QString &file :
             QDir(home.filePath(folder)).entryList(QDir::Files | QDir::Hidden))
            saved.append(folder + u'/' + file);
    }
    QCOMPARE(saved, QStringList{desktop + u'/' + kFileName});
    QCOMPARE(QImage(QDir(home.filePath(desktop)).filePath(kFileName))
                 .convertToFormat(QImage::Format_RGB32),
             captured(m_window));
    QVERIFY(QDir(work.filePath(QStringLiteral("relative/dir"))).isEmpty());
}

// A pipe in place of user-dirs.dirs is never opened: opening it would hang the save until
// someone opened it for writing. Here someone tries all along, and notices a reader.
void tst_messagefile::userDirsPipeIsNotRead()
{
    // Found before the pipe is there: finding it reads user-dirs.dirs too.
    const QString saved = filePath();
    const QByteArray pipe =
        QFile::encodeName(QDir(m_home.preferences()).filePath(QStringLiteral("user-dirs.dirs")));
    QCOMPARE(mkfifo(pipe.constData(), 0600), 0);
    std::atomic<bool> clicked = false;
    std::atomic<bool> opened = false;
    std::thread writer([&] {
        while (!clicked && !opened) {
            // Succeeds only while a reader has the pipe open; closing it lets the reader go on.
            if (const int fd = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK); fd >= 0) {
                opened = true;
                ::close(fd);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
    });
    QTest::mouseClick(m_window->SavePNG, Qt::LeftButton);
    clicked = true;
    writer.join();
    QVERIFY(!opened);
    QCOMPARE(m_services.messages, QStringList{kMessageSaved});
    QVERIFY(QFile::exists(saved));
}

void tst_messagefile::noUsableHomeSavesNothing_data()
{
    TestHome::unusableHomes_data();
}

// No Desktop to save to or load from: the save fails, the load does nothing.
void tst_messagefile::noUsableHomeSavesNothing()
{
    QFETCH(QByteArray, home);
    // A message where a relative home leads from the current folder.
    const QDir work(m_home.enterWorkFolder());
    QVERIFY(work.mkpath(QStringLiteral("home/Desktop")));
    const QString relative = work.filePath(QStringLiteral("home/Desktop/") + kFileName);
    const QByteArray old = pngOf(filled(QSize(560, 130), QColor(1, 2, 3)));
    QVERIFY(writeAll(relative, old));
    m_home.setEnv("HOME", home);
    // Never a file outside the test home, even where the program goes wrong.
    QVERIFY2(m_home.holds(m_home.desktop()), qPrintable(m_home.desktop()));

    QTest::mouseClick(m_window->LoadPNG, Qt::LeftButton);
    QCOMPARE(m_window->Canvas1->backdrop(), backgroundjpg());
    QTest::mouseClick(m_window->SavePNG, Qt::LeftButton);
    QCOMPARE(m_services.messages, QStringList{kSaveFailed});
    QCOMPARE(readAll(relative), old);
    QCOMPARE(
        QDir(work.filePath(QStringLiteral("home/Desktop"))).entryList(QDir::Files | QDir::Hidden),
        QStringList{kFileName});
}

QTEST_MAIN(tst_messagefile)
#include "tst_messagefile.moc"
