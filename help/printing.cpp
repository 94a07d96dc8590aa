#include "help/printing.h"

#include "app/prefmodule.h"
#include "framework/editfield.h"
#include "framework/printersetup.h"
#include "framework/services.h"
#include "help/help.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QScopedValueRollback>

namespace {

bool s_busy = false;

QDateTime systemTime()
{
    return QDateTime::currentDateTime();
}

std::function<QDateTime()> s_clock = systemTime;

// The page in points, whatever the paper and the printer's resolution.
constexpr qreal kPageWidth = 540;
constexpr qreal kPageHeight = 720;
constexpr qreal kBlockLeft = 36;
constexpr qreal kBlockTop = 36;
constexpr qreal kWrapWidth = kPageWidth - 48;
constexpr qreal kBlockHeight = kPageHeight - 48;
constexpr QPointF kPageLabel(40, 720);
constexpr QPointF kDateText(100, 720);

void setFont(QPainter &g, const QString &family, bool bold)
{
    QFont font = g.font();
    font.setFamily(family);
    font.setBold(bold);
    g.setFont(font);
}

void drawFooter(QPainter &g, int page, const QString &dateText)
{
    setFont(g, QStringLiteral("Arial"), false);
    g.drawText(kPageLabel, QStringLiteral("page %1").arg(page));
    g.drawText(kDateText, dateText);
}

} // namespace

void runPageSetup()
{
    if (s_busy)
        return;
    const QScopedValueRollback busy(s_busy, true);
    MsgBox(QStringLiteral("Select Portrait Layout."));
    QPrinter printer;
    if (!prefModule::PageSetup.isEmpty())
        setPrinterSetupString(printer, prefModule::PageSetup);
    if (Services::current().pageSetupDialog(printer))
        prefModule::PageSetup = printerSetupString(printer);
}

void printHelp()
{
    // The page loop lets events through, and with them another print or page setup.
    if (s_busy)
        return;
    const QScopedValueRollback busy(s_busy, true);

    QPrinter printer;
    // Taken as the command starts: every page shows this moment, however long the dialog
    // stays open or the pages take.
    const QDateTime now = s_clock();
    const QLocale locale;
    const QString dateText =
        QStringLiteral("%1, %2").arg(locale.toString(now.time(), QLocale::ShortFormat),
                                     locale.toString(now.date(), QLocale::ShortFormat));
    int page = 1;

    const bool setupStored = !prefModule::PageSetup.isEmpty();
    if (setupStored)
        setPrinterSetupString(printer, prefModule::PageSetup);
    if (!Services::current().printDialog(printer))
        return;

    // At 72 dots per inch a device pixel is a point, and the text is laid out for it.
    printer.setResolution(72);
    QPainter g;
    if (!g.begin(&printer)) {
        MsgBox(QStringLiteral("The help could not be printed."));
        return;
    }
    if (!setupStored) {
        QFont font = g.font();
        font.setFamily(QStringLiteral("Courier"));
        font.setPointSize(10);
        font.setBold(true);
        g.setFont(font);
        g.setPen(Qt::black);
    }

    Help *help = Help::instance();
    help->show();
    StyledTextPrinter stp = help->EditField1->styledTextPrinter(&g, kWrapWidth);
    while (!stp.isEOF()) {
        stp.DrawBlock(kBlockLeft, kBlockTop, kBlockHeight);
        if (!stp.isEOF()) {
            drawFooter(g, page, dateText);
            setFont(g, QStringLiteral("Courier"), true);
            ++page;
            printer.newPage();
        }
        QCoreApplication::processEvents();
    }
    drawFooter(g, page, dateText);
}

void setPrintClock(std::function<QDateTime()> clock)
{
    s_clock = clock ? std::move(clock) : systemTime;
}
