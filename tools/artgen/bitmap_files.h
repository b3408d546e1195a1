// Writers and readers of the picture files the program ships: 24-bit BMP, ICO and PNG.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace dilmora::artgen {

/// A complete 24-bit BMP file of an opaque image: BITMAPFILEHEADER, a 40-byte
/// BITMAPINFOHEADER, no compression, rows stored bottom-up and padded to 4 bytes.
QByteArray encodeBmp24(const QImage& image);

/// A PNG file of the image, as Qt writes it: the same pixels always give the same bytes.
QByteArray encodePng(const QImage& image);

/// How an icon file stores one image.
enum class IconStorage {
    Dib, ///< a BMP DIB with its AND mask
    Png, ///< a PNG file, as Windows wants its 256-pixel images
};

/// One image of an icon file: the artwork with straight alpha and how it is stored.
struct IconImage {
    QImage artwork;   ///< Format_ARGB32, square, at most 256 pixels wide
    int bitsPerPixel; ///< 8 (256-colour palette) or 32 (BGRA); a PNG image is 32
    IconStorage storage = IconStorage::Dib;
};

/// A complete ICO file holding the images in the given order. A DIB image is
/// transparent in its AND mask where alpha is below one half; the 8-bit images use the
/// mask alone, the 32-bit images carry their alpha as well. A PNG image is the artwork's
/// PNG file as it is.
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
    IconStorage storage = IconStorage::Dib;
    QImage image; ///< Format_ARGB32 after the AND mask (and, at 32 bits, the alpha) is applied
};

/// What reading an icon file gave: its entries in file order, or why the bytes are not one.
struct IcoReading {
    std::vector<IconEntryReading> entries;
    QString error;
};

/// Reads an icon file of BMP DIBs at 8 or 32 bits per pixel and of PNG images, checking
/// each image's own header against its directory entry.
IcoReading decodeIco(const QByteArray& bytes);

} // namespace dilmora::artgen
