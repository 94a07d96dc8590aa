#include "framework/savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cstdio>

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

} // namespace

bool saveAtomically(const QString &path, const QByteArray &bytes, UnwritableFile unwritable)
{
    if (path.isEmpty())
        return false;
    const QFileInfo target(path);
    // QSaveFile writes to where a chain of links ends, and renames over the link itself when it
    // can't find that end. A loop does not exist to QFileInfo, just like nothing at all.
    QFileInfo end = target;
    for (int links = 0; end.isSymLink(); ++links) {
        if (links == kMaxLinks)
            return false;
        end.setFile(end.symLinkTarget());
    }
    // The temporary file would be renamed over whatever stands there, a device node included.
    if (end.exists() && !end.isFile())
        return false;
    if (!QDir().mkpath(target.absolutePath()))
        return false;

    // QSaveFile refuses a file the user may not write, and would give the new file its mode.
    // So the bytes go to a new name beside it, where nothing stands, and that file then takes
    // the old one's place: renaming over it needs only what deleting it needs.
    QString into = path;
    const bool aside = unwritable == UnwritableFile::Replace && end.exists() && !end.isWritable();
    if (aside) {
        into = end.absoluteFilePath() + u'.' +
               QString::number(QRandomGenerator::global()->generate64(), 36);
        const QFileInfo taken(into);
        if (taken.exists() || taken.isSymLink())
            return false;
    }

    // Unbuffered: a buffered QFileDevice drops the rest of a short write (a full disk, a file
    // size limit) without an error, and the commit would replace the old file with a stump.
    QSaveFile file(into);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    for (qsizetype written = 0; written < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            file.cancelWriting();
            return false;
        }
        written += n;
    }
    if (!file.commit())
        return false;
    if (!aside || std::rename(QFile::encodeName(into).constData(),
                              QFile::encodeName(end.absoluteFilePath()).constData()) == 0)
        return true;
    QFile::remove(into);
    return false;
}
