// Shows that the compiled-in pictures and icon are well-formed Windows files of the right sizes,
// framed in the window colour, and that each picture has a fine companion of twice its size;
// the program reads the same pixels from them.
#include "runtime/dib.h"
#include "runtime/picture.h"

#include <QtTest>

#include <QByteArray>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

const QRgb kBackground = qRgb(0xFF, 0xE0, 0xC0);

quint32 readU16(const QByteArray& bytes, qsizetype at)
{
    return quint32(quint8(bytes[at])) | quint32(quint8(bytes[at + 1])) << 8;
}

quint32 readU32(const QByteArray& bytes, qsizetype at)
{
    return readU16(bytes, at) | readU16(bytes, at + 2) << 16;
}

qint32 readI32(const QByteArray& bytes, qsizetype at)
{
    return qint32(readU32(bytes, at));
}

int rowStride(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

QByteArray resource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The pixels of a 24-bit bottom-up BMP whose headers bitmapHeaders() has checked.
QImage bitmapPixels(const QByteArray& bytes)
{
    const int width = readI32(bytes, 18);
    const int height = readI32(bytes, 22);
    const qsizetype pixelsAt = readU32(bytes, 10);
    const int stride = rowStride(width, 24);
    QImage image(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const qsizetype at = pixelsAt + qsizetype(row) * stride + 3 * x;
            image.setPixel(x, height - 1 - row,
                           qRgb(quint8(bytes[at + 2]), quint8(bytes[at + 1]), quint8(bytes[at])));
        }
    }
    return image;
}

// The first pixel of the outermost ring that is not the window colour, if any.
std::optional<QPoint> offFrame(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool onFrame =
                x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
            if (onFrame && image.pixel(x, y) != kBackground)
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

// One ICONDIRENTRY.
struct IconEntry {
    int width;
    int height;
    int bitsPerPixel;
    qsizetype size;
    qsizetype offset;
};

std::vector<IconEntry> iconEntries(const QByteArray& ico)
{
    std::vector<IconEntry> entries;
    const int count = int(readU16(ico, 4));
    for (int i = 0; i < count && 6 + 16 * (i + 1) <= ico.size(); ++i) {
        const qsizetype at = 6 + 16 * i;
        entries.push_back({quint8(ico[at]) ? quint8(ico[at]) : 256,
                           quint8(ico[at + 1]) ? quint8(ico[at + 1]) : 256,
                           int(readU16(ico, at + 6)), qsizetype(readU32(ico, at + 8)),
                           qsizetype(readU32(ico, at + 12))});
    }
    return entries;
}

std::optional<IconEntry> findIconEntry(const QByteArray& ico, int size, int bitsPerPixel)
{
    for (const IconEntry& entry : iconEntries(ico)) {
        if (entry.width == size && entry.height == size && entry.bitsPerPixel == bitsPerPixel)
            return entry;
    }
    return std::nullopt;
}

bool isPng(const QByteArray& ico, const IconEntry& entry)
{
    return ico.mid(entry.offset, 8) == QByteArray("\x89PNG\r\n\x1a\n", 8);
}

// An icon image as it shows: 8-bit pixels through the palette and hidden where the AND
// mask is set, 32-bit pixels with their own alpha, a PNG image as it decodes.
QImage iconPixels(const QByteArray& ico, const IconEntry& entry)
{
    if (isPng(ico, entry))
        return QImage::fromData(ico.mid(entry.offset, entry.size), "PNG")
            .convertToFormat(QImage::Format_ARGB32);
    const qsizetype paletteAt = entry.offset + 40;
    const qsizetype pixelsAt = paletteAt + (entry.bitsPerPixel == 8 ? 256 * 4 : 0);
    const int colourStride = rowStride(entry.width, entry.bitsPerPixel);
    const qsizetype maskAt = pixelsAt + qsizetype(colourStride) * entry.height;
    const int maskStride = rowStride(entry.width, 1);

    QImage image(entry.width, entry.height, QImage::Format_ARGB32);
    for (int row = 0; row < entry.height; ++row) {
        for (int x = 0; x < entry.width; ++x) {
            const bool masked =
                quint8(ico[maskAt + qsizetype(row) * maskStride + x / 8]) & (0x80 >> (x % 8));
            QRgb pixel;
            if (entry.bitsPerPixel == 8) {
                const qsizetype colour =
                    paletteAt + 4 * quint8(ico[pixelsAt + qsizetype(row) * colourStride + x]);
                pixel = masked ? qRgba(0, 0, 0, 0)
                               : qRgb(quint8(ico[colour + 2]), quint8(ico[colour + 1]),
                                      quint8(ico[colour]));
            } else {
                const qsizetype at = pixelsAt + qsizetype(row) * colourStride + 4 * x;
                pixel = qRgba(quint8(ico[at + 2]), quint8(ico[at + 1]), quint8(ico[at]),
                              quint8(ico[at + 3]));
            }
            image.setPixel(x, entry.height - 1 - row, pixel);
        }
    }
    return image;
}

const char* const kIconPath = ":/app/assets/dilmora.ico";

struct Picture {
    const char* name;
    const char* path;
};

const Picture kPictures[] = {
    {"welcome lettering", ":/app/assets/welcome.bmp"},
    {"students lettering", ":/app/assets/students.bmp"},
    {"programmer credit", ":/app/assets/programmer.bmp"},
    {"about portrait", ":/about/assets/portrait.bmp"},
};

} // namespace

