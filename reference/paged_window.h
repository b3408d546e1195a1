// The paged reference window: a grid of bordered cells under a header row,
// and a row of buttons that each show one page of a content table.
//
// This file is the whole mechanism that the paged windows share: the
// geometry of cells and buttons (which the numbers window borrows for its
// own grid), the label-numbering rule, the design derived from a window's
// outline, showPage, and the one function that creates a paged window. A
// window's own file holds only its PagedWindowOutline: columns, header texts,
// buttons with the page each shows, the few design captions that differ
// from page 1, and its content table.
#pragma once

#include "reference/content_table.h"
#include "reference/findable.h"
#include "runtime/design.h"
#include "runtime/form.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dilmora::reference {

using runtime::ButtonDesign;
using runtime::LabelDesign;
using runtime::TwipRect;

// --- The look and geometry of every reference window, in twips ------------

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

/// Client area of the paged windows.
inline constexpr int kPagedClientWidth = 6255;
inline constexpr int kPagedClientHeight = 8775;

/// A column of cells: every cell of it shares its Left and Width, and the
/// language of its texts ("en" or "tr"), for a screen reader's voice.
struct Column {
    int left = 0;
    int width = 0;
    std::string_view language = "en";
};

/// Top of grid row `row`, from 1.
constexpr int rowTop(int row)
{
    return kFirstRowTop + kRowPitch * (row - 1);
}

// --- Label numbering of the paged windows ----------------------------------

/// Label number of the cell in grid row `row` and column `column` (both from
/// 1); the header cells are Label1 to Label<columns>, left to right.
constexpr int gridLabelNumber(int columns, int row, int column)
{
    return columns + columns * (row - 1) + column;
}

/// Labels follow the buttons in the tab order, by their numbers.
constexpr int labelTabIndex(int buttons, int labelNumber)
{
    return buttons + labelNumber - 1;
}

/// "Label<number>", kept for the whole run.
std::string_view labelName(int number);

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

// --- Cells and buttons ------------------------------------------------------

constexpr LabelDesign headerCell(std::string_view name, Column column, std::string_view caption,
                                 std::string_view toolTip, int tabIndex)
{
    return {.name = name,
            .rect = {column.left, kHeaderTop, column.width, kCellHeight},
            .caption = caption,
            .background = kHeaderBackground,
            .toolTip = toolTip,
            .tabIndex = tabIndex};
}

constexpr LabelDesign gridCell(std::string_view name, Column column, int row,
                               std::string_view caption, int tabIndex)
{
    return {.name = name,
            .rect = {column.left, rowTop(row), column.width, kCellHeight},
            .caption = caption,
            .background = kGridBackground,
            .tabIndex = tabIndex,
            .language = column.language};
}

constexpr ButtonDesign commandButton(std::string_view name, TwipRect rect, std::string_view caption,
                                     std::string_view description, int tabIndex)
{
    return {.name = name,
            .rect = rect,
            .caption = caption,
            .description = description,
            .background = kButtonBackground,
            .tabIndex = tabIndex};
}

inline constexpr std::string_view kMainPageCaption = "Main Page";
inline constexpr std::string_view kMainPageDescription =
    "Close this window and return to the main window";

/// "Main Page" at `rect`: the first in the tab order.
constexpr ButtonDesign mainPageButton(std::string_view name, TwipRect rect)
{
    return commandButton(name, rect, kMainPageCaption, kMainPageDescription, 0);
}

/// "Main Page": closes the reference window and gives input back to the main window.
inline void mainPage(runtime::Form& window)
{
    runtime::unloadSelf(window);
}

// --- A paged window's outline and the design derived from it ---------------

struct HeaderText {
    std::string_view caption;
    std::string_view toolTip;
};

/// The page a button shows; kMainPage marks the "Main Page" button.
inline constexpr int kMainPage = 0;

struct PageButton {
    std::string_view name;
    std::string_view caption;
    int left = 0;
    int width = 0;
    int page = kMainPage;
};

/// A design caption that differs from the page-1 text of its cell.
struct DesignCaption {
    int label = 0;
    std::string_view caption;
};

/// Everything in which one paged window differs from another.
struct PagedWindowOutline {
    std::string_view name;
    std::string_view title;
    std::span<const Column> columns;     ///< Left to right; one header cell each.
    std::span<const HeaderText> headers; ///< One per column.
    std::span<const PageButton> buttons; ///< In tab order, "Main Page" first.
    std::span<const DesignCaption> designCaptions;
    const PagedContent& content; ///< As many texts a row as there are columns.
};

/// What a page button tells assistive technology: "Show page 3", or for the
/// last page "Show the last page (page 10)".
std::string pageButtonDescription(int page, int pageCount);

/// "Page 3 of 10" when the texts (grid cells row by row) are those of a page
/// of `content`, blanks at their ends aside; "" when they are no page's, as
/// after a page turn that failed half way. The window keeps no page state:
/// the texts are the only record of the page shown.
std::string pageShown(const PagedContent& content, const std::vector<std::string>& texts);

/// The full design of a paged window, derived once from its outline: the
/// header cells, the grid labels numbered by gridLabelNumber() with the
/// texts of page 1, the buttons in one row, and the grid as a table for
/// assistive technology.
class PagedDesign {
public:
    explicit PagedDesign(const PagedWindowOutline& outline);
    PagedDesign(const PagedDesign&) = delete;
    PagedDesign& operator=(const PagedDesign&) = delete;

    const PagedWindowOutline& outline() const { return m_outline; }
    const runtime::FormDesign& form() const { return m_form; }
    /// The rows as a find sees them: English columns and the Turkish one.
    const FindableWindow& findable() const { return m_findable; }

private:
    const PagedWindowOutline& m_outline;
    std::vector<LabelDesign> m_labels;
    std::vector<std::string> m_descriptions; ///< Filled before m_buttons points into it.
    std::vector<ButtonDesign> m_buttons;
    std::vector<std::string_view> m_cellNames;
    std::vector<std::string_view> m_headerNames;
    runtime::GridDesign m_grid;
    runtime::FormDesign m_form;
    FindableWindow m_findable;
};

/// Sets the caption of grid label `labelNumber`, holding the label for this
/// one assignment; a failure raises a run-time error.
void setCellCaption(runtime::Form& window, int labelNumber, std::string_view text);

/// Writes page `page` of `content` into every grid cell, in label-number
/// order, also where a text is unchanged or empty. Touches nothing else.
void showPage(runtime::Form& window, const PagedContent& content, int page);

/// A form for the design, each button bound to its page or to "Main Page",
/// that finds its rows when the user types.
std::unique_ptr<runtime::Form> createPagedForm(const PagedDesign& design);

/// The design of the paged window of `outline`, derived on the first call.
template <const PagedWindowOutline& outline> const PagedDesign& pagedDesign()
{
    static const PagedDesign design(outline);
    return design;
}

/// Creates the paged window of `outline` for its instance slot.
template <const PagedWindowOutline& outline> std::unique_ptr<runtime::Form> createPagedWindow()
{
    return createPagedForm(pagedDesign<outline>());
}

} // namespace dilmora::reference
