#pragma once

#include <QImage>
#include <QString>

// PNG files read and written through Qt's image I/O, pixels as they stand: no gamma and no
// colour profile is applied on either side, so a picture saved and read back keeps every
// channel value.
namespace PngFile {

// Writes picture to path whole or not at all, as saveAtomically (savefile.h) does: a failed
// write leaves any earlier file as it was, and only a regular file that the user may write is
// replaced. True when the file was written.
bool save(const QImage &picture, const QString &path);

// The picture of a PNG file, its transparency laid over white, in RGB32; a null picture when
// the file is missing, no regular file, no PNG, damaged or claims a size beyond what a
// picture may take.
QImage load(const QString &path);

} // namespace PngFile
