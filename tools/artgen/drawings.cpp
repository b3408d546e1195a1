// The open book of the About window and the application icon, drawn with antialiased paths.
#include "drawings.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace dilmora::artgen {

namespace {

const QColor kPaper{0xFF, 0xFB, 0xF0};
const QColor kPaperEdge{0xEA, 0xD9, 0xB8};
const QColor kInkLine{0x7A, 0x2A, 0x20};
const QColor kWritingLine{0xC9, 0xB8, 0x8E};

// One page of the open book, seen from the front: it rises from the spine and runs flat
// to its outer edge. side is -1 for the left page and +1 for the right one.
QPainterPath pageOutline(double spineX, double top, double width, double height, int side)
{
    const double outer = spineX + side * width;
    QPainterPath page;
    page.moveTo(spineX, top + 3);
    page.cubicTo(spineX + side * width * 0.25, top - 1, spineX + side * width * 0.6, top - 1, outer,
                 top);
    page.lineTo(outer, top + height);
    page.cubicTo(spineX + side * width * 0.6, top + height - 1, spineX + side * width * 0.25,
                 top + height - 1, spineX, top + height + 3);
    page.closeSubpath();
    return page;
}

// A word's outline from the face at a given em size, centred on a point.
QPainterPath centredWord(const QString& word, const QFont& face, double pixelSize, QPointF centre)
{
    QPainterPath path = scaledOutline(word, face, pixelSize);
    const QRectF ink = path.boundingRect();
    path.translate(std::round(centre.x() - ink.center().x()),
                   std::round(centre.y() - ink.center().y()));
    return path;
}

// A filled arrowhead with its tip at tip, pointing along direction (any length).
QPainterPath arrowhead(QPointF tip, QPointF direction, double length)
{
    const double norm = std::hypot(direction.x(), direction.y());
    const QPointF along = direction / norm;
    const QPointF across(-along.y(), along.x());
    const QPointF base = tip - along * length;
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(base + across * length * 0.6);
    head.lineTo(base - across * length * 0.6);
    head.closeSubpath();
    return head;
}

bool frameIsBackground(const QImage& image)
{
    const QRgb background = kBackground.rgb();
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, 0) != background || image.pixel(x, image.height() - 1) != background)
            return false;
    }
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixel(0, y) != background || image.pixel(image.width() - 1, y) != background)
            return false;
    }
    return true;
}

} // namespace

