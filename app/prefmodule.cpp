#include "app/prefmodule.h"

#include "framework/specialfolder.h"
#include "framework/textnumber.h"
#include "message/window1.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <limits>

namespace prefModule {

std::vector<directiveClass> gDirectives(1);
qint32 Window1Top = 0;
qint32 Window1Left = 0;
QString PageSetup;

namespace {

const QLatin1String kFileName("tavrelo.txt");
const QLatin1String kPositionName("window1position");

// Reads lines ending in LF, CR or CR LF, a chunk at a time, so that reading can stop at the
// first line that ends the directives without taking in the rest of the file.
class LineReader
{
public:
    explicit LineReader(QFile &file)
        : m_file(file)
    {}

    bool atEnd() const { return m_pos >= m_buffer.size() && m_file.atEnd(); }

    QByteArray readLine()
    {
        QByteArray line;
        for (;;) {
            if (m_pos >= m_buffer.size() && !refill())
                return line;
            const char *data = m_buffer.constData();
            qsizetype i = m_pos;
            while (i < m_buffer.size() && data[i] != '\n' && data[i] != '\r')
                ++i;
            line.append(data + m_pos, i - m_pos);
            if (i == m_buffer.size()) {
                m_pos = i;
                continue;
            }
            const bool cr = data[i] == '\r';
            m_pos = i + 1;
            if (cr && (m_pos < m_buffer.size() || refill()) && m_buffer.at(m_pos) == '\n')
                ++m_pos;
            return line;
        }
    }

private:
    bool refill()
    {
        m_buffer = m_file.read(64 * 1024);
        m_pos = 0;
        return !m_buffer.isEmpty();
    }

    QFile &m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
};

} // namespace

QString filePath()
{
    return QDir(SpecialFolder::Preferences()).filePath(kFileName);
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
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    LineReader reader(file);
    while (!reader.atEnd()) {
        // No encoding is declared: every byte stands for itself.
        const QString line = QString::fromLatin1(reader.readLine());
        const QChar first = line.isEmpty() ? QChar() : line.at(0);
        if (first == u'\'')
            continue;
        if (first != u'#')
            break;
        const qsizetype blank = line.indexOf(u' ');
        if (blank < 0)
            continue;
        directiveClass directive;
        directive.name = line.mid(1, blank - 1).toLower();
        directive.text = line.mid(blank + 1);
        gDirectives.push_back(std::move(directive));
    }
    return true;
}

void loadPrefs()
{
    if (!extractDirectives(filePath())) {
        Window1Top = 150;
        Window1Left = 150;
        return;
    }
    for (std::size_t i = 1; i < gDirectives.size(); ++i) {
        const directiveClass &directive = gDirectives[i];
        if (directive.name.compare(kPositionName, Qt::CaseInsensitive) != 0)
            continue;
        Window1Top = toInt32(Val(directive.text.section(u',', 0, 0)));
        Window1Left = toInt32(Val(directive.text.section(u',', 1, 1)));
    }
}

void savePrefs()
{
    // Only an open main window has a position worth keeping; during quit it may be gone.
    Window1 *window = Window1::openInstance();
    if (!window)
        return;
    const QString folder = SpecialFolder::Preferences();
    QDir().mkpath(folder);
    const QByteArray line = "#Window1Position " + QByteArray::number(window->top()) + ',' +
                            QByteArray::number(window->left()) + '\n';
    // Replace the file whole or not at all: a failed write keeps the old position.
    QSaveFile file(QDir(folder).filePath(kFileName));
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (file.write(line) != line.size()) {
        file.cancelWriting();
        return;
    }
    file.commit();
}

} // namespace prefModule