class TestAssets : public QObject {
    Q_OBJECT

private slots:
    void bitmapHeaders_data();
    void bitmapHeaders();
    void framesAndBackground_data();
    void framesAndBackground();
    void letteringShading_data();
    void letteringShading();
    void picturesDiffer_data();
    void picturesDiffer();
    void finePictures_data();
    void finePictures();
    void iconDirectory();
    void iconImages_data();
    void iconImages();
    void packagingIcons_data();
    void packagingIcons();
};

void TestAssets::bitmapHeaders_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("welcome lettering") << ":/app/assets/welcome.bmp" << 303 << 30;
    QTest::newRow("students lettering") << ":/app/assets/students.bmp" << 364 << 23;
    QTest::newRow("programmer credit") << ":/app/assets/programmer.bmp" << 204 << 23;
    QTest::newRow("about portrait") << ":/about/assets/portrait.bmp" << 82 << 78;
}

void TestAssets::bitmapHeaders()
{
    QFETCH(QString, path);
    QFETCH(int, width);
    QFETCH(int, height);

    const QByteArray bytes = resource(path);
    QVERIFY2(bytes.size() >= 54, "missing from the resources, or shorter than its headers");
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(qsizetype(readU32(bytes, 2)), bytes.size()); // bfSize
    QCOMPARE(readU32(bytes, 10), 54u); // bfOffBits: the pixels follow the headers
    QCOMPARE(readU32(bytes, 14), 40u); // BITMAPINFOHEADER
    QCOMPARE(readI32(bytes, 18), width);
    QCOMPARE(readI32(bytes, 22), height); // positive: rows stored bottom-up
    QCOMPARE(readU16(bytes, 26), 1u);     // planes
    QCOMPARE(readU16(bytes, 28), 24u);    // bits per pixel
    QCOMPARE(readU32(bytes, 30), 0u);     // BI_RGB
    const quint32 imageSize = quint32(rowStride(width, 24) * height);
    QCOMPARE(readU32(bytes, 34), imageSize);
    QCOMPARE(bytes.size(), qsizetype(54 + imageSize));
}

void TestAssets::framesAndBackground_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<double>("lowestShare");
    QTest::addColumn<double>("highestShare");

    QTest::newRow("welcome lettering") << ":/app/assets/welcome.bmp" << 0.70 << 0.75;
    QTest::newRow("students lettering") << ":/app/assets/students.bmp" << 0.70 << 0.75;
    QTest::newRow("programmer credit") << ":/app/assets/programmer.bmp" << 0.70 << 0.75;
    QTest::newRow("about portrait") << ":/about/assets/portrait.bmp" << 0.57 << 0.63;
}

