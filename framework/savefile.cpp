#include "framework/savefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

} // namespace

bool saveAtomically(const QString &path, const QByteArray &bytes)
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

    // Unbuffered: a buffered QFileDevice drops the rest of a short write (a full disk, a file
    // size limit) without an error, and the commit would replace the old file with a stump.
    QSaveFile file(path);
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
    return file.commit();
}
