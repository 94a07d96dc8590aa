#include "tests/support/recordingservices.h"

#include <QPrinter>

RecordingServices::RecordingServices()
{
    Services::install(this);
}

RecordingServices::~RecordingServices()
{
    Services::install(nullptr);
}

void RecordingServices::msgBox(const QString &text)
{
    calls.append(QStringLiteral("msgBox ") + text);
    messages.append(text);
    if (whileMessageShown)
        whileMessageShown(text);
}

void RecordingServices::beep()
{
    calls.append(QStringLiteral("beep"));
    ++beeps;
}

bool RecordingServices::showURL(const QString &address)
{
    calls.append(QStringLiteral("showURL ") + address);
    urls.append(address);
    return launches;
}

Services::Choice RecordingServices::messageDialog(const MessageDialog &dialog)
{
    calls.append(QStringLiteral("messageDialog ") + dialog.title);
    dialogs.append(dialog);
    return dialogChoice;
}

bool RecordingServices::pageSetupDialog(QPrinter &printer)
{
    calls.append(QStringLiteral("pageSetupDialog"));
    ++pageSetupDialogs;
    return onPageSetup(printer);
}

bool RecordingServices::printDialog(QPrinter &printer)
{
    calls.append(QStringLiteral("printDialog"));
    ++printDialogs;
    if (!onPrint(printer))
        return false;
    if (printFromPage > 0) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(printFromPage, qMax(printFromPage, printToPage));
    }
    return true;
}

void RecordingServices::clear()
{
    calls.clear();
    messages.clear();
    beeps = 0;
    urls.clear();
    dialogs.clear();
    pageSetupDialogs = 0;
    printDialogs = 0;
    launches = true;
    printFromPage = 0;
    printToPage = 0;
}