void TestAssets::framesAndBackground()
{
    QFETCH(QString, path);
    QFETCH(double, lowestShare);
    QFETCH(double, highestShare);

    const QImage image = bitmapPixels(resource(path));
    QCOMPARE(dilmora::runtime::readBmp(resource(path)), image);
    const std::optional<QPoint> off = offFrame(image);
    QVERIFY2(!off, qPrintable(QString("frame at %1, %2").arg(off->x()).arg(off->y())));

    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    qint64 background = 0;
    for (int y = 0; y <= bottom; ++y) {
        for (int x = 0; x <= right; ++x)
            background += image.pixel(x, y) == kBackground;
    }
    const double share = double(background) / (qint64(image.width()) * image.height());
    QVERIFY2(share >= lowestShare && share <= highestShare,
             qPrintable(QString("background share %1").arg(share)));
}

void TestAssets::letteringShading_data()
{
    QTest::addColumn<QString>("path");

    QTest::newRow("welcome lettering") << ":/app/assets/welcome.bmp";
    QTest::newRow("students lettering") << ":/app/assets/students.bmp";
    QTest::newRow("programmer credit") << ":/app/assets/programmer.bmp";
}

// The lettering runs from dark green at its left end to brick red at its right end: the
// darkest ink of its first and last tenth shows which colour dominates there.
void TestAssets::letteringShading()
{
    QFETCH(QString, path);

    const QImage image = bitmapPixels(resource(path));
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != kBackground) {
                left = qMin(left, x);
                right = qMax(right, x);
            }
        }
    }
    QVERIFY2(right > left, "no lettering");

    auto darkestBetween = [&](int from, int to) {
        QRgb darkest = kBackground;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = from; x <= to; ++x) {
                if (qGray(image.pixel(x, y)) < qGray(darkest))
                    darkest = image.pixel(x, y);
            }
        }
        return darkest;
    };
    const int tenth = (right - left) / 10;
    const QRgb start = darkestBetween(left, left + tenth);
    const QRgb end = darkestBetween(right - tenth, right);
    QVERIFY2(
        qGreen(start) > qRed(start) && qGreen(start) > qBlue(start),
        qPrintable(QString("left end is #%1, not green").arg(start & 0xFFFFFF, 6, 16, QChar('0'))));
    QVERIFY2(
        qRed(end) > qGreen(end) && qRed(end) > qBlue(end),
        qPrintable(QString("right end is #%1, not red").arg(end & 0xFFFFFF, 6, 16, QChar('0'))));
}

void TestAssets::picturesDiffer_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("otherPath");

    for (const Picture& picture : kPictures) {
        for (const Picture& other : kPictures) {
            if (&other > &picture)
                QTest::addRow("%s and %s", picture.name, other.name) << picture.path << other.path;
        }
    }
}

void TestAssets::picturesDiffer()
{
    QFETCH(QString, path);
    QFETCH(QString, otherPath);

    const QImage image = bitmapPixels(resource(path));
    const QImage other = bitmapPixels(resource(otherPath));
    QVERIFY(!image.isNull() && !other.isNull());
    QVERIFY(image != other);
}

void TestAssets::finePictures_data()
{
    QTest::addColumn<QString>("path");

    for (const Picture& picture : kPictures)
        QTest::newRow(picture.name) << picture.path;
}

// Each picture's companion for device pixel ratio 2, as the program finds it, is twice as
// large and framed in the window colour too.
void TestAssets::finePictures()
{
    QFETCH(QString, path);

    const QImage fine =
        bitmapPixels(resource(dilmora::runtime::Picture::finePicturePath(path.toStdString())));
    QCOMPARE(fine.size(), bitmapPixels(resource(path)).size() * 2);
    const std::optional<QPoint> off = offFrame(fine);
    QVERIFY2(!off, qPrintable(QString("frame at %1, %2").arg(off->x()).arg(off->y())));
}

