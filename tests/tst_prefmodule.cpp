#include "app/app.h"
#include "app/prefmodule.h"
#include "message/window1.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/ordinaryuser.h"
#include "tests/support/prefs.h"
#include "tests/support/recordingservices.h"
#include "tests/support/testhome.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// Why a save fails.
enum class SaveFailure { UnwritableFolder, FullDisk };

// What stands at the preferences file's path.
enum class Special { Pipe, LinkToPipe, LinkToDevice, LinkToItself, LinkLoop };

// How many bytes this process has read so far, from files or anything else; -1 when the kernel
// does not tell.
qint64 bytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : io.readAll().split('\n')) {
        if (line.startsWith("rchar: "))
            return line.mid(7).toLongLong();
    }
    return -1;
}

// The type of what stands at path, a link not followed.
mode_t typeAt(const QString &path)
{
    struct stat info = {};
    return lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

// The permission bits of the file at path, a link followed.
int modeOf(const QString &path)
{
    struct stat info = {};
    return stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// While it lives, opens the writing end of the pipe whenever a reader waits on it, and closes
// it at once: a reader that opened the pipe then reads its end instead of waiting for good.
class PipeWriter
{
public:
    explicit PipeWriter(const QByteArray &path)
        : m_thread([this, path] {
            while (!m_stop) {
                const int fd = open(path.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        })
    {}
    ~PipeWriter()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

} // namespace

// The preferences file: how its lines are read and how the position is written back.
class tst_prefmodule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void reading_data();
    void reading();
    void largeFiles_data();
    void largeFiles();
    void hugeFileIsReadOnlyAtItsStart();
    void unreadableFileMeansNoFile();
    void extractDirectivesKeepsNamesAndTexts();
    void savedPositionReadsBack_data();
    void savedPositionReadsBack();
    void savingReplacesEverything();
    void firstQuitMakesTheFolder_data();
    void firstQuitMakesTheFolder();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void savingAsTheUserWhoMayNotWriteTheFile_data();
    void savingAsTheUserWhoMayNotWriteTheFile();
    void someoneElsesFileInASharedFolderIsKept();
    void noOpenWindowWritesNothing();
    void specialFilesAreLeftAlone_data();
    void specialFilesAreLeftAlone();
    void relativeConfigHomeIsIgnored_data();
    void relativeConfigHomeIsIgnored();
    void noUsableHomeReadsAndWritesNothing_data();
    void noUsableHomeReadsAndWritesNothing();

private:
    void writePrefs(const QByteArray &bytes) const;
    // Saves the position of a main window moved to top and left, as closing it does.
    static void saveWindowAt(int top, int left);

    TestHome m_home;
};

void tst_prefmodule::init()
{
    m_home.reset();
    TestPrefs::resetGlobals();
}

void tst_prefmodule::cleanup()
{
    if (Window1 *window = Window1::openInstance()) {
        window->setAttribute(Qt::WA_DeleteOnClose);
        delete window;
    }
    QFile::setPermissions(m_home.preferences(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void tst_prefmodule::writePrefs(const QByteArray &bytes) const
{
    QVERIFY(TestPrefs::writeFile(bytes));
}

void tst_prefmodule::saveWindowAt(int top, int left)
{
    App app;
    Window1 *window = Window1::instance();
    window->setTop(top);
    window->setLeft(left);
    prefModule::savePrefs(window);
}

void tst_prefmodule::reading_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");

    QTest::newRow("no file") << false << QByteArray() << 150 << 150;
    QTest::newRow("empty file") << true << QByteArray() << 0 << 0;
    QTest::newRow("position") << true << QByteArray("#Window1Position 40,60\n") << 40 << 60;
    QTest::newRow("no line end") << true << QByteArray("#Window1Position 40,60") << 40 << 60;
    QTest::newRow("CR line ends") << true << QByteArray("'c\r#Window1Position 4,6\r") << 4 << 6;
    QTest::newRow("CRLF line ends")
        << true << QByteArray("'c\r\n#Window1Position 4,6\r\n") << 4 << 6;
    QTest::newRow("lower case") << true << QByteArray("#window1position 1,2\n") << 1 << 2;
    QTest::newRow("capitals") << true << QByteArray("#WINDOW1POSITION 1,2\n") << 1 << 2;
    QTest::newRow("top only") << true << QByteArray("#Window1Position 70\n") << 70 << 0;
    QTest::newRow("no blank") << true << QByteArray("#Window1Position\n") << 0 << 0;
    QTest::newRow("nothing after blank") << true << QByteArray("#Window1Position \n") << 0 << 0;
    QTest::newRow("empty name") << true << QByteArray("# Window1Position 5,5\n") << 0 << 0;
    QTest::newRow("later line wins")
        << true << QByteArray("#Window1Position 1,2\n#Window1Position 3,4\n") << 3 << 4;
    QTest::newRow("comments and other directives first")
        << true << QByteArray("'hello\n#Other x\n#Window1Position 8,9\n") << 8 << 9;
    QTest::newRow("empty line stops") << true << QByteArray("\n#Window1Position 8,9\n") << 0 << 0;
    QTest::newRow("blank line stops")
        << true << QByteArray("#Window1Position 1,1\n \n#Window1Position 8,9\n") << 1 << 1;
    QTest::newRow("other character stops")
        << true << QByteArray("x\n#Window1Position 8,9\n") << 0 << 0;
    QTest::newRow("negative") << true << QByteArray("#Window1Position -20,-300\n") << -20 << -300;
    QTest::newRow("blanks before numbers")
        << true << QByteArray("#Window1Position  12, 13\n") << 12 << 13;
    QTest::newRow("not a number") << true << QByteArray("#Window1Position top,left\n") << 0 << 0;
    QTest::newRow("trailing text")
        << true << QByteArray("#Window1Position 12px,13px\n") << 12 << 13;
    QTest::newRow("fractions cut toward zero")
        << true << QByteArray("#Window1Position 12.9,-13.9\n") << 12 << -13;
    QTest::newRow("beyond Int32 clamps")
        << true << QByteArray("#Window1Position 99999999999,-99999999999\n") << INT_MAX << INT_MIN;
    QTest::newRow("exponent") << true << QByteArray("#Window1Position 1e2,1e999\n") << 100
                              << INT_MAX;
    QTest::newRow("binary") << true << QByteArray("\x89PNG\r\n\x1a\n\0\0#Window1Position 1,1", 24)
                            << 0 << 0;
    QTest::newRow("NUL inside the numbers")
        << true << QByteArray("#Window1Position 7\0,8\n", 22) << 7 << 8;
}

void tst_prefmodule::reading()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, contents);
    QFETCH(int, top);
    QFETCH(int, left);

    if (exists)
        writePrefs(contents);
    prefModule::loadPrefs();
    QCOMPARE(prefModule::Window1Top, top);
    QCOMPARE(prefModule::Window1Left, left);
}

void tst_prefmodule::largeFiles_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");

    constexpr int kMiB = 1 << 20;
    const QByteArray position("#Window1Position 31,32\n");
    QTest::newRow("comment line of nearly 1 MiB first")
        << "'" + QByteArray(kMiB - 64, 'x') + "\n" + position << 31 << 32;
    QTest::newRow("nearly 1 MiB of blanks in the position")
        << "#Window1Position " + QByteArray(kMiB - 64, ' ') + "5,6\n"
        << 5 << 6;
    QTest::newRow("10 MiB of directives")
        << QByteArray(10 * kMiB, '#').replace(0, 0, position) << 31 << 32;
    QTest::newRow("10 MiB after the last directive")
        << position + QByteArray(10 * kMiB, '\0') << 31 << 32;
    // Only the first MiB is read: the rest is no file the program wrote.
    const QByteArray fillsTheMiB = "'" + QByteArray(kMiB - 2, 'x') + "\n";
    QTest::newRow("position past the first MiB") << fillsTheMiB + position << 0 << 0;
    // A line the first MiB cuts is not one the file holds: the earlier position stays.
    const QByteArray earlier("#Window1Position 1,2\n");
    // The earlier position, then a comment up to byte `at`, then the line.
    const auto lineAt = [&](int at, const QByteArray &line) {
        return earlier + "'" + QByteArray(at - earlier.size() - 2, 'x') + "\n" + line;
    };
    const QByteArray later("#Window1Position 4321,60");
    QTest::newRow("cut inside the top") << lineAt(kMiB - 18, later + "\n") << 1 << 2;
    QTest::newRow("cut after the comma") << lineAt(kMiB - 22, later + "\n") << 1 << 2;
    QTest::newRow("cut before the line end") << lineAt(kMiB - 24, later + "\n") << 1 << 2;
    QTest::newRow("cut before the line end of a file that goes on")
        << lineAt(kMiB - 24, later + "\n'more\n") << 1 << 2;
    QTest::newRow("line end the last byte read")
        << lineAt(kMiB - 25, later + "\n'more\n") << 4321 << 60;
    QTest::newRow("CR the last byte read, LF past it")
        << lineAt(kMiB - 25, later + "\r\n'more\n") << 4321 << 60;
    QTest::newRow("file of exactly 1 MiB without a last line end")
        << lineAt(kMiB - 24, later) << 4321 << 60;
}

void tst_prefmodule::largeFiles()
{
    QFETCH(QByteArray, contents);
    QFETCH(int, top);
    QFETCH(int, left);
    writePrefs(contents);
    prefModule::loadPrefs();
    QCOMPARE(prefModule::Window1Top, top);
    QCOMPARE(prefModule::Window1Left, left);
}

// A file too big to read in any time, like one that keeps growing: only its start is read.
void tst_prefmodule::hugeFileIsReadOnlyAtItsStart()
{
    // After the position, a comment line that never ends, with nothing stored in it.
    writePrefs("#Window1Position 31,32\n'");
    QVERIFY(QFile::resize(prefModule::filePath(), qint64(64) << 20));
    const qint64 before = bytesRead();
    if (before < 0)
        QSKIP("needs the kernel's count of the bytes a process read");
    prefModule::loadPrefs();
    const qint64 read = bytesRead() - before;
    QCOMPARE(prefModule::Window1Top, 31);
    QCOMPARE(prefModule::Window1Left, 32);
    QVERIFY2(read < 2 << 20, qPrintable(QStringLiteral("%1 bytes read").arg(read)));
}

void tst_prefmodule::unreadableFileMeansNoFile()
{
    // A folder where the file should be cannot be opened as one.
    QVERIFY(QDir().mkpath(prefModule::filePath()));
    prefModule::loadPrefs();
    QCOMPARE(prefModule::Window1Top, 150);
    QCOMPARE(prefModule::Window1Left, 150);
    QVERIFY(QDir(prefModule::filePath()).removeRecursively());

    if (geteuid() == 0) {
        // Permissions do not bind root: read as nobody, who may not enter the test home.
        writePrefs("#Window1Position 1,2\n");
        QCOMPARE(seteuid(65534), 0);
        prefModule::loadPrefs();
        QCOMPARE(seteuid(0), 0);
    } else {
        writePrefs("#Window1Position 1,2\n");
        QVERIFY(QFile::setPermissions(prefModule::filePath(), QFileDevice::WriteOwner));
        prefModule::loadPrefs();
    }
    QCOMPARE(prefModule::Window1Top, 150);
    QCOMPARE(prefModule::Window1Left, 150);
}

void tst_prefmodule::extractDirectivesKeepsNamesAndTexts()
{
    writePrefs("#Name  two  blanks \n'comment\n#Bare\n# empty name\nstop\n#After 1\n");
    QVERIFY(prefModule::extractDirectives(prefModule::filePath()));
    QCOMPARE(prefModule::gDirectives.size(), std::size_t(3));
    QCOMPARE(prefModule::gDirectives[0].name, QString());
    QCOMPARE(prefModule::gDirectives[1].name, QStringLiteral("name"));
    QCOMPARE(prefModule::gDirectives[1].text, QStringLiteral(" two  blanks "));
    QCOMPARE(prefModule::gDirectives[2].name, QString());
    QCOMPARE(prefModule::gDirectives[2].text, QStringLiteral("empty name"));

    QVERIFY(!prefModule::extractDirectives(QString()));
    QVERIFY(!prefModule::extractDirectives(m_home.preferences() + QStringLiteral("/missing.txt")));
    QVERIFY(!prefModule::extractDirectives(m_home.preferences())); // a folder, not a file
    QCOMPARE(prefModule::gDirectives.size(), std::size_t(3));
}

void tst_prefmodule::savedPositionReadsBack_data()
{
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");
    QTest::newRow("start-up default") << 150 << 150;
    QTest::newRow("elsewhere") << 321 << 77;
    QTest::newRow("negative") << -40 << -60;
}

void tst_prefmodule::savedPositionReadsBack()
{
    QFETCH(int, top);
    QFETCH(int, left);
    saveWindowAt(top, left);
    QCOMPARE(TestPrefs::readFile(),
             "#Window1Position " + QByteArray::number(top) + ',' + QByteArray::number(left) + '\n');
    prefModule::loadPrefs();
    QCOMPARE(prefModule::Window1Top, top);
    QCOMPARE(prefModule::Window1Left, left);
}

void tst_prefmodule::savingReplacesEverything()
{
    writePrefs("'comment\n#Other x\n#Window1Position 1,2\n#More y\n");
    saveWindowAt(200, 210);
    QCOMPARE(TestPrefs::readFile(), QByteArray("#Window1Position 200,210\n"));
}

void tst_prefmodule::firstQuitMakesTheFolder_data()
{
    QTest::addColumn<QByteArray>("configHome"); // inside the test home; null: ~/.config
    QTest::newRow("no ~/.config") << QByteArray();
    QTest::newRow("configuration two folders deep") << QByteArray("/deep/config");
}

// On a first start the configuration folder may not exist yet: quitting makes it.
void tst_prefmodule::firstQuitMakesTheFolder()
{
    QFETCH(QByteArray, configHome);
    if (!configHome.isNull())
        m_home.setEnv("XDG_CONFIG_HOME", QFile::encodeName(m_home.path()) + configHome);
    QVERIFY(QDir(m_home.preferences()).removeRecursively());
    QVERIFY(!QFileInfo::exists(m_home.preferences()));

    prefModule::loadPrefs();
    App app;
    Window1 *window = Window1::instance();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->setTop(210);
    window->setLeft(190);
    QTRY_COMPARE(window->top(), 210);
    QVERIFY(window->close());
    QVERIFY(app.isQuitting());
    QCOMPARE(TestPrefs::readFile(), QByteArray("#Window1Position 210,190\n"));
}

void tst_prefmodule::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<SaveFailure>("how");
    QTest::newRow("unwritable folder") << SaveFailure::UnwritableFolder;
    QTest::newRow("full disk") << SaveFailure::FullDisk;
}

void tst_prefmodule::failedSaveKeepsOldFile()
{
    QFETCH(SaveFailure, how);
    writePrefs("#Window1Position 1,2\n");
    App app;
    Window1 *window = Window1::instance();
    window->setTop(300);
    // Permissions do not bind root, so as root the save runs as nobody instead.
    const bool asNobody = how == SaveFailure::UnwritableFolder && geteuid() == 0;
    std::optional<FileSizeLimit> limit;
    switch (how) {
    case SaveFailure::UnwritableFolder:
        if (asNobody)
            QCOMPARE(seteuid(65534), 0);
        else
            QVERIFY(QFile::setPermissions(m_home.preferences(),
                                          QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        break;
    case SaveFailure::FullDisk:
        // As a full disk would: writes beyond a few bytes fail.
        limit.emplace(8);
        break;
    }
    prefModule::savePrefs(window);
    limit.reset();
    if (asNobody)
        QCOMPARE(seteuid(0), 0);
    QCOMPARE(TestPrefs::readFile(), QByteArray("#Window1Position 1,2\n"));
}

void tst_prefmodule::savingAsTheUserWhoMayNotWriteTheFile_data()
{
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<int>("folderMode"); // of the folder that holds the file
    QTest::addColumn<bool>("linked");    // the preferences file a link to it, from elsewhere
    QTest::addColumn<bool>("replaced");

    // Where the file could be deleted and made anew, it is replaced.
    QTest::newRow("read-only file") << 0444 << 0700 << false << true;
    QTest::newRow("unreadable file") << 0000 << 0700 << false << true;
    QTest::newRow("link to a read-only file") << 0444 << 0700 << true << true;
    // In a folder the user may not write, nothing is saved.
    QTest::newRow("read-only file in a read-only folder") << 0444 << 0500 << false << false;
    QTest::newRow("writable file in a read-only folder") << 0644 << 0500 << false << false;
}

void tst_prefmodule::savingAsTheUserWhoMayNotWriteTheFile()
{
    QFETCH(int, fileMode);
    QFETCH(int, folderMode);
    QFETCH(bool, linked);
    QFETCH(bool, replaced);
    const QString path = prefModule::filePath();
    const QString folder = linked ? m_home.path() + QStringLiteral("/kept") : m_home.preferences();
    const QString file = folder + QStringLiteral("/tavrelo.txt");
    if (linked) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(file, path));
    }
    QVERIFY(TestPrefs::writeFile(file, "#Window1Position 1,2\n"));
    QCOMPARE(chmod(QFile::encodeName(file).constData(), mode_t(fileMode)), 0);
    App app;
    Window1 *window = Window1::instance();
    window->setTop(300);
    window->setLeft(250);
    RecordingServices services;
    const auto restoreMask = qScopeGuard([mask = umask(022)] { umask(mask); });
    {
        OrdinaryUser user(m_home.path());
        QVERIFY(user.ok());
        QCOMPARE(chmod(QFile::encodeName(folder).constData(), mode_t(folderMode)), 0);
        prefModule::savePrefs(window);
        QCOMPARE(chmod(QFile::encodeName(folder).constData(), 0700), 0);
    }

    if (replaced) {
        QCOMPARE(TestPrefs::readFile(path), QByteArray("#Window1Position 300,250\n"));
        // A new file as any other, which the user may write again next time.
        QCOMPARE(modeOf(file), 0644);
    } else {
        QCOMPARE(TestPrefs::readFile(path), QByteArray("#Window1Position 1,2\n"));
        QCOMPARE(modeOf(file), fileMode);
    }
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                    QDir::System),
             QStringList{QStringLiteral("tavrelo.txt")});
    if (linked)
        QCOMPARE(typeAt(path), S_IFLNK);
    QCOMPARE(services.calls, QStringList());
}

