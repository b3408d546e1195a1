// One line of lettering on the window background, shaded from dark green through olive to brick
// red, and what the drawn pictures share with it: the colours, outlines taken from a font and
// the share of background pixels.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QSize>
#include <QString>

#include <optional>

namespace dilmora::artgen {

/// The window background that every picture shares.
inline const QColor kBackground{0xFF, 0xE0, 0xC0};
/// The three colours the lettering runs through from its left edge to its right edge.
inline const QColor kDarkGreen{0x00, 0x64, 0x00};
inline const QColor kOlive{0x80, 0x80, 0x00};
inline const QColor kBrickRed{0xB0, 0x3A, 0x2E};

/// Colour of the lettering's shading at t (0 at the left edge of the ink, 1 at its right edge).
QColor shadeAt(double t);

/// The em size, in pixels, at which outlines are taken from a font before they are scaled.
inline constexpr int kOutlineSize = 1000;

/// The outline of text in a font, taken at kOutlineSize pixels an em (an absolute letter
/// spacing in the font counts at that size) and scaled to pixelSize pixels an em; its origin
/// is the start of the baseline.
QPainterPath scaledOutline(const QString& text, const QFont& font, double pixelSize);

/// Share of the image's pixels that are exactly the background colour.
double backgroundShare(const QImage& image);

/// Share of pixels that are exactly the background colour: the lowest, the aimed-at and the
/// highest.
struct ShareRange {
    double low;
    double target;
    double high;
};

/// How a line of lettering was set, and the picture it gave.
struct Lettering {
    QImage image;             ///< Format_RGB32, the requested size
    double pixelSize = 0;     ///< em size in pixels
    double letterSpacing = 0; ///< extra pixels after every letter
    double embolden = 0;      ///< pixels added around every outline
    double backgroundShare = 0;
};

/// Sets text in the given face (family, weight and style; its size is chosen here) centred
/// in a picture of the given size, leaving the 1-pixel frame untouched. Among the sizes,
/// letter spacings and outline weights that keep the background share within range, it
/// takes the one nearest the target, preferring large letters and light outlines.
/// Returns nothing when no setting reaches the range.
std::optional<Lettering> fitLettering(const QString& text, const QFont& face, QSize size,
                                      ShareRange share);

/// The lettering that fitLettering() set, drawn scale times as fine: an image of
/// size * scale pixels, its outlines placed as at scale 1 and then enlarged, for screens
/// of that device pixel ratio. At scale 1 it is the fitted picture.
QImage drawLettering(const QString& text, const QFont& face, QSize size, const Lettering& setting,
                     int scale);

} // namespace dilmora::artgen
