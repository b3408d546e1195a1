// Lettering: outlines taken from the font at a large size, scaled down and filled with
// Qt's antialiasing, then shaded column by column. Working from outlines keeps the
// result free of hinting and subpixel settings, so every run gives the same pixels.
#include "lettering.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace dilmora::artgen {

namespace {

struct Setting {
    double pixelSize;
    double letterSpacing;
};

int mix(int a, int b, double t)
{
    return int(std::lround(a + (b - a) * t));
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    return QColor(mix(a.red(), b.red(), t), mix(a.green(), b.green(), t),
                  mix(a.blue(), b.blue(), t));
}

// The text's outline for a setting, placed in the picture: centred, with its baseline
// on a whole pixel.
QPainterPath placedOutline(const QString& text, const QFont& face, QSize size,
                           const Setting& setting)
{
    const double scale = setting.pixelSize / kOutlineSize;
    QFont font = face;
    font.setLetterSpacing(QFont::AbsoluteSpacing, setting.letterSpacing / scale);
    font.setKerning(true);
    QPainterPath outline = scaledOutline(text, font, setting.pixelSize);

    const QRectF ink = outline.boundingRect();
    const double dx = std::round((size.width() - ink.width()) / 2 - ink.left());
    const double dy = std::round((size.height() - ink.height()) / 2 - ink.top());
    outline.translate(dx, dy);
    return outline;
}

// Coverage of the lettering, 0 to 255 a pixel, in an Alpha8 image of size * scale pixels.
QImage coverage(const QPainterPath& outline, QSize size, double embolden, int scale)
{
    QImage mask(size * scale, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing);
    if (scale != 1)
        painter.scale(scale, scale);
    painter.fillPath(outline, Qt::white);
    if (embolden > 0)
        painter.strokePath(
            outline, QPen(Qt::white, 2 * embolden, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.end();
    return mask.convertToFormat(QImage::Format_Alpha8);
}

bool frameIsClear(const QImage& mask)
{
    const int right = mask.width() - 1;
    const int bottom = mask.height() - 1;
    for (int x = 0; x <= right; ++x) {
        if (mask.constScanLine(0)[x] || mask.constScanLine(bottom)[x])
            return false;
    }
    for (int y = 0; y <= bottom; ++y) {
        if (mask.constScanLine(y)[0] || mask.constScanLine(y)[right])
            return false;
    }
    return true;
}

// The picture: background where nothing is covered, elsewhere the shade of the column
// laid over the background by its coverage.
QImage shade(const QImage& mask)
{
    int left = mask.width();
    int right = -1;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if (mask.constScanLine(y)[x]) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }

    QImage image(mask.size(), QImage::Format_RGB32);
    image.fill(kBackground);
    const double span = std::max(1, right - left);
    for (int x = std::max(left, 0); x <= right; ++x) {
        const QColor ink = shadeAt((x - left) / span);
        for (int y = 0; y < mask.height(); ++y) {
            const int alpha = mask.constScanLine(y)[x];
            if (alpha)
                image.setPixel(x, y, mix(kBackground, ink, alpha / 255.0).rgb());
        }
    }
    return image;
}

} // namespace

QColor shadeAt(double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return t < 0.5 ? mix(kDarkGreen, kOlive, 2 * t) : mix(kOlive, kBrickRed, 2 * t - 1);
}

QPainterPath scaledOutline(const QString& text, const QFont& font, double pixelSize)
{
    QFont large = font;
    large.setPixelSize(kOutlineSize);
    QPainterPath outline;
    outline.addText(0, 0, large, text);
    return QTransform::fromScale(pixelSize / kOutlineSize, pixelSize / kOutlineSize).map(outline);
}

double backgroundShare(const QImage& image)
{
    const QRgb background = kBackground.rgb();
    long long count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == background;
    }
    return double(count) / (qint64(image.width()) * image.height());
}

std::optional<Lettering> fitLettering(const QString& text, const QFont& face, QSize size,
                                      ShareRange share)
{
    std::optional<Lettering> best;
    double bestScore = 0;

    // The largest em size that could fit: the ink of the text at 1 pixel per em against the
    // picture inside its frame.
    const QPainterPath unit = placedOutline(text, face, QSize(0, 0), {1.0, 0});
    const double largest = std::min((size.height() - 2) / unit.boundingRect().height(),
                                    (size.width() - 2) / unit.boundingRect().width());

    for (double pixelSize = std::floor(largest * 4) / 4; pixelSize >= largest * 0.6;
         pixelSize -= 0.25) {
        for (double letterSpacing = 0; letterSpacing <= 1.0; letterSpacing += 0.25) {
            const QPainterPath outline =
                placedOutline(text, face, size, {pixelSize, letterSpacing});
            for (double embolden = 0; embolden <= 0.61; embolden += 0.1) {
                const QImage mask = coverage(outline, size, embolden, 1);
                if (!frameIsClear(mask))
                    continue;
                const QImage image = shade(mask);
                const double got = backgroundShare(image);
                if (got < share.low || got > share.high)
                    continue;
                // One point of share from the target weighs as much as 0.1 pixel of added
                // outline, 1 pixel less of em size or 1 pixel of extra spacing.
                const double score =
                    std::abs(got - share.target) * 100 + embolden * 10 - pixelSize + letterSpacing;
                if (!best || score < bestScore) {
                    best = Lettering{image, pixelSize, letterSpacing, embolden, got};
                    bestScore = score;
                }
            }
        }
    }
    return best;
}

QImage drawLettering(const QString& text, const QFont& face, QSize size, const Lettering& setting,
                     int scale)
{
    const QPainterPath outline =
        placedOutline(text, face, size, {setting.pixelSize, setting.letterSpacing});
    return shade(coverage(outline, size, setting.embolden, scale));
}

} // namespace dilmora::artgen
