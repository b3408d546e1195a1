// Reduction of an icon image to the 256-colour palette of an 8-bit icon image.
#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

namespace dilmora::artgen {

/// An image as palette indexes plus the pixels that the icon's AND mask hides.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<QRgb>
        palette; ///< always 256 entries; entry 0 is black and used by masked pixels only
    std::vector<std::uint8_t> indexes; ///< one per pixel, rows from the top
    std::vector<bool> masked;          ///< one per pixel: true where alpha is below one half
};

/// Index an ARGB32 image (straight alpha). Up to 255 distinct visible colours are kept
/// exactly; more are reduced by median cut. The result depends on the pixels alone.
IndexedImage toIndexed(const QImage& artwork);

} // namespace dilmora::artgen
