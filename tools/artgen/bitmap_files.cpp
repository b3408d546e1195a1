// Byte-exact BMP, ICO and PNG writers, and the readers that check their output.
#include "bitmap_files.h"

#include "palette.h"

#include <QBuffer>
#include <QImageWriter>

#include <cstdint>

namespace dilmora::artgen {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kIconDirSize = 6;
constexpr int kIconEntrySize = 16;
constexpr std::uint32_t kPixelsPerMetre96Dpi = 3780;
const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);

// Bytes in one stored row of `bits` bits per pixel, rows padded to whole 32-bit words.
int rowStride(int width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

void putU16(QByteArray& out, std::uint16_t value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

void putU32(QByteArray& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((value >> shift) & 0xFF));
}

void putInfoHeader(QByteArray& out, int width, int height, int bits, int imageSize,
                   std::uint32_t pixelsPerMetre)
{
    putU32(out, kInfoHeaderSize);
    putU32(out, std::uint32_t(width));
    putU32(out, std::uint32_t(height));
    putU16(out, 1); // planes
    putU16(out, std::uint16_t(bits));
    putU32(out, 0); // BI_RGB
    putU32(out, std::uint32_t(imageSize));
    putU32(out, pixelsPerMetre);
    putU32(out, pixelsPerMetre);
    putU32(out, 0); // colours used: all that the depth allows
    putU32(out, 0); // colours important: all
}

// AND mask rows, bottom row first, one bit per pixel with the leftmost pixel in the high bit.
void putMask(QByteArray& out, const QImage& artwork)
{
    const int stride = rowStride(artwork.width(), 1);
    for (int y = artwork.height() - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < artwork.width(); ++x) {
            if (qAlpha(artwork.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
}

QByteArray encodeIconDib(const QImage& artwork, int bits)
{
    const int width = artwork.width();
    const int height = artwork.height();
    const int imageSize = (rowStride(width, bits) + rowStride(width, 1)) * height;

    QByteArray out;
    putInfoHeader(out, width, 2 * height, bits, imageSize, 0);
    if (bits == 8) {
        const IndexedImage indexed = toIndexed(artwork);
        for (const QRgb colour : indexed.palette) {
            out.append(char(qBlue(colour)));
            out.append(char(qGreen(colour)));
            out.append(char(qRed(colour)));
            out.append('\0');
        }
        const int padding = rowStride(width, 8) - width;
        for (int y = height - 1; y >= 0; --y) {
            for (int x = 0; x < width; ++x)
                out.append(char(indexed.indexes[std::size_t(y * width + x)]));
            out.append(QByteArray(padding, '\0'));
        }
    } else {
        for (int y = height - 1; y >= 0; --y) {
            for (int x = 0; x < width; ++x) {
                const QRgb pixel = artwork.pixel(x, y);
                out.append(char(qBlue(pixel)));
                out.append(char(qGreen(pixel)));
                out.append(char(qRed(pixel)));
                out.append(char(qAlpha(pixel)));
            }
        }
    }
    putMask(out, artwork);
    return out;
}

// Little-endian reads that report running past the end instead of reading garbage.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}

    bool has(qsizetype offset, qsizetype count) const
    {
        return offset >= 0 && count >= 0 && offset + count <= m_bytes.size();
    }
    std::uint8_t u8(qsizetype offset) const { return std::uint8_t(m_bytes[offset]); }
    std::uint16_t u16(qsizetype offset) const
    {
        return std::uint16_t(u8(offset) | u8(offset + 1) << 8);
    }
    std::uint32_t u32(qsizetype offset) const
    {
        return std::uint32_t(u16(offset)) | std::uint32_t(u16(offset + 2)) << 16;
    }
    std::int32_t i32(qsizetype offset) const { return std::int32_t(u32(offset)); }

private:
    const QByteArray& m_bytes;
};

} // namespace

QByteArray encodeBmp24(const QImage& image)
{
    const int width = image.width();
    const int height = image.height();
    const int stride = rowStride(width, 24);
    const int imageSize = stride * height;

    QByteArray out;
    out.append("BM");
    putU32(out, std::uint32_t(kFileHeaderSize + kInfoHeaderSize + imageSize));
    putU16(out, 0);
    putU16(out, 0);
    putU32(out, kFileHeaderSize + kInfoHeaderSize);
    putInfoHeader(out, width, height, 24, imageSize, kPixelsPerMetre96Dpi);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            out.append(char(qBlue(pixel)));
            out.append(char(qGreen(pixel)));
            out.append(char(qRed(pixel)));
        }
        out.append(QByteArray(stride - 3 * width, '\0'));
    }
    return out;
}