void TestAssets::iconDirectory()
{
    const QByteArray ico = resource(kIconPath);
    QVERIFY2(ico.size() >= 6, "missing from the resources");
    QCOMPARE(readU16(ico, 0), 0u); // reserved
    QCOMPARE(readU16(ico, 2), 1u); // type: icon, not cursor
    QCOMPARE(readU16(ico, 4), 7u);

    QList<QPair<int, int>> images;
    for (const IconEntry& entry : iconEntries(ico)) {
        QCOMPARE(entry.width, entry.height);
        images.append({entry.width, entry.bitsPerPixel});
    }
    std::sort(images.begin(), images.end());
    const QList<QPair<int, int>> expected{{16, 8}, {16, 32}, {32, 8},  {32, 32},
                                          {48, 8}, {48, 32}, {256, 32}};
    QCOMPARE(images, expected);
    // The large image comes last, after the images that older systems read.
    QCOMPARE(iconEntries(ico).back().width, 256);
}

void TestAssets::iconImages_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("bitsPerPixel");

    for (int size : {16, 32, 48}) {
        QTest::addRow("%d px, 256 colours", size) << size << 8;
        QTest::addRow("%d px, BGRA", size) << size << 32;
    }
    QTest::newRow("256 px, PNG") << 256 << 32;
}

void TestAssets::iconImages()
{
    QFETCH(int, size);
    QFETCH(int, bitsPerPixel);

    const QByteArray ico = resource(kIconPath);
    const std::optional<IconEntry> entry = findIconEntry(ico, size, bitsPerPixel);
    QVERIFY2(entry, "no such image in the directory");
    QVERIFY2(entry->offset + entry->size <= ico.size(), "image runs past the end of the file");
    QVERIFY2(entry->size >= 40, "image shorter than a DIB header");

    // Windows reads a 256-pixel image as PNG and the smaller ones as BMP DIBs, whose header
    // repeats the entry's size (height doubled for the mask) and depth.
    QCOMPARE(isPng(ico, *entry), size == 256);
    if (size < 256) {
        const qsizetype at = entry->offset;
        QCOMPARE(readU32(ico, at), 40u);
        QCOMPARE(readI32(ico, at + 4), size);
        QCOMPARE(readI32(ico, at + 8), 2 * size);
        QCOMPARE(readU16(ico, at + 12), 1u); // planes
        QCOMPARE(readU16(ico, at + 14), quint32(bitsPerPixel));
        QCOMPARE(readU32(ico, at + 16), 0u); // BI_RGB
        const qsizetype palette = bitsPerPixel == 8 ? 256 * 4 : 0;
        QCOMPARE(entry->size,
                 40 + palette
                     + qsizetype(rowStride(size, bitsPerPixel) + rowStride(size, 1)) * size);
    }

    // Transparent outside the rounded square, opaque at its centre.
    const QImage image = iconPixels(ico, *entry);
    QCOMPARE(image.size(), QSize(size, size));
    // The windows' icon takes the 32-bit images.
    QCOMPARE(dilmora::runtime::readIconImages(ico, 48).contains(image),
             bitsPerPixel == 32 && size <= 48);
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)})
        QVERIFY2(qAlpha(image.pixel(corner)) == 0,
                 qPrintable(QString("corner %1, %2").arg(corner.x()).arg(corner.y())));
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

void TestAssets::packagingIcons_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("inIconFile");

    for (int size : {16, 32, 48, 64, 128, 256})
        QTest::addRow("%d px", size) << size << (size != 64 && size != 128);
}

// The packaging icons are the same artwork as the icon's 32-bit images of their size.
void TestAssets::packagingIcons()
{
    QFETCH(int, size);
    QFETCH(bool, inIconFile);

    const QString path =
        QStringLiteral(DILMORA_SOURCE_DIR "/packaging/icons/dilmora-%1.png").arg(size);
    QImage png;
    QVERIFY2(png.load(path, "PNG"), qPrintable(path));
    QCOMPARE(png.size(), QSize(size, size));

    const QByteArray ico = resource(kIconPath);
    const std::optional<IconEntry> entry = findIconEntry(ico, size, 32);
    QCOMPARE(bool(entry), inIconFile);
    if (entry)
        QCOMPARE(png.convertToFormat(QImage::Format_ARGB32), iconPixels(ico, *entry));
}

QTEST_GUILESS_MAIN(TestAssets)
#include "tst_assets.moc"
