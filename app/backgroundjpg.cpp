#include "app/backgroundjpg.h"

#include "framework/specialfolder.h"

#include <QDir>

QImage backgroundjpg()
{
    static QImage pic;
    if (pic.isNull()) {
        const QImage loaded(
            QDir(SpecialFolder::Resources()).filePath(QStringLiteral("backgroundjpg.jpg")));
        if (!loaded.isNull())
            pic = loaded.convertToFormat(QImage::Format_RGB32);
    }
    return pic;
}
