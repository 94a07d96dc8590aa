#pragma once

#include <QLatin1StringView>
#include <QString>

#include <cstddef>

class Window;

// One "#name text" line of the preferences file.
class directiveClass
{
public:
    QString name; // lower-cased, may be empty
    QString text; // everything after the first blank, as read
};

// The main window's position between runs, in "tavrelo.txt" in the Preferences folder:
// lines of "#" directives and "'" comments, read up to the first other line and no further
// than the first MiB. Saving replaces the file with the one line
// "#Window1Position <top>,<left>".
namespace prefModule {

// The directives read, in file order after an empty entry 0 that is never filled. They are
// kept packed, each as the bytes of its name, one blank, its text and a line feed (no line
// holds one), so that a file of millions of short directives costs about its own size.
class DirectiveList
{
public:
    // The number of entries, entry 0 included: the upper bound plus 1.
    std::size_t size() const { return m_count + 1; }
    // Entry index, found by walking the list from its start.
    directiveClass operator[](std::size_t index) const;
    // Calls visit(name, text) for the entries 1, 2, ... in order.
    template <class Visit> void forEach(Visit visit) const;
    // Back to entry 0 alone, as at program start.
    void clear();

private:
    friend bool extractDirectives(const QString &path);

    QByteArray m_packed;
    std::size_t m_count = 0;
};

extern DirectiveList gDirectives;
extern qint32 Window1Top;
extern qint32 Window1Left;
// The last confirmed page setup, for this run only; never written to the file.
extern QString PageSetup;

// Empty when there is no Preferences folder: then nothing is read or written.
QString filePath();

// True when the file could be opened, whatever it held; the directives found are appended.
// Only a regular file (or a link to one) is opened, and only its first MiB is read: a line
// that goes on past it counts as not there.
bool extractDirectives(const QString &path);
void loadPrefs();
// Replaces the file with the main window's position; without a main window (nullptr) the
// file is left as it is.
void savePrefs(const Window *mainWindow);

// A double as Int32: fractions cut toward zero, out-of-range values clamped.
qint32 toInt32(double value);

template <class Visit> void DirectiveList::forEach(Visit visit) const
{
    // No encoding is declared: every byte stands for itself.
    const QLatin1StringView all(m_packed);
    for (qsizetype at = 0; at < all.size();) {
        const qsizetype blank = all.indexOf(u' ', at);
        const qsizetype end = all.indexOf(u'\n', blank + 1);
        visit(all.sliced(at, blank - at), all.sliced(blank + 1, end - blank - 1));
        at = end + 1;
    }
}

} // namespace prefModule