QImage drawBook(QSize size, const QFont& letterFace, double pageHeight, int scale)
{
    QImage image(size * scale, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (scale != 1)
        painter.scale(scale, scale);

    const double spineX = size.width() / 2.0;
    // Outer edges and top corners on pixel centres, so that their outlines stay sharp.
    const double pageWidth = spineX - 8.5;
    // The arrow reaches 12 pixels above the pages and the ribbon 11 below them; the thin
    // ribbon weighs less, so the book sits a little below the middle.
    const double top = std::round((size.height() - pageHeight + 3) / 2) + 0.5;
    const double bottom = top + pageHeight;

    // Cover, then the edge of the pages beneath, then the two open pages.
    for (int side : {-1, 1}) {
        painter.fillPath(pageOutline(spineX, top + 2.5, pageWidth + 3.5, pageHeight, side),
                         kBrickRed);
        painter.fillPath(pageOutline(spineX, top + 1.5, pageWidth + 1.5, pageHeight, side),
                         kPaperEdge);
    }
    for (int side : {-1, 1}) {
        const QPainterPath page = pageOutline(spineX, top, pageWidth, pageHeight, side);
        painter.fillPath(page, kPaper);
        painter.strokePath(page, QPen(kInkLine, 1.0));
    }

    // Lines of writing under the words.
    const QPen writing(kWritingLine, 1.0, Qt::SolidLine, Qt::FlatCap);
    painter.setPen(writing);
    for (int side : {-1, 1}) {
        const double near = spineX + side * 7;
        const double far = spineX + side * (pageWidth - 5);
        for (double y = std::round(top + pageHeight * 0.62) + 0.5; y < bottom - 2; y += 4)
            painter.drawLine(QPointF(near, y), QPointF(far, y));
    }

    // The ribbon hanging from the foot of the spine.
    const double ribbonTop = bottom + 3;
    QPainterPath ribbon;
    ribbon.moveTo(spineX + 1, ribbonTop);
    ribbon.lineTo(spineX + 5, ribbonTop);
    ribbon.lineTo(spineX + 5, ribbonTop + 8);
    ribbon.lineTo(spineX + 3, ribbonTop + 6);
    ribbon.lineTo(spineX + 1, ribbonTop + 8);
    ribbon.closeSubpath();
    painter.fillPath(ribbon, kDarkGreen);

    // The words: English on the left page, Turkish on the right.
    const double letterSize = std::min(16.0, pageHeight * 0.45);
    const double wordY = top + 1 + pageHeight * 0.32;
    painter.fillPath(centredWord(QStringLiteral("EN"), letterFace, letterSize,
                                 {spineX - pageWidth / 2 - 1, wordY}),
                     kDarkGreen);
    painter.fillPath(centredWord(QStringLiteral("TR"), letterFace, letterSize,
                                 {spineX + pageWidth / 2 + 1, wordY}),
                     kBrickRed);

    // The arrow from one word to the other, above the book.
    const QPointF from(spineX - pageWidth / 2, top - 2);
    const QPointF to(spineX + pageWidth / 2, top - 2);
    const QPointF apex(spineX, top - 17);
    QPainterPath arc;
    arc.moveTo(from + (apex - from) * 0.18);
    arc.quadTo(apex, to + (apex - to) * 0.18);
    painter.strokePath(arc, QPen(kOlive, 2.0, Qt::SolidLine, Qt::FlatCap));
    painter.fillPath(arrowhead(from, from - apex, 6), kOlive);
    painter.fillPath(arrowhead(to, to - apex, 6), kOlive);
    painter.end();
    return image;
}

std::optional<Portrait> drawPortrait(QSize size, const QFont& letterFace, ShareRange share)
{
    std::optional<Portrait> best;
    for (double pageHeight = 20; pageHeight <= size.height() - 26; pageHeight += 0.5) {
        QImage image = drawBook(size, letterFace, pageHeight, 1);
        const double got = backgroundShare(image);
        if (!frameIsBackground(image) || got < share.low || got > share.high)
            continue;
        if (!best || std::abs(got - share.target) < std::abs(best->backgroundShare - share.target))
            best = Portrait{image, pageHeight, got};
    }
    return best;
}

IconGeometry iconGeometry(int size)
{
    const double unit = size / 16.0;
    IconGeometry icon;
    icon.size = size;
    icon.radius = 3.5 * unit; // wide enough to leave the corner pixels fully transparent
    icon.rim = std::max(1.0, std::round(unit));
    icon.left = std::round(4 * unit);
    icon.right = std::round(12.5 * unit);
    icon.top = std::round(3 * unit);
    icon.bottom = std::round(13 * unit);
    icon.stroke = std::round(2.25 * unit);
    icon.bowl = (icon.bottom - icon.top) / 2 + 0.5 * unit;
    return icon;
}

QImage drawIcon(int size)
{
    const IconGeometry icon = iconGeometry(size);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // The square: a brick-red rim around the window colour.
    QPainterPath outer;
    outer.addRoundedRect(QRectF(0, 0, size, size), icon.radius, icon.radius);
    painter.fillPath(outer, kBrickRed);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(icon.rim, icon.rim, size - 2 * icon.rim, size - 2 * icon.rim),
                         icon.radius - icon.rim, icon.radius - icon.rim);
    painter.fillPath(inner, kBackground);

    // The D: a straight stem and a bowl of half an ellipse, its strokes on whole pixels.
    const double left = icon.left;
    const double right = icon.right;
    const double top = icon.top;
    const double bottom = icon.bottom;
    const double stroke = icon.stroke;
    const double bowl = icon.bowl;
    QPainterPath letter;
    letter.setFillRule(Qt::OddEvenFill);
    letter.moveTo(left, top);
    letter.lineTo(right - bowl, top);
    letter.arcTo(QRectF(right - 2 * bowl, top, 2 * bowl, bottom - top), 90, -180);
    letter.lineTo(left, bottom);
    letter.closeSubpath();
    const double innerBowl = bowl - stroke;
    letter.moveTo(left + stroke, top + stroke);
    letter.lineTo(right - bowl, top + stroke);
    letter.arcTo(
        QRectF(right - bowl - innerBowl, top + stroke, 2 * innerBowl, bottom - top - 2 * stroke),
        90, -180);
    letter.lineTo(left + stroke, bottom - stroke);
    letter.closeSubpath();

    QLinearGradient shading(left, 0, right, 0);
    shading.setColorAt(0, kDarkGreen);
    shading.setColorAt(0.5, kOlive);
    shading.setColorAt(1, kBrickRed);
    painter.fillPath(letter, shading);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace dilmora::artgen
