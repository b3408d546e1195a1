// Bitmaps read straight from their bytes.
#include "runtime/dib.h"

#include <QtEndian>

namespace dilmora::runtime {

namespace {

constexpr qsizetype kFileHeaderSize = 14;
constexpr qsizetype kInfoHeaderSize = 40;
constexpr qsizetype kIconDirSize = 6;
constexpr qsizetype kIconEntrySize = 16;

quint32 readU32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 readU16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

/// A bitmap of `rows` rows stored bottom-up after a 40-byte BITMAPINFOHEADER
/// at `at`: uncompressed at 24 bits (opaque) or 32 bits (with alpha). An
/// icon's header counts its AND mask's rows as well, so the caller gives them.
QImage readDib(const QByteArray& bytes, qsizetype at, int bitsPerPixel, int rows)
{
    if (at < 0 || at + kInfoHeaderSize > bytes.size() || readU32(bytes, at) != kInfoHeaderSize)
        return {};
    const auto width = qint32(readU32(bytes, at + 4));
    if (width <= 0 || rows <= 0 || readU16(bytes, at + 12) != 1
        || readU16(bytes, at + 14) != bitsPerPixel || readU32(bytes, at + 16) != 0)
        return {};
    const qsizetype stride = (qsizetype(width) * bitsPerPixel + 31) / 32 * 4;
    const qsizetype pixels = at + kInfoHeaderSize;
    if (pixels + stride * rows > bytes.size())
        return {};
    const QImage stored(reinterpret_cast<const uchar*>(bytes.constData() + pixels), width, rows,
                        stride, bitsPerPixel == 24 ? QImage::Format_BGR888 : QImage::Format_ARGB32);
    // Turned the right way up into an image of its own, in the format that
    // Qt's own readers give.
    return stored.mirrored().convertToFormat(bitsPerPixel == 24 ? QImage::Format_RGB32
                                                                : QImage::Format_ARGB32);
}

} // namespace

QImage readBmp(const QByteArray& file)
{
    if (file.size() < kFileHeaderSize + kInfoHeaderSize || !file.startsWith("BM")
        || readU32(file, 10) != kFileHeaderSize + kInfoHeaderSize)
        return {};
    return readDib(file, kFileHeaderSize, 24, qint32(readU32(file, kFileHeaderSize + 8)));
}

QList<QImage> readIconImages(const QByteArray& file, int largest)
{
    QList<QImage> images;
    if (file.size() < kIconDirSize || readU16(file, 0) != 0 || readU16(file, 2) != 1)
        return images;
    const int count = readU16(file, 4);
    for (int i = 0; i < count && kIconDirSize + (i + 1) * kIconEntrySize <= file.size(); ++i) {
        const qsizetype entry = kIconDirSize + i * kIconEntrySize;
        const int size = quint8(file[entry]) ? quint8(file[entry]) : 256;
        if (size > largest || readU16(file, entry + 6) != 32)
            continue;
        const QImage image = readDib(file, qint64(readU32(file, entry + 12)), 32, size);
        if (image.width() == size)
            images.append(image);
    }
    return images;
}

} // namespace dilmora::runtime
