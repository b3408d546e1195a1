// Window designs: plain data that the forms runtime turns into widgets.
//
// A design names a window's fixed properties and lists its controls, each
// with the properties it keeps for as long as the window is loaded. Only a
// label's caption ever changes at run time. Designs hold no Qt types, so the
// windows and their content can be read and checked without a screen.
#pragma once

#include "runtime/twips.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace dilmora::runtime {

/// A 24-bit colour, 0xRRGGBB.
using Rgb = std::uint32_t;

/// The colour a control takes from the runtime when its design names none.
inline constexpr Rgb kDefaultTextColour = 0x000000;

/// The icon that every window of the program carries, from the resources.
inline constexpr std::string_view kApplicationIcon = ":/app/assets/dilmora.ico";

/// A font that a design names; controls without one use the dialog font.
struct FontDesign {
    std::string_view family;
    int pointSizeHundredths = 0; ///< 900 is 9 pt, 975 is 9.75 pt.
    int weight = 400;            ///< 400 normal, 700 bold.
    int charset = 0;             ///< 162 is the Turkish character set.
};

enum class Border { None, FixedSingle };

/// How a text wider than its label is drawn: cut off at the label's right
/// edge on its one line, or broken at blanks onto the lines below.
enum class Wrap { None, AtBlanks };

struct LabelDesign {
    std::string_view name;
    TwipRect rect;
    std::string_view caption;
    Rgb background = 0xFFFFFF;
    Rgb foreground = kDefaultTextColour;
    Border border = Border::FixedSingle;
    Wrap wrap = Wrap::None;
    const FontDesign* font = nullptr;
    std::string_view toolTip;
    int tabIndex = 0;
};

/// A command button in the graphical style, so that its background shows.
struct ButtonDesign {
    std::string_view name;
    TwipRect rect;
    std::string_view caption;
    Rgb background = 0xFFFFFF;
    int tabIndex = 0;
};

/// A picture shown at its natural size from a bitmap in the resources.
struct ImageDesign {
    std::string_view name;
    TwipRect rect;
    std::string_view bitmap;         ///< Resource path of the bitmap file.
    std::string_view accessibleName; ///< The picture's lettering, read out by a screen reader.
    std::string_view accessibleDescription; ///< What the picture shows, for a screen reader.
};

/// A top-level menu item with no sub-items: a click runs its command.
struct MenuItemDesign {
    std::string_view name;
    std::string_view caption;
};

struct FormDesign {
    std::string_view name;
    std::string_view title;
    int clientWidth = 0;  ///< Twips, below the menu bar if there is one.
    int clientHeight = 0; ///< Twips.
    Rgb background = 0xFFE0C0;
    std::string_view icon; ///< Resource path of the window icon.
    std::span<const MenuItemDesign> menu;
    std::span<const LabelDesign> labels;
    std::span<const ButtonDesign> buttons;
    std::span<const ImageDesign> images;
};

} // namespace dilmora::runtime
