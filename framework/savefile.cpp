#include "framework/savefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

bool saveAtomically(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return false;
    const QFileInfo target(path);
    // The temporary file would be renamed over whatever stands there, a device node included.
    if (target.exists() && !target.isFile())
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
