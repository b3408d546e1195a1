// The application icon as a scalable SVG drawing, for the icon theme's scalable size.
#pragma once

#include <QByteArray>

#include "drawings.h"

namespace dilmora::artgen {

/// An SVG document of the icon drawn from its geometry at one size (its user units are
/// that size's pixels): the rounded square with its rim and the shaded D, as shapes.
/// The same geometry always gives the same bytes.
QByteArray iconSvg(const IconGeometry& icon);

} // namespace dilmora::artgen
