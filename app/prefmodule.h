#pragma once

#include <QString>

#include <vector>

// One "#name text" line of the preferences file.
class directiveClass
{
public:
    QString name; // lower-cased, may be empty
    QString text; // everything after the first blank, as read
};

// The main window's position between runs, in "tavrelo.txt" in the Preferences folder:
// lines of "#" directives and "'" comments, read up to the first other line. Saving replaces
// the file with the one line "#Window1Position <top>,<left>".
namespace prefModule {

// Index 0 is an empty entry; directives stand at 1, 2, ... in file order.
extern std::vector<directiveClass> gDirectives;
extern qint32 Window1Top;
extern qint32 Window1Left;
// The last confirmed page setup, for this run only; never written to the file.
extern QString PageSetup;

QString filePath();

// True when the file could be opened, whatever it held; the directives found are appended.
bool extractDirectives(const QString &path);
void loadPrefs();
void savePrefs();

// A double as Int32: fractions cut toward zero, out-of-range values clamped.
qint32 toInt32(double value);

} // namespace prefModule
