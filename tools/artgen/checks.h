// Checks of the written files, read back from disk exactly as the program will get them.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "bitmap_files.h"
#include "lettering.h"

#include <vector>

namespace dilmora::artgen {

/// Reads a 24-bit BMP file and checks its size, its frame and its background share.
/// Returns the picture, or sets problem to what is wrong.
QImage checkBmpFile(const QString& path, QSize size, ShareRange share, QString* problem);

/// Reads the icon file and checks that it holds exactly the given images in their order,
/// each at its size, depth and storage: the 32-bit ones pixel for pixel, the 8-bit ones
/// with the same mask and colours close to the artwork's. Returns what is wrong, or nothing.
QString checkIcoFile(const QString& path, const std::vector<IconImage>& images);

/// Reads a PNG file and checks that it is the artwork pixel for pixel.
QString checkPngFile(const QString& path, const QImage& artwork);

/// Reads the scalable icon and checks that it is well-formed SVG with a view box of the
/// given size and the icon's three shapes. Returns what is wrong, or nothing.
QString checkSvgFile(const QString& path, double size);

} // namespace dilmora::artgen
