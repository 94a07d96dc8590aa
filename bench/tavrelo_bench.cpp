// Medians of the message road's costs on this machine, each beside a floor measured in the
// same run, so that the ratios hold on a busy machine; and the application's start-up against
// a bare Qt window, as whole processes and in instructions under callgrind.
//
//   tavrelo_bench [--runs N] [--startup-runs N] [--no-callgrind]

#include "framework/canvas.h"
#include "framework/editfield.h"
#include "framework/picturecapture.h"
#include "framework/services.h"
#include "message/module1.h"
#include "message/revealpicture.h"
#include "message/window1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The person at the screen dismisses every box at once.
class SilentServices final : public Services
{
public:
    void msgBox(const QString &) override {}
    void beep() override {}
    bool showURL(const QString &) override { return true; }
    Choice messageDialog(const MessageDialog &) override { return Choice::Cancel; }
    bool pageSetupDialog(QPrinter &) override { return false; }
    bool printDialog(QPrinter &) override { return false; }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double microseconds(const std::function<void()> &work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

struct Figure
{
    double median;
    double floor;
};

// Runs measured and floor in alternating blocks, so both see the same machine while neither
// disturbs the other's caches run by run.
Figure measure(int runs, const std::function<void()> &work, const std::function<void()> &floor,
               const std::function<void()> &between = {})
{
    constexpr int kBlocks = 10;
    const int perBlock = std::max(1, runs / kBlocks);
    std::vector<double> worked, floored;
    auto block = [&](const std::function<void()> &what, std::vector<double> &into) {
        for (int i = 0; i < perBlock + 1; ++i) {
            const double us = microseconds(what);
            if (between)
                between();
            if (i > 0) // the first run of a block warms its caches up
                into.push_back(us);
        }
    };
    for (int b = 0; b < kBlocks; ++b) {
        block(floor, floored);
        block(work, worked);
    }
    return {median(worked), median(floored)};
}

void report(const char *name, const Figure &figure, const char *floorName, const char *goal)
{
    std::printf("%-44s %10.1f us   floor %9.1f us (%s)   x%-6.2f goal: %s\n", name, figure.median,
                figure.floor, floorName, figure.median / figure.floor, goal);
}

QString sampleText(int characters)
{
    const QString words = QStringLiteral(
        "Dear Sam, the holidays were great and the weather was sunny nearly every day. ");
    return words.repeated(characters / words.size() + 1).left(characters);
}

void waitExposed(QWidget *window)
{
    QElapsedTimer timer;
    timer.start();
    while (!(window->windowHandle() && window->windowHandle()->isExposed()) &&
           timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
}

void sendEnter(QWidget *widget)
{
    const QPointF inside(5, 5);
    QEnterEvent enter(inside, inside, widget->mapToGlobal(inside));
    QCoreApplication::sendEvent(widget, &enter);
}

void sendLeave(QWidget *widget)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

void benchMessageRoad(int runs, const QString &desktop)
{
    Window1 *window = Window1::instance();
    window->show();
    waitExposed(window);
    Canvas *canvas = window->Canvas1;

    auto backdropAlone = [&] {
        Module1::CopyBack = true;
        canvas->repaint();
        Module1::CopyBack = false;
    };
    const QString secret = sampleText(75);

    std::printf("\nThe picture area (%d runs each, medians)\n", runs);
    for (const int characters : {2000, 300}) {
        window->InnocentText->setText(sampleText(characters));
        window->SecretText->setText(secret);
        const Figure paint = measure(
            runs, [&] { canvas->repaint(); }, backdropAlone);
        const QByteArray name =
            QStringLiteral("paint, %1-char message + 75-char secret").arg(characters).toLatin1();
        report(name.constData(), paint, "backdrop alone",
               characters == 2000 ? "<= 300 us" : "<= 80 us");
    }

    window->InnocentText->setText(sampleText(2000));
    window->SecretText->setText(secret);
    const Figure reveal = measure(
        runs, [&] { sendEnter(window->Filter1); }, backdropAlone,
        [&] { sendLeave(window->Filter1); });
    report("whole reveal (capture, classify, show)", reveal, "backdrop alone", "<= 600 us");

    const Figure capture = measure(
        runs, [&] { capturePicture(window->content(), canvas->geometry(), Module1::MySnapshot); },
        backdropAlone);
    report("  its capture", capture, "backdrop alone", "-");

    QImage picture;
    RevealPicture::build(Module1::MySnapshot, picture);
    quint32 sink = 0;
    const Figure classify = measure(
        runs * 4, [&] { RevealPicture::build(Module1::MySnapshot, picture); },
        [&] {
            QImage fresh(560, 130, QImage::Format_RGB32);
            fresh.fill(Qt::white);
            sink += fresh.constBits()[7];
        });
    report("  its classify step", classify, "new 560x130 filled", "within x4 of floor");

    std::printf("\n\"My Message.png\" (%d runs each, medians)\n", runs);
    const QString file = QDir(desktop).filePath(QStringLiteral("My Message.png"));
    const QString raw = QDir(desktop).filePath(QStringLiteral("raw pixels"));
    window->SavePNG->click();
    const QByteArray pixels(reinterpret_cast<const char *>(Module1::P.constBits()),
                            Module1::P.sizeInBytes());
    const Figure save = measure(
        runs, [&] { window->SavePNG->click(); },
        [&] {
            QSaveFile out(raw);
            if (out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                out.write(pixels);
            out.commit();
        });
    report("save (capture, encode, write, replace)", save, "raw pixels written", "<= 10000 us");
    const Figure load = measure(
        runs, [&] { window->LoadPNG->click(); },
        [&] {
            QFile in(raw);
            if (in.open(QIODevice::ReadOnly))
                sink += quint8(in.readAll().at(3));
        });
    report("load (read, decode, show)", load, "raw pixels read", "-");
    window->LoadPNG->click();
    const bool identical = canvas->backdrop() == Module1::P;
    std::printf("%-44s %10.1f KB   raw %.1f KB   pixels identical on reload: %s  goal: <= 160 KB\n",
                "file size", QFileInfo(file).size() / 1024.0, pixels.size() / 1024.0,
                identical ? "yes" : "NO");
    if (sink == 0xdeadbeef)
        std::puts("");
    window->close();
}

qint64 callgrindInstructions(const QString &program, const QStringList &arguments,
                             const QProcessEnvironment &environment)
{
    QProcess valgrind;
    valgrind.setProcessEnvironment(environment);
    valgrind.start(QStringLiteral("valgrind"),
                   QStringList{QStringLiteral("--tool=callgrind"),
                               QStringLiteral("--callgrind-out-file=/dev/null"), program} +
                       arguments);
    if (!valgrind.waitForFinished(300000))
        return -1;
    // The program's own count: a child it forks (D-Bus on some platforms) reports its own.
    const QString log = QString::fromLocal8Bit(valgrind.readAllStandardError());
    const QRegularExpressionMatch first =
        QRegularExpression(QStringLiteral("^==([0-9]+)==")).match(log);
    if (!first.hasMatch())
        return -1;
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("==%1== Collected : ([0-9]+)").arg(first.captured(1)))
            .match(log);
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

void benchStartup(int runs, bool withCallgrind, const QString &home)
{
    const QString dir = QCoreApplication::applicationDirPath();
    const QString tavrelo = QDir(dir).filePath(QStringLiteral("startup_tavrelo"));
    const QString bare = QDir(dir).filePath(QStringLiteral("startup_bare"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    auto once = [&](const QString &program, const QStringList &arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const auto start = Clock::now();
        process.start(program, arguments);
        process.waitForFinished(60000);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 ? ms : -1.0;
    };
    // The bare window as it is, and with one line of text: a program that shows any text pays
    // for the font database, which the bare window never loads.
    const QStringList withText{QStringLiteral("--label")};
    std::vector<double> tavreloMs, bareMs, labelMs;
    for (int i = 0; i < runs + 2; ++i) {
        const double b = once(bare, {});
        const double l = once(bare, withText);
        const double t = once(tavrelo, {});
        if (t < 0 || b < 0 || l < 0) {
            std::printf("start-up programs failed to run\n");
            return;
        }
        if (i >= 2) {
            bareMs.push_back(b);
            labelMs.push_back(l);
            tavreloMs.push_back(t);
        }
    }
    const double t = median(tavreloMs), b = median(bareMs), l = median(labelMs);
    std::printf("\nStart-up to the main window's first paint and exit, whole processes "
                "(%d runs each, platform %s)\n",
                runs, qPrintable(environment.value(QStringLiteral("QT_QPA_PLATFORM"))));
    // The goals stand against the bare window with one label: any window that shows text pays
    // for Qt's font database, which the bare window alone never loads.
    std::printf("%-44s %10.1f ms   bare  %9.1f ms                  x%-6.2f\n", "start-up", t, b,
                t / b);
    std::printf("%-44s %10.1f ms   bare with a label %5.1f ms          x%-6.2f goal: <= x1.30\n",
                "start-up", t, l, t / l);
    if (!withCallgrind)
        return;
    const qint64 ti = callgrindInstructions(tavrelo, {}, environment);
    const qint64 bi = callgrindInstructions(bare, {}, environment);
    const qint64 li = callgrindInstructions(bare, withText, environment);
    if (ti < 0 || bi < 0 || li < 0) {
        std::printf("callgrind did not run (is valgrind installed?)\n");
        return;
    }
    std::printf("%-44s %10.1f M    bare  %9.1f M                   x%-6.2f\n",
                "start-up instructions (callgrind)", ti / 1e6, bi / 1e6, double(ti) / bi);
    std::printf("%-44s %10.1f M    bare with a label %5.1f M           x%-6.2f goal: <= x1.60\n",
                "start-up instructions (callgrind)", ti / 1e6, li / 1e6, double(ti) / li);
}

} // namespace

int main(int argc, char *argv[])
{
    int runs = 300;
    int startupRuns = 40;
    bool callgrind = true;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, atoi(argv[++i]));
        else if (arg == "--startup-runs" && i + 1 < argc)
            startupRuns = std::max(1, atoi(argv[++i]));
        else if (arg == "--no-callgrind")
            callgrind = false;
    }

    // Its own home: the Desktop, the preferences and the start-up runs stay out of the user's.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        qunsetenv(name);
    // Without a private runtime folder Qt warns at every start of the start-up programs.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
    const QString desktop = home.path() + QStringLiteral("/Desktop");
    QDir().mkpath(desktop);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    SilentServices services;
    Services::install(&services);
    if (QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) != desktop)
        qFatal("the benchmark's Desktop lies outside its home");

    benchMessageRoad(runs, desktop);
    benchStartup(startupRuns, callgrind, home.path());
    Services::install(nullptr);
    return 0;
}
