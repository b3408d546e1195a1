// Window designs: plain data that the forms runtime turns into widgets.
//
// A design names a window's fixed properties and lists its controls, each
// with the properties it keeps for as long as the window is loaded. Only a
// label's caption ever changes at run time. Designs hold no Qt types, so the
// windows and their content can be read and checked without a screen.
#pragma once

#include "runtime/twips.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dilmora::runtime {

/// A 24-bit colour, 0xRRGGBB.
using Rgb = std::uint32_t;

/// The colour a control takes from the runtime when its design names none.
inline constexpr Rgb kDefaultTextColour = 0x000000;

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
    /// The caption's language, for a screen reader's voice: "en" or "tr".
    std::string_view language = "en";
    /// A Turkish part of an English caption (a name, a place), if any.
    std::string_view turkishPart;
};

/// A command button in the graphical style, so that its background shows.
struct ButtonDesign {
    std::string_view name;
    TwipRect rect;
    std::string_view caption;
    std::string_view description; ///< What a click does, for assistive technology.
    Rgb background = 0xFFFFFF;
    int tabIndex = 0;
};

/// A picture shown at its natural size from a bitmap in the resources.
struct ImageDesign {
    std::string_view name;
    TwipRect rect;
    /// Resource path of the bitmap file; the runtime finds the picture for high-density
    /// screens beside it by name (runtime/picture.h).
    std::string_view bitmap;
    std::string_view accessibleName; ///< The picture's lettering, read out by a screen reader.
    std::string_view accessibleDescription; ///< What the picture shows, for a screen reader.
};

/// A top-level menu item with no sub-items: a click runs its command.
struct MenuItemDesign {
    std::string_view name;
    std::string_view caption;
};

/// Labels of a design that assistive technology reads as one table, with
/// the header labels as its column headers. The labels stay the design's.
struct GridDesign {
    int rows = 0;
    int columns = 0;
    std::span<const std::string_view> cells;   ///< Label names, row by row: rows × columns.
    std::span<const std::string_view> headers; ///< The label over each column; "" for none.
    /// The table's description, from the texts its cells show now (UTF-8, row
    /// by row), such as the page shown; none when empty.
    std::function<std::string(const std::vector<std::string>& texts)> describe;
};

struct FormDesign {
    std::string_view name;
    std::string_view title;
    int clientWidth = 0;  ///< Twips, below the menu bar if there is one.
    int clientHeight = 0; ///< Twips.
    Rgb background = 0xFFE0C0;
    std::span<const MenuItemDesign> menu;
    std::span<const LabelDesign> labels;
    std::span<const ButtonDesign> buttons;
    std::span<const ImageDesign> images;
    const GridDesign* grid = nullptr; ///< A table for assistive technology; null for none.
};

} // namespace dilmora::runtime
