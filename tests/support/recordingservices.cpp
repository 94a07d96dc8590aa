#include "tests/support/recordingservices.h"

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
    messages.append(text);
    if (whileMessageShown)
        whileMessageShown(text);
}

void RecordingServices::beep()
{
    ++beeps;
}

void RecordingServices::showURL(const QString &address)
{
    urls.append(address);
}

Services::Choice RecordingServices::messageDialog(const MessageDialog &dialog)
{
    dialogs.append(dialog);
    return dialogChoice;
}

bool RecordingServices::pageSetupDialog(QPrinter &printer)
{
    ++pageSetupDialogs;
    return onPageSetup(printer);
}

bool RecordingServices::printDialog(QPrinter &printer)
{
    ++printDialogs;
    return onPrint(printer);
}

void RecordingServices::clear()
{
    messages.clear();
    beeps = 0;
    urls.clear();
    dialogs.clear();
    pageSetupDialogs = 0;
    printDialogs = 0;
}
