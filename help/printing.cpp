#include "help/printing.h"

#include "app/prefmodule.h"
#include "framework/editfield.h"
#include "framework/printersetup.h"
#include "framework/resolution.h"
#include "framework/services.h"
#include "help/help.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QImage>
#include <QLocale>
#include <QPageRanges>
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

// The pages the person chose in the print dialog; empty for all of them. Qt leaves printing
// only those to the program.
QPageRanges chosenPages(const QPrinter &printer)
{
    return printer.printRange() == QPrinter::PageRange ? printer.pageRanges() : QPageRanges();
}

// How many pages the field's text takes, laid out as for a printer of that resolution.
int pageCount(EditField *field, int dpi)
{
    QImage device(1, 1, QImage::Format_RGB32);
    setLogicalDpi(device, dpi, dpi);
    QPainter g(&device);
    StyledTextPrinter stp = field->styledTextPrinter(&g, kWrapWidth);
    int pages = 1;
    for (stp.skipBlock(kBlockHeight); !stp.isEOF(); stp.skipBlock(kBlockHeight))
        ++pages;
    return pages;
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
    const QPageRanges chosen = chosenPages(printer);
    const auto isChosen = [&chosen](int page) { return chosen.isEmpty() || chosen.contains(page); };

    Help *help = Help::instance();
    help->show();
    // Known before the job starts: a range beyond the last page would otherwise give a blank
    // page, with nothing to say it is not the help.
    if (!chosen.isEmpty()) {
        const int pages = pageCount(help->EditField1, printer.logicalDpiY());
        if (chosen.firstPage() > pages) {
            MsgBox(pages == 1
                       ? QStringLiteral("The help has only 1 page, so nothing was printed.")
                       : QStringLiteral("The help has only %1 pages, so nothing was printed.")
                             .arg(pages));
            return;
        }
    }

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

    // Pages left out are laid out all the same and only not drawn, so that each page printed
    // has the text, the number and the fonts it has in the whole print.
    StyledTextPrinter stp = help->EditField1->styledTextPrinter(&g, kWrapWidth);
    bool anyPrinted = false;
    while (!stp.isEOF()) {
        const bool printed = isChosen(page);
        if (printed) {
            stp.DrawBlock(kBlockLeft, kBlockTop, kBlockHeight);
            anyPrinted = true;
        } else {
            stp.skipBlock(kBlockHeight);
        }
        if (!stp.isEOF()) {
            if (printed)
                drawFooter(g, page, dateText);
            setFont(g, QStringLiteral("Courier"), true);
            ++page;
            if (anyPrinted && isChosen(page))
                printer.newPage();
        }
        QCoreApplication::processEvents();
    }
    if (isChosen(page))
        drawFooter(g, page, dateText);
}

void setPrintClock(std::function<QDateTime()> clock)
{
    s_clock = clock ? std::move(clock) : systemTime;
}
