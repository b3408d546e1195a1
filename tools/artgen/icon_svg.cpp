// Writes the icon's shapes as SVG elements: a rounded rectangle for the rim, one for the
// window colour inside it, and the D as one even-odd path of two half ellipses.
#include "icon_svg.h"

#include "lettering.h"

#include <QString>

namespace dilmora::artgen {

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 8);
}

// Qt names colours in lower case: "#b03a2e".
QString colour(const QColor& value)
{
    return value.name();
}

// The outline of a D: from the stem's top along the top edge to where the bowl starts,
// round the bowl (a half ellipse, clockwise on the screen) and back along the foot.
QString halfEllipseD(double left, double top, double bottom, double bowlCentre, double bowl)
{
    const double radiusY = (bottom - top) / 2;
    return QStringLiteral("M%1 %2H%3A%4 %5 0 0 1 %3 %6H%1Z")
        .arg(number(left), number(top), number(bowlCentre), number(bowl), number(radiusY),
             number(bottom));
}

} // namespace

QByteArray iconSvg(const IconGeometry& icon)
{
    const double bowlCentre = icon.right - icon.bowl;
    const QString letter =
        halfEllipseD(icon.left, icon.top, icon.bottom, bowlCentre, icon.bowl) + ' '
        + halfEllipseD(icon.left + icon.stroke, icon.top + icon.stroke, icon.bottom - icon.stroke,
                       bowlCentre, icon.bowl - icon.stroke);
    const double inner = icon.size - 2 * icon.rim;

    QString svg;
    svg += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    svg += QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                          "viewBox=\"0 0 %1 %1\">\n")
               .arg(number(icon.size));
    svg += QStringLiteral("  <title>Dilmora</title>\n");
    svg += QStringLiteral("  <defs>\n");
    svg += QStringLiteral("    <linearGradient id=\"shading\" gradientUnits=\"userSpaceOnUse\" "
                          "x1=\"%1\" y1=\"0\" x2=\"%2\" y2=\"0\">\n")
               .arg(number(icon.left), number(icon.right));
    svg += QStringLiteral("      <stop offset=\"0\" stop-color=\"%1\"/>\n").arg(colour(kDarkGreen));
    svg += QStringLiteral("      <stop offset=\"0.5\" stop-color=\"%1\"/>\n").arg(colour(kOlive));
    svg += QStringLiteral("      <stop offset=\"1\" stop-color=\"%1\"/>\n").arg(colour(kBrickRed));
    svg += QStringLiteral("    </linearGradient>\n");
    svg += QStringLiteral("  </defs>\n");
    svg += QStringLiteral("  <rect width=\"%1\" height=\"%1\" rx=\"%2\" fill=\"%3\"/>\n")
               .arg(number(icon.size), number(icon.radius), colour(kBrickRed));
    svg += QStringLiteral(
               "  <rect x=\"%1\" y=\"%1\" width=\"%2\" height=\"%2\" rx=\"%3\" fill=\"%4\"/>\n")
               .arg(number(icon.rim), number(inner), number(icon.radius - icon.rim),
                    colour(kBackground));
    svg += QStringLiteral("  <path fill=\"url(#shading)\" fill-rule=\"evenodd\" d=\"%1\"/>\n")
               .arg(letter);
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

} // namespace dilmora::artgen
