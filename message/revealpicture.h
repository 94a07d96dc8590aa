#pragma once

#include <QImage>
#include <QRgb>

// The reveal filter's picture: the capture's top 24 rows, near-white pixels (every channel
// 252 or more, not pure white) black and every other pixel white, moved 25 rows down into an
// otherwise white picture of the capture area's size.
namespace RevealPicture {

constexpr int kWidth = 560;
constexpr int kHeight = 130;
constexpr int kBandRows = 24; // capture rows read
constexpr int kBandTop = 25;  // where they land

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kBlack = 0xff000000;

// Branch-free, so that the loop over a scan line vectorises: every channel is 252 or more
// exactly when its top six bits are all set.
constexpr QRgb classify(QRgb pixel)
{
    const QRgb rgb = pixel | 0xff000000;
    const bool nearWhite = (rgb | 0x03030303) == 0xffffffff && rgb != 0xffffffff;
    return nearWhite ? kBlack : kWhite;
}

// Writes every pixel of picture, reusing its memory when it is a 560 by 130 RGB32 picture
// held nowhere else. A capture of another format is read as RGB32; what a smaller capture
// lacks comes out white.
void build(const QImage &capture, QImage &picture);

} // namespace RevealPicture
