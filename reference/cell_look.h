// The look that every reference window shares: bordered header and grid
// cells, the button row and the "Main Page" button.
#pragma once

#include "runtime/design.h"
#include "runtime/form.h"

#include <string_view>

namespace dilmora::reference {

using runtime::ButtonDesign;
using runtime::LabelDesign;
using runtime::TwipRect;

inline constexpr runtime::Rgb kHeaderBackground = 0xFFC0C0;
inline constexpr runtime::Rgb kGridBackground = 0xC0C0FF;
inline constexpr runtime::Rgb kButtonBackground = 0xFFC0C0;

inline constexpr int kHeaderTop = 240;
inline constexpr int kFirstRowTop = 480;
/// Rows step by 15 twips less than a cell is high, so neighbours share a border line.
inline constexpr int kRowPitch = 240;
inline constexpr int kCellHeight = 255;
inline constexpr int kButtonHeight = 375;
/// The button row of the paged windows, under the grid.
inline constexpr int kButtonTop = 8280;

/// A column of cells: every cell of it shares its Left and Width.
struct Column {
    int left = 0;
    int width = 0;
};

/// Top of grid row `row`, from 1.
constexpr int rowTop(int row)
{
    return kFirstRowTop + kRowPitch * (row - 1);
}

/// The number in a control name such as "Label42".
constexpr int controlNumber(std::string_view name)
{
    int number = 0;
    for (char c : name) {
        if (c >= '0' && c <= '9')
            number = number * 10 + (c - '0');
    }
    return number;
}

constexpr LabelDesign headerCell(std::string_view name, int left, int width,
                                 std::string_view caption, std::string_view toolTip, int tabIndex)
{
    return {.name = name,
            .rect = {left, kHeaderTop, width, kCellHeight},
            .caption = caption,
            .background = kHeaderBackground,
            .toolTip = toolTip,
            .tabIndex = tabIndex};
}

constexpr LabelDesign gridCell(std::string_view name, int left, int width, int row,
                               std::string_view caption, int tabIndex)
{
    return {.name = name,
            .rect = {left, rowTop(row), width, kCellHeight},
            .caption = caption,
            .background = kGridBackground,
            .tabIndex = tabIndex};
}

constexpr ButtonDesign commandButton(std::string_view name, TwipRect rect, std::string_view caption,
                                     int tabIndex)
{
    return {.name = name,
            .rect = rect,
            .caption = caption,
            .background = kButtonBackground,
            .tabIndex = tabIndex};
}

inline constexpr std::string_view kMainPageCaption = "Main Page";

/// "Main Page": closes the reference window and gives input back to the main window.
inline void mainPage(runtime::Form& window)
{
    runtime::unloadSelf(window);
}

} // namespace dilmora::reference
