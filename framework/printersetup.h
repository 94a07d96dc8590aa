#pragma once

#include <QString>

class QPrinter;

// A printer's page setup as text: the printer's name, the page size, the orientation and the
// margins, in a form that restores them exactly within the run that produced it.
QString printerSetupString(const QPrinter &printer);
// False, with the printer unchanged, when the text is no setup string.
bool setPrinterSetupString(QPrinter &printer, const QString &setup);