QByteArray encodePng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return {};
    return bytes;
}

QByteArray encodeIco(const std::vector<IconImage>& images)
{
    std::vector<QByteArray> dibs;
    for (const IconImage& image : images) {
        const QImage artwork = image.artwork.convertToFormat(QImage::Format_ARGB32);
        dibs.push_back(image.storage == IconStorage::Png
                           ? encodePng(artwork)
                           : encodeIconDib(artwork, image.bitsPerPixel));
    }

    QByteArray out;
    putU16(out, 0); // reserved
    putU16(out, 1); // type: icon
    putU16(out, std::uint16_t(images.size()));
    std::uint32_t offset = kIconDirSize + kIconEntrySize * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        // A width or height of 256 is written as 0.
        out.append(char(images[i].artwork.width() & 0xFF));
        out.append(char(images[i].artwork.height() & 0xFF));
        out.append('\0'); // colour count: 0 for 256 colours or more
        out.append('\0'); // reserved
        putU16(out, 1);   // planes
        putU16(out, std::uint16_t(images[i].bitsPerPixel));
        putU32(out, std::uint32_t(dibs[i].size()));
        putU32(out, offset);
        offset += std::uint32_t(dibs[i].size());
    }
    for (const QByteArray& dib : dibs)
        out.append(dib);
    return out;
}

BmpReading decodeBmp24(const QByteArray& bytes)
{
    const Reader in(bytes);
    if (!in.has(0, kFileHeaderSize + kInfoHeaderSize))
        return {{}, QStringLiteral("shorter than the two headers")};
    if (in.u8(0) != 'B' || in.u8(1) != 'M')
        return {{}, QStringLiteral("does not start with BM")};
    if (in.u32(2) != std::uint32_t(bytes.size()))
        return {
            {},
            QStringLiteral("bfSize %1 but the file has %2 bytes").arg(in.u32(2)).arg(bytes.size())};
    if (in.u32(14) != kInfoHeaderSize)
        return {{}, QStringLiteral("info header of %1 bytes, not 40").arg(in.u32(14))};
    const int width = in.i32(18);
    const int height = in.i32(22);
    if (width <= 0 || height <= 0)
        return {{},
                QStringLiteral("size %1 x %2: both must be positive (rows bottom-up)")
                    .arg(width)
                    .arg(height)};
    if (in.u16(26) != 1 || in.u16(28) != 24)
        return {
            {},
            QStringLiteral("%1 planes at %2 bits, not 1 at 24").arg(in.u16(26)).arg(in.u16(28))};
    if (in.u32(30) != 0)
        return {{}, QStringLiteral("compression %1, not BI_RGB").arg(in.u32(30))};
    const int stride = rowStride(width, 24);
    const qsizetype offBits = in.u32(10);
    if (offBits != kFileHeaderSize + kInfoHeaderSize)
        return {{}, QStringLiteral("bfOffBits %1, not 54").arg(offBits)};
    if (in.u32(34) != std::uint32_t(stride * height))
        return {{}, QStringLiteral("biSizeImage %1, not %2").arg(in.u32(34)).arg(stride * height)};
    if (bytes.size() != offBits + qsizetype(stride) * height)
        return {{},
                QStringLiteral("%1 bytes, not %2")
                    .arg(bytes.size())
                    .arg(offBits + qsizetype(stride) * height)};

    QImage image(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        const qsizetype start = offBits + qsizetype(row) * stride;
        for (int x = 0; x < width; ++x) {
            const qsizetype at = start + 3 * x;
            image.setPixel(x, height - 1 - row, qRgb(in.u8(at + 2), in.u8(at + 1), in.u8(at)));
        }
    }
    return {image, {}};
}

