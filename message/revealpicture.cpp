#include "message/revealpicture.h"

#include <algorithm>
#include <cstring>

namespace RevealPicture {

namespace {

// White is 0xffffffff: every byte 0xff.
void fillWhite(QImage &picture, int firstRow, int rows)
{
    for (int y = firstRow; y < firstRow + rows; ++y)
        std::memset(picture.scanLine(y), 0xff, size_t(kWidth) * sizeof(QRgb));
}

// Branch-free, so that the compiler vectorises it.
void classifyRow(const QRgb *from, QRgb *to, int columns)
{
    for (int x = 0; x < columns; ++x)
        to[x] = classify(from[x]);
    std::fill(to + columns, to + kWidth, kWhite);
}

} // namespace

void build(const QImage &capture, QImage &picture)
{
    if (picture.size() != QSize(kWidth, kHeight) || picture.format() != QImage::Format_RGB32)
        picture = QImage(kWidth, kHeight, QImage::Format_RGB32);

    const QImage source = capture.format() == QImage::Format_RGB32
                              ? capture
                              : capture.convertToFormat(QImage::Format_RGB32);
    const int columns = std::min(kWidth, source.width());
    const int rows = std::clamp(source.height(), 0, kBandRows);

    fillWhite(picture, 0, kBandTop);
    for (int y = 0; y < rows; ++y)
        classifyRow(reinterpret_cast<const QRgb *>(source.constScanLine(y)),
                    reinterpret_cast<QRgb *>(picture.scanLine(y + kBandTop)), columns);
    fillWhite(picture, kBandTop + rows, kHeight - kBandTop - rows);
}

} // namespace RevealPicture
