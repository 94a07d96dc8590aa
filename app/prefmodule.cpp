#include "app/prefmodule.h"

#include "framework/savefile.h"
#include "framework/specialfolder.h"
#include "framework/textnumber.h"
#include "framework/window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

namespace prefModule {

DirectiveList gDirectives;
qint32 Window1Top = 0;
qint32 Window1Left = 0;
QString PageSetup;

namespace {

const QLatin1String kFileName("tavrelo.txt");
const QLatin1String kPositionName("window1position");
// The program writes one short line; what lies further on is no file of its own, and one that
// keeps growing would hold start-up for good.
constexpr qint64 kMaxRead = 1024 * 1024;

// Reads lines ending in LF, CR or CR LF, a chunk at a time, from the first kMaxRead bytes of
// the file: the file ends there for it, and a line that goes on past that is not taken as a
// shorter one. What to keep of a line is decided from its first byte, so that a comment is
// skipped, and reading stops at the line that ends the directives, without that line or the
// rest of the file ever being held.
class LineReader
{
public:
    explicit LineReader(QFile &file)
        : m_file(file)
    {}

    // The first byte of the line that comes next: a line end for an empty line, -1 at the
    // end of the file.
    int peek()
    {
        if (m_pos >= m_buffer.size() && !refill())
            return -1;
        return uchar(m_buffer.at(m_pos));
    }

    // Passes over the byte that peek() gave.
    void skipByte() { ++m_pos; }

    // Takes the rest of the line and its line end; the line's bytes go to into, if given.
    // False when kMaxRead cut the line: the file goes on, but not within what is read.
    bool takeLine(QByteArray *into = nullptr)
    {
        for (;;) {
            if (m_pos >= m_buffer.size() && !refill())
                return !goesOnPastCap();
            const char *data = m_buffer.constData();
            qsizetype i = m_pos;
            while (i < m_buffer.size() && data[i] != '\n' && data[i] != '\r')
                ++i;
            if (into)
                into->append(data + m_pos, i - m_pos);
            if (i == m_buffer.size()) {
                m_pos = i;
                continue;
            }
            const bool cr = data[i] == '\r';
            m_pos = i + 1;
            if (cr && (m_pos < m_buffer.size() || refill()) && m_buffer.at(m_pos) == '\n')
                ++m_pos;
            return true;
        }
    }

private:
    bool refill()
    {
        const qint64 room = kMaxRead - m_taken;
        m_buffer = room > 0 ? m_file.read(qMin<qint64>(64 * 1024, room)) : QByteArray();
        m_taken += m_buffer.size();
        m_pos = 0;
        return !m_buffer.isEmpty();
    }

    // One byte more tells; the file is read unbuffered, so that is all that is read.
    bool goesOnPastCap() { return m_taken == kMaxRead && !m_file.read(1).isEmpty(); }

    QFile &m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qint64 m_taken = 0;
};

// The n-th comma-separated field of text, empty when there is none.
QString field(QLatin1StringView text, int n)
{
    return QString(text).section(u',', n, n);
}

} // namespace

directiveClass DirectiveList::operator[](std::size_t index) const
{
    directiveClass entry;
    std::size_t i = 0;
    forEach([&](QLatin1StringView name, QLatin1StringView text) {
        if (++i != index)
            return;
        entry.name = name;
        entry.text = text;
    });
    return entry;
}

void DirectiveList::clear()
{
    m_packed = QByteArray();
    m_count = 0;
}

QString filePath()
{
    // Without a Preferences folder there is no file: QDir would take the current folder.
    const QString folder = SpecialFolder::Preferences();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(kFileName);
}

qint32 toInt32(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lowest = std::numeric_limits<qint32>::min();
    constexpr double highest = std::numeric_limits<qint32>::max();
    return qint32(std::trunc(std::clamp(value, lowest, highest)));
}

bool extractDirectives(const QString &path)
{
    // A pipe would wait for a writer for good, a device never end.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    LineReader reader(file);
    QByteArray &packed = gDirectives.m_packed;
    for (int first = reader.peek(); first == '#' || first == '\''; first = reader.peek()) {
        if (first == '\'') {
            reader.takeLine();
            continue;
        }
        reader.skipByte();
        const qsizetype start = packed.size();
        const bool whole = reader.takeLine(&packed);
        const qsizetype blank = packed.indexOf(' ', start);
        if (!whole || blank < 0) {
            packed.truncate(start);
            continue;
        }
        // Each byte is one Latin-1 character, whose lower case is Latin-1 too.
        char *name = packed.data();
        for (qsizetype i = start; i < blank; ++i)
            name[i] = char(QChar::toLower(uchar(name[i])));
        packed.append('\n');
        ++gDirectives.m_count;
    }
    // A long line without a blank, or one cut at kMaxRead, was taken in and dropped again.
    packed.squeeze();
    return true;
}

void loadPrefs()
{
    if (!extractDirectives(filePath())) {
        Window1Top = 150;
        Window1Left = 150;
        return;
    }
    gDirectives.forEach([](QLatin1StringView name, QLatin1StringView text) {
        if (name.compare(kPositionName, Qt::CaseInsensitive) != 0)
            return;
        Window1Top = toInt32(Val(field(text, 0)));
        Window1Left = toInt32(Val(field(text, 1)));
    });
}

void savePrefs(const Window *mainWindow)
{
    // Only an open main window has a position worth keeping; during quit it may be gone.
    if (!mainWindow)
        return;
    const QByteArray line = "#Window1Position " + QByteArray::number(mainWindow->top()) + ',' +
                            QByteArray::number(mainWindow->left()) + '\n';
    // Whole or not at all: a failed write keeps the old position. Nothing is said either way.
    // A file the user may not write is replaced all the same, wherever it could be deleted: it
    // holds nothing but this line.
    saveAtomically(filePath(), line, UnwritableFile::Replace);
}

} // namespace prefModule
