#pragma once

#include <QDateTime>

#include <functional>

// "Page Setup": the notice, then the page-setup dialog; a confirmed setup is kept in
// prefModule::PageSetup for the rest of the run.
void runPageSetup();

// "Print Help": the print dialog, then the help window's styled text on fixed 540 by 720
// pages in points, each with "page N" and the time and date at its foot. Pages chosen in the
// dialog go out as they are in the whole print, the others not at all; a range beyond the last
// page prints nothing and says so. A cancelled dialog prints nothing and says nothing. While
// either command runs (its dialogs, or the pages of a print), choosing either again does
// nothing.
void printHelp();

// The clock "Print Help" reads the time and date of its footers from; the system's clock
// unless one is set here (an empty function sets the system's again).
void setPrintClock(std::function<QDateTime()> clock);
