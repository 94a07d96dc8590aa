#pragma once

#include "framework/services.h"

#include <QList>
#include <QStringList>

#include <functional>

// Stands in for the person at the screen: records what was shown and answers as told.
// Installs itself for its lifetime.
class RecordingServices final : public Services
{
public:
    RecordingServices();
    ~RecordingServices() override;

    void msgBox(const QString &text) override;
    void beep() override;
    bool showURL(const QString &address) override;
    Choice messageDialog(const MessageDialog &dialog) override;
    bool pageSetupDialog(QPrinter &printer) override;
    bool printDialog(QPrinter &printer) override;

    // Forgets what was recorded; launches succeed again and the print dialog prints all pages.
    void clear();

    // Every call in the order it came: "msgBox <text>", "beep", "showURL <address>",
    // "messageDialog <title>", "pageSetupDialog", "printDialog". A test may add its own events
    // (a window closing, say) to compare the whole sequence.
    QStringList calls;
    QStringList messages;
    int beeps = 0;
    QStringList urls;
    QList<MessageDialog> dialogs;

    // How the person answers; the defaults dismiss, cancel and confirm as noted.
    Choice dialogChoice = Choice::Cancel;
    // Whether a browser or mail program takes what showURL is given; false as if none were
    // installed, or it refused the address.
    bool launches = true;
    std::function<bool(QPrinter &)> onPageSetup = [](QPrinter &) { return false; };
    std::function<bool(QPrinter &)> onPrint = [](QPrinter &) { return false; };
    // The print dialog's "Pages from ... to ...", set on the printer when onPrint confirms, as
    // Qt's dialog sets it: a "to" below "from" counts as "from". 0: "All" stays chosen.
    int printFromPage = 0;
    int printToPage = 0;
    int pageSetupDialogs = 0;
    int printDialogs = 0;
    // Runs inside msgBox, as if the person did something while the box was up.
    std::function<void(const QString &)> whileMessageShown;
};
