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

/// The application icon at one size: a rounded square in the window colour with a
/// brick-red rim and a shaded letter D; transparent outside the square.
QImage drawIcon(int size);

} // namespace dilmora::artgen