IcoReading decodeIco(const QByteArray& bytes)
{
    const Reader in(bytes);
    IcoReading result;
    auto fail = [&](const QString& why) {
        result.entries.clear();
        result.error = why;
        return result;
    };

    if (!in.has(0, kIconDirSize))
        return fail(QStringLiteral("shorter than the icon directory"));
    if (in.u16(0) != 0 || in.u16(2) != 1)
        return fail(QStringLiteral("directory reserved %1 type %2, not 0 and 1")
                        .arg(in.u16(0))
                        .arg(in.u16(2)));
    const int count = in.u16(4);
    if (!in.has(kIconDirSize, qsizetype(count) * kIconEntrySize))
        return fail(QStringLiteral("directory of %1 entries runs past the end").arg(count));

    for (int i = 0; i < count; ++i) {
        const qsizetype entry = kIconDirSize + qsizetype(i) * kIconEntrySize;
        IconEntryReading reading;
        reading.width = in.u8(entry) == 0 ? 256 : in.u8(entry);
        reading.height = in.u8(entry + 1) == 0 ? 256 : in.u8(entry + 1);
        reading.bitsPerPixel = in.u16(entry + 6);
        const qsizetype size = in.u32(entry + 8);
        const qsizetype offset = in.u32(entry + 12);
        const QString name = QStringLiteral("entry %1 (%2 px, %3 bits)")
                                 .arg(i)
                                 .arg(reading.width)
                                 .arg(reading.bitsPerPixel);
        if (!in.has(offset, size) || !in.has(offset, kInfoHeaderSize))
            return fail(name + QStringLiteral(": image runs past the end of the file"));
        if (bytes.mid(offset, kPngSignature.size()) == kPngSignature) {
            const QImage png = QImage::fromData(bytes.mid(offset, size), "PNG");
            if (png.width() != reading.width || png.height() != reading.height
                || reading.bitsPerPixel != 32)
                return fail(
                    name + QStringLiteral(": PNG of %1 x %2").arg(png.width()).arg(png.height()));
            reading.storage = IconStorage::Png;
            reading.image = png.convertToFormat(QImage::Format_ARGB32);
            result.entries.push_back(reading);
            continue;
        }
        if (in.u32(offset) != kInfoHeaderSize)
            return fail(name + QStringLiteral(": not a BMP DIB with a 40-byte header"));

        const int width = in.i32(offset + 4);
        const int doubledHeight = in.i32(offset + 8);
        const int bits = in.u16(offset + 14);
        if (width != reading.width || doubledHeight != 2 * reading.height
            || bits != reading.bitsPerPixel)
            return fail(name
                        + QStringLiteral(": DIB says %1 x %2 at %3 bits")
                              .arg(width)
                              .arg(doubledHeight)
                              .arg(bits));
        if (bits != 8 && bits != 32)
            return fail(name + QStringLiteral(": depth is neither 8 nor 32 bits"));
        if (in.u32(offset + 16) != 0)
            return fail(name + QStringLiteral(": compressed DIB"));

        const int height = reading.height;
        const qsizetype paletteSize = bits == 8 ? 256 * 4 : 0;
        const qsizetype pixelsAt = offset + kInfoHeaderSize + paletteSize;
        const int colourStride = rowStride(width, bits);
        const int maskStride = rowStride(width, 1);
        const qsizetype maskAt = pixelsAt + qsizetype(colourStride) * height;
        if (size != kInfoHeaderSize + paletteSize + qsizetype(colourStride + maskStride) * height)
            return fail(name
                        + QStringLiteral(": %1 bytes do not match its size and depth").arg(size));

        QImage image(width, height, QImage::Format_ARGB32);
        for (int row = 0; row < height; ++row) {
            const int y = height - 1 - row;
            for (int x = 0; x < width; ++x) {
                QRgb pixel;
                if (bits == 8) {
                    const qsizetype entryAt =
                        offset + kInfoHeaderSize
                        + 4 * in.u8(pixelsAt + qsizetype(row) * colourStride + x);
                    pixel = qRgb(in.u8(entryAt + 2), in.u8(entryAt + 1), in.u8(entryAt));
                } else {
                    const qsizetype at = pixelsAt + qsizetype(row) * colourStride + 4 * x;
                    pixel = qRgba(in.u8(at + 2), in.u8(at + 1), in.u8(at), in.u8(at + 3));
                }
                const bool maskedOut =
                    in.u8(maskAt + qsizetype(row) * maskStride + x / 8) & (0x80 >> (x % 8));
                if (maskedOut && bits == 8)
                    pixel = qRgba(0, 0, 0, 0);
                if (bits == 32 && maskedOut != (qAlpha(pixel) < 128))
                    return fail(name
                                + QStringLiteral(": AND mask disagrees with alpha at (%1, %2)")
                                      .arg(x)
                                      .arg(y));
                image.setPixel(x, y, pixel);
            }
        }
        reading.image = image;
        result.entries.push_back(reading);
    }
    return result;
}

} // namespace dilmora::artgen
