// Read-back checks of every file the generator writes.
#include "checks.h"

#include "bitmap_files.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>

namespace dilmora::artgen {

namespace {

QByteArray readFile(const QString& path, QString* problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = QStringLiteral("cannot read it back: %1").arg(file.errorString());
        return {};
    }
    return file.readAll();
}

// How far an 8-bit palette colour may lie from the artwork's colour in any channel.
constexpr int kPaletteTolerance = 24;

} // namespace

QImage checkBmpFile(const QString& path, QSize size, ShareRange share, QString* problem)
{
    const QByteArray bytes = readFile(path, problem);
    if (!problem->isEmpty())
        return {};
    const BmpReading reading = decodeBmp24(bytes);
    if (!reading.error.isEmpty()) {
        *problem = reading.error;
        return {};
    }
    const QImage& image = reading.image;
    if (image.size() != size) {
        *problem = QStringLiteral("%1 x %2 pixels, not %3 x %4")
                       .arg(image.width())
                       .arg(image.height())
                       .arg(size.width())
                       .arg(size.height());
        return {};
    }

    const QRgb background = kBackground.rgb();
    long long count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool onFrame =
                x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
            const bool isBackground = image.pixel(x, y) == background;
            if (onFrame && !isBackground) {
                *problem =
                    QStringLiteral("frame pixel (%1, %2) is not the background").arg(x).arg(y);
                return {};
            }
            count += isBackground;
        }
    }
    const double got = double(count) / (qint64(image.width()) * image.height());
    if (got < share.low || got > share.high) {
        *problem = QStringLiteral("background share %1 % outside %2 to %3 %")
                       .arg(got * 100, 0, 'f', 2)
                       .arg(share.low * 100)
                       .arg(share.high * 100);
        return {};
    }
    return image;
}

QString checkIcoFile(const QString& path, const QList<QImage>& artworks)
{
    QString problem;
    const QByteArray bytes = readFile(path, &problem);
    if (!problem.isEmpty())
        return problem;
    const IcoReading reading = decodeIco(bytes);
    if (!reading.error.isEmpty())
        return reading.error;
    if (reading.entries.size() != std::size_t(2 * artworks.size()))
        return QStringLiteral("%1 images, not %2")
            .arg(reading.entries.size())
            .arg(2 * artworks.size());

    for (const QImage& artwork : artworks) {
        for (int bits : {8, 32}) {
            const auto entry = std::find_if(
                reading.entries.begin(), reading.entries.end(), [&](const IconEntryReading& e) {
                    return e.width == artwork.width() && e.height == artwork.height()
                           && e.bitsPerPixel == bits;
                });
            const QString name = QStringLiteral("%1 px at %2 bits").arg(artwork.width()).arg(bits);
            if (entry == reading.entries.end())
                return name + QStringLiteral(": missing");
            for (int y = 0; y < artwork.height(); ++y) {
                for (int x = 0; x < artwork.width(); ++x) {
                    const QRgb want = artwork.pixel(x, y);
                    const QRgb got = entry->image.pixel(x, y);
                    const QString where = name + QStringLiteral(": pixel (%1, %2) ").arg(x).arg(y);
                    if (bits == 32 && got != want)
                        return where + QStringLiteral("differs from the artwork");
                    if (bits == 8 && (qAlpha(want) >= 128) != (qAlpha(got) == 255))
                        return where + QStringLiteral("has the wrong mask");
                    if (bits == 8 && qAlpha(want) >= 128
                        && (std::abs(qRed(got) - qRed(want)) > kPaletteTolerance
                            || std::abs(qGreen(got) - qGreen(want)) > kPaletteTolerance
                            || std::abs(qBlue(got) - qBlue(want)) > kPaletteTolerance))
                        return where + QStringLiteral("lost its colour in the palette");
                }
            }
        }
    }
    return {};
}

QString checkPngFile(const QString& path, const QImage& artwork)
{
    QImage image;
    if (!image.load(path, "PNG"))
        return QStringLiteral("cannot be read back as a PNG");
    if (image.convertToFormat(QImage::Format_ARGB32)
        != artwork.convertToFormat(QImage::Format_ARGB32))
        return QStringLiteral("differs from the icon's 32-bit image");
    return {};
}

} // namespace dilmora::artgen
