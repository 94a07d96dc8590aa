#include "message/revealpicture.h"

#include <algorithm>

namespace RevealPicture {

void build(const QImage &capture, QImage &picture)
{
    if (picture.size() != QSize(kWidth, kHeight) || picture.format() != QImage::Format_RGB32)
        picture = QImage(kWidth, kHeight, QImage::Format_RGB32);

    const QImage source = capture.format() == QImage::Format_RGB32
                              ? capture
                              : capture.convertToFormat(QImage::Format_RGB32);
    const int columns = std::min(kWidth, source.width());
    const int rows = std::min(kBandRows, source.height());

    for (int y = 0; y < kHeight; ++y) {
        auto *target = reinterpret_cast<QRgb *>(picture.scanLine(y));
        if (y < kBandTop || y >= kBandTop + rows) {
            std::fill_n(target, kWidth, kWhite);
            continue;
        }
        const auto *from = reinterpret_cast<const QRgb *>(source.constScanLine(y - kBandTop));
        for (int x = 0; x < columns; ++x)
            target[x] = classify(from[x]);
        std::fill(target + columns, target + kWidth, kWhite);
    }
}

} // namespace RevealPicture
