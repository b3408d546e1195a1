// The two drawn pictures: the About window's open book and the application icon.
#pragma once

#include <QFont>
#include <QImage>

#include <optional>

#include "lettering.h"

namespace dilmora::artgen {

/// The About window's picture and the setting that gave it.
struct Portrait {
    QImage image;          ///< Format_RGB32
    double pageHeight = 0; ///< pixels from the top to the bottom edge of a page
    double backgroundShare = 0;
};

/// An open book, "EN" on its left page and "TR" on its right, with an arrow from one to
/// the other, on the window background with a clear 1-pixel frame. The page height is
/// chosen so that the background share comes nearest the target within range.
std::optional<Portrait> drawPortrait(QSize size, const QFont& letterFace, ShareRange share);

/// The open book at one page height, drawn scale times as fine: an image of size * scale
/// pixels with the same geometry as at scale 1, for screens of that device pixel ratio.
QImage drawBook(QSize size, const QFont& letterFace, double pageHeight, int scale);

/// Where the parts of the icon lie at one size, in pixels, rounded as the bitmaps need.
/// The bitmaps and the scalable icon are drawn from it.
struct IconGeometry {
    double size = 0;   ///< width and height of the rounded square
    double radius = 0; ///< corner radius of the square
    double rim = 0;    ///< width of the brick-red rim
    double left = 0;   ///< the D: left edge of its stem
    double right = 0;  ///< rightmost point of its bowl
    double top = 0;
    double bottom = 0;
    double stroke = 0; ///< width of its strokes
    double bowl = 0;   ///< horizontal radius of the bowl's outer half ellipse
};
IconGeometry iconGeometry(int size);

/// The application icon at one size: a rounded square in the window colour with a
/// brick-red rim and a shaded letter D; transparent outside the square.
QImage drawIcon(int size);

} // namespace dilmora::artgen
