// Writers and readers for the two Windows picture formats the program ships: 24-bit BMP and ICO.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace dilmora::artgen {

/// A complete 24-bit BMP file of an opaque image: BITMAPFILEHEADER, a 40-byte
/// BITMAPINFOHEADER, no compression, rows stored bottom-up and padded to 4 bytes.
QByteArray encodeBmp24(const QImage& image);

/// One image of an icon file: the artwork with straight alpha and the depth it is stored at.
struct IconImage {
    QImage artwork;   ///< Format_ARGB32, square, at most 255 pixels wide
    int bitsPerPixel; ///< 8 (256-colour palette) or 32 (BGRA)
};

/// A complete ICO file holding every image as a BMP DIB (never PNG) with its AND mask.
/// A pixel is transparent in the mask where its alpha is below one half; the 8-bit
/// images use the mask alone, the 32-bit images carry their alpha as well.
QByteArray encodeIco(const std::vector<IconImage>& images);

/// What reading a 24-bit BMP file gave: the picture, or why the bytes are not one.
struct BmpReading {
    QImage image; ///< Format_RGB32; null when error is set
    QString error;
};

/// Reads a file written by encodeBmp24, checking every header field it relies on.
BmpReading decodeBmp24(const QByteArray& bytes);

/// One directory entry of an icon file and its image as read back.
struct IconEntryReading {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    QImage image; ///< Format_ARGB32 after the AND mask (and, at 32 bits, the alpha) is applied
};

/// What reading an icon file gave: its entries in file order, or why the bytes are not one.
struct IcoReading {
    std::vector<IconEntryReading> entries;
    QString error;
};

/// Reads an icon file of BMP DIBs at 8 or 32 bits per pixel, checking each DIB header
/// against its directory entry.
IcoReading decodeIco(const QByteArray& bytes);

} // namespace dilmora::artgen
