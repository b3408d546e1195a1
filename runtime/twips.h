// Twips, the unit of every position and size in a design, and their pixels.
#pragma once

namespace dilmora::runtime {

/// Twips in one device-independent pixel: 1440 twips an inch at 96 pixels an inch.
inline constexpr int kTwipsPerPixel = 15;

/// The one conversion from twips to device-independent pixels.
constexpr int twipsToPixels(int twips)
{
    return twips / kTwipsPerPixel;
}

/// A rectangle in twips, relative to a window's client area.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    friend constexpr bool operator==(const TwipRect&, const TwipRect&) = default;
};

} // namespace dilmora::runtime
