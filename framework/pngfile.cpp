#include "framework/pngfile.h"

#include "framework/savefile.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

namespace PngFile {

namespace {

// A file of any size claims its dimensions in its header; these bound what is decoded, so a
// few bytes cannot make the reader allocate gigabytes.
constexpr int kMaxSide = 8192;
constexpr qint64 kMaxPixels = 4096 * 4096;
constexpr int kAllocationLimitMB = 160; // 16-bit RGBA at kMaxPixels, with room to spare

} // namespace

bool save(const QImage &picture, const QString &path)
{
    if (picture.isNull() || path.isEmpty())
        return false;
    QImage pixels = picture;
    // A colour space would be written as a profile that readers then apply.
    if (pixels.colorSpace().isValid())
        pixels.setColorSpace(QColorSpace());
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(pixels))
            return false;
    }

    return saveAtomically(path, bytes, UnwritableFile::Keep);
}

QImage load(const QString &path)
{
    // A folder, a pipe or a device of that name is no picture (and a pipe would block).
    if (!QFileInfo(path).isFile())
        return {};
    QImageReader reader(path, "png");
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(kAllocationLimitMB);
    if (!reader.canRead())
        return {};
    const QSize claimed = reader.size();
    if (!claimed.isValid() || claimed.isEmpty() || claimed.width() > kMaxSide ||
        claimed.height() > kMaxSide || qint64(claimed.width()) * claimed.height() > kMaxPixels)
        return {};

    QImage decoded = reader.read();
    if (decoded.isNull())
        return {};
    decoded.setColorSpace(QColorSpace());
    decoded.setDevicePixelRatio(1);
    if (!decoded.hasAlphaChannel())
        return decoded.convertToFormat(QImage::Format_RGB32);

    QImage picture(decoded.size(), QImage::Format_RGB32);
    picture.setDotsPerMeterX(decoded.dotsPerMeterX());
    picture.setDotsPerMeterY(decoded.dotsPerMeterY());
    picture.fill(Qt::white);
    QPainter(&picture).drawImage(0, 0, decoded);
    return picture;
}

} // namespace PngFile