// In a folder that everyone may write, only its owner may delete a file (the sticky bit, as
// on /tmp): another user's file there stays as it was, and nothing is left beside it.
void tst_prefmodule::someoneElsesFileInASharedFolderIsKept()
{
    if (geteuid() != 0)
        QSKIP("needs a file of another user: run as root");
    const QTemporaryDir shared;
    QVERIFY(shared.isValid());
    QCOMPARE(chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    m_home.setEnv("XDG_CONFIG_HOME", QFile::encodeName(shared.path()));
    const QString path = prefModule::filePath();
    QCOMPARE(path, shared.path() + QStringLiteral("/tavrelo.txt"));
    QVERIFY(TestPrefs::writeFile(path, "#Window1Position 1,2\n"));
    QCOMPARE(chmod(QFile::encodeName(path).constData(), 0444), 0);
    App app;
    Window1 *window = Window1::instance();
    window->setTop(300);
    window->setLeft(250);
    {
        OrdinaryUser user(m_home.path());
        QVERIFY(user.ok());
        prefModule::savePrefs(window);
    }

    QCOMPARE(TestPrefs::readFile(path), QByteArray("#Window1Position 1,2\n"));
    QCOMPARE(modeOf(path), 0444);
    QCOMPARE(QDir(shared.path())
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
             QStringList{QStringLiteral("tavrelo.txt")});
}

void tst_prefmodule::noOpenWindowWritesNothing()
{
    writePrefs("#Window1Position 1,2\n");
    prefModule::savePrefs(Window1::openInstance());
    QCOMPARE(TestPrefs::readFile(), QByteArray("#Window1Position 1,2\n"));
    QVERIFY(!Window1::openInstance());
}

void tst_prefmodule::specialFilesAreLeftAlone_data()
{
    QTest::addColumn<Special>("special");
    QTest::newRow("pipe") << Special::Pipe;
    QTest::newRow("link to a pipe") << Special::LinkToPipe;
    QTest::newRow("link to a device") << Special::LinkToDevice;
    QTest::newRow("link to itself") << Special::LinkToItself;
    QTest::newRow("link loop") << Special::LinkLoop;
}

void tst_prefmodule::specialFilesAreLeftAlone()
{
    QFETCH(Special, special);
    const QString path = prefModule::filePath();
    const QString pipe = m_home.path() + QStringLiteral("/pipe");
    // A device node of this test's own, like /dev/null: a save that went wrong can only
    // replace this one.
    const QString device = m_home.path() + QStringLiteral("/null");
    const QString loop = m_home.path() + QStringLiteral("/loop");
    for (const QString &other : {pipe, device, loop})
        QFile::remove(other);
    switch (special) {
    case Special::Pipe:
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
    case Special::LinkToPipe:
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(QFile::link(pipe, path));
        break;
    case Special::LinkToDevice:
        if (mknod(QFile::encodeName(device).constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
            QSKIP("needs to make a device node (root)");
        QVERIFY(QFile::link(device, path));
        break;
    case Special::LinkToItself:
        QVERIFY(QFile::link(path, path));
        break;
    case Special::LinkLoop:
        QVERIFY(QFile::link(loop, path));
        QVERIFY(QFile::link(path, loop));
        break;
    }
    const QString target = special == Special::Pipe ? path : QFile::symLinkTarget(path);
    mode_t type = S_IFLNK;
    if (special == Special::Pipe || special == Special::LinkToPipe)
        type = S_IFIFO;
    else if (special == Special::LinkToDevice)
        type = S_IFCHR;
    QCOMPARE(typeAt(target), type);

    {
        std::optional<PipeWriter> writer;
        if (type == S_IFIFO)
            writer.emplace(QFile::encodeName(target));
        prefModule::loadPrefs();
    }
    // As a file that cannot be opened.
    QCOMPARE(prefModule::Window1Top, 150);
    QCOMPARE(prefModule::Window1Left, 150);

    saveWindowAt(200, 210);
    QCOMPARE(typeAt(path), special == Special::Pipe ? S_IFIFO : S_IFLNK);
    QCOMPARE(special == Special::Pipe ? path : QFile::symLinkTarget(path), target);
    QCOMPARE(typeAt(target), type);
    QCOMPARE(QDir(m_home.preferences())
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
             QStringList{QStringLiteral("tavrelo.txt")});
}

void tst_prefmodule::relativeConfigHomeIsIgnored_data()
{
    QTest::addColumn<QByteArray>("configHome");
    QTest::newRow("relative") << QByteArray("relative/cfg");
    QTest::newRow("empty") << QByteArray("");
}

// The XDG rules hold a relative XDG_CONFIG_HOME invalid: the file stays in ~/.config.
void tst_prefmodule::relativeConfigHomeIsIgnored()
{
    QFETCH(QByteArray, configHome);
    const QString inConfig = QDir(m_home.path()).filePath(QStringLiteral(".config/tavrelo.txt"));
    QCOMPARE(prefModule::filePath(), inConfig);
    writePrefs("#Window1Position 40,60\n");
    // Where the relative setting leads from the current folder.
    const QDir work(m_home.enterWorkFolder());
    const QString relative = work.filePath(QString::fromLatin1(configHome + "/tavrelo.txt"));
    if (!configHome.isEmpty()) {
        QVERIFY(work.mkpath(QString::fromLatin1(configHome)));
        QVERIFY(TestPrefs::writeFile(relative, "#Window1Position 1,2\n"));
    }
    m_home.setEnv("XDG_CONFIG_HOME", configHome);

    prefModule::loadPrefs();
    QCOMPARE(prefModule::Window1Top, 40);
    QCOMPARE(prefModule::Window1Left, 60);
    saveWindowAt(200, 210);
    QCOMPARE(TestPrefs::readFile(inConfig), QByteArray("#Window1Position 200,210\n"));
    if (!configHome.isEmpty())
        QCOMPARE(TestPrefs::readFile(relative), QByteArray("#Window1Position 1,2\n"));
}

void tst_prefmodule::noUsableHomeReadsAndWritesNothing_data()
{
    TestHome::unusableHomes_data();
}

// As with a folder that cannot be read or written: the position defaults, nothing is saved
// and nothing is said.
void tst_prefmodule::noUsableHomeReadsAndWritesNothing()
{
    QFETCH(QByteArray, home);
    // A file where a relative home leads from the current folder.
    const QDir work(m_home.enterWorkFolder());
    QVERIFY(work.mkpath(QStringLiteral("home/.config")));
    const QString relative = work.filePath(QStringLiteral("home/.config/tavrelo.txt"));
    QVERIFY(TestPrefs::writeFile(relative, "#Window1Position 1,2\n"));
    m_home.setEnv("HOME", home);
    // Never a file outside the test home, even where the program goes wrong.
    QVERIFY2(m_home.holds(prefModule::filePath()), qPrintable(prefModule::filePath()));

    prefModule::loadPrefs();
    QCOMPARE(prefModule::Window1Top, 150);
    QCOMPARE(prefModule::Window1Left, 150);
    saveWindowAt(200, 210);
    QCOMPARE(TestPrefs::readFile(relative), QByteArray("#Window1Position 1,2\n"));
    QCOMPARE(work.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("home")});
}

QTEST_MAIN(tst_prefmodule)
#include "tst_prefmodule.moc"
