// Read-back checks of every file the generator writes.
#include "checks.h"

#include "bitmap_files.h"

#include <QFile>
#include <QXmlStreamReader>

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

QString sizeProblem(const QImage& image, QSize size)
{
    if (image.size() == size)
        return {};
    return QStringLiteral("%1 x %2 pixels, not %3 x %4")
        .arg(image.width())
        .arg(image.height())
        .arg(size.width())
        .arg(size.height());
}

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
    *problem = sizeProblem(image, size);
    if (!problem->isEmpty())
        return {};

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

QString checkIcoFile(const QString& path, const std::vector<IconImage>& images)
{
    QString problem;
    const QByteArray bytes = readFile(path, &problem);
    if (!problem.isEmpty())
        return problem;
    const IcoReading reading = decodeIco(bytes);
    if (!reading.error.isEmpty())
        return reading.error;
    if (reading.entries.size() != images.size())
        return QStringLiteral("%1 images, not %2").arg(reading.entries.size()).arg(images.size());

    for (std::size_t i = 0; i < images.size(); ++i) {
        const QImage artwork = images[i].artwork.convertToFormat(QImage::Format_ARGB32);
        const int bits = images[i].bitsPerPixel;
        const IconEntryReading& entry = reading.entries[i];
        const QString name =
            QStringLiteral("image %1 (%2 px at %3 bits)").arg(i).arg(artwork.width()).arg(bits);
        if (entry.width != artwork.width() || entry.height != artwork.height()
            || entry.bitsPerPixel != bits || entry.storage != images[i].storage)
            return name + QStringLiteral(": the file holds another size, depth or storage here");
        for (int y = 0; y < artwork.height(); ++y) {
            for (int x = 0; x < artwork.width(); ++x) {
                const QRgb want = artwork.pixel(x, y);
                const QRgb got = entry.image.pixel(x, y);
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

QString checkSvgFile(const QString& path, double size)
{
    QString problem;
    const QByteArray bytes = readFile(path, &problem);
    if (!problem.isEmpty())
        return problem;
    QXmlStreamReader xml(bytes);
    int shapes = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.namespaceUri() != QLatin1String("http://www.w3.org/2000/svg"))
            return QStringLiteral("<%1> is not in the SVG namespace").arg(xml.name());
        if (xml.name() == QLatin1String("svg")) {
            const QString box = QStringLiteral("0 0 %1 %1").arg(size);
            if (xml.attributes().value(QLatin1String("viewBox")) != box)
                return QStringLiteral("the view box is not %1").arg(box);
        }
        shapes += xml.name() == QLatin1String("rect") || xml.name() == QLatin1String("path");
    }
    if (xml.hasError())
        return QStringLiteral("not well-formed XML: %1 at line %2")
            .arg(xml.errorString())
            .arg(xml.lineNumber());
    if (shapes != 3)
        return QStringLiteral("%1 shapes, not the rim, the square and the D").arg(shapes);
    return {};
}

} // namespace dilmora::artgen
