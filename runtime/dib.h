// Bitmaps read straight from their bytes: the BMP files and the 32-bit
// images of an icon file that the build writes. Qt's image reader would
// first list every image format plugin installed, opening each one, even
// for a format that Qt reads itself.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace dilmora::runtime {

/// The picture of a BMP file, uncompressed at 24 bits per pixel with a
/// 40-byte header and rows stored bottom-up; null for any other file.
QImage readBmp(const QByteArray& file);

/// The images of an icon file stored at 32 bits per pixel (colour and
/// alpha), up to `largest` pixels wide, in file order. Its 8-bit images and
/// its PNG images are left out.
QList<QImage> readIconImages(const QByteArray& file, int largest);

} // namespace dilmora::runtime
