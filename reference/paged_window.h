// The paged reference window: a grid of bordered cells under a header row,
// and a row of buttons that each show one page of a content table.
//
// A window is described by a PagedWindowOutline: its grid columns, header
// cells, buttons with the page each shows, and the few design captions that
// differ from page 1. PagedDesign derives the full design from it (the grid
// labels are numbered N + N * (row - 1) + column and open on page 1), and
// createPagedWindow() binds each button to showPage() or "Main Page".
#pragma once

#include "reference/cell_look.h"
#include "reference/content_table.h"
#include "runtime/form.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dilmora::reference {

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

struct PagedWindowOutline {
    std::string_view name;
    std::string_view title;
    std::span<const Column> columns;     ///< Left to right; one header cell each.
    std::span<const HeaderText> headers; ///< One per column.
    std::span<const PageButton> buttons; ///< In tab order, "Main Page" first.
    std::span<const DesignCaption> designCaptions;
};

/// Client area of the paged windows, in twips.
inline constexpr int kPagedClientWidth = 6255;
inline constexpr int kPagedClientHeight = 8775;

/// "Label<number>", kept for the whole run.
std::string_view labelName(int number);

/// Label number of the cell in grid row `row` and column `column` (both from 1).
constexpr int gridLabelNumber(int columns, int row, int column)
{
    return columns + columns * (row - 1) + column;
}

/// The full design of a paged window, derived once from its outline and the
/// first page of its table.
class PagedDesign {
public:
    PagedDesign(const PagedWindowOutline& outline, const std::vector<std::string_view>& firstPage);
    const runtime::FormDesign& form() const { return m_form; }

private:
    std::vector<LabelDesign> m_labels;
    std::vector<ButtonDesign> m_buttons;
    runtime::FormDesign m_form;
};

/// The texts of page 1, row by row.
template <std::size_t N> std::vector<std::string_view> firstPage(const ContentTable<N>& table)
{
    std::vector<std::string_view> texts;
    for (int k = 1; k <= ContentTable<N>::kTextsPerPage; ++k)
        texts.push_back(table.text(1, k));
    return texts;
}

/// Sets the caption of grid label `labelNumber`, holding the label for this
/// one assignment; a failure raises a run-time error.
void setCellCaption(runtime::Form& window, int labelNumber, std::string_view text);

/// Writes page `page` of `table` into every grid cell, in label-number order,
/// also where a text is unchanged or empty. Touches nothing else.
template <std::size_t N>
void showPage(runtime::Form& window, const ContentTable<N>& table, int page)
{
    for (int k = 1; k <= ContentTable<N>::kTextsPerPage; ++k)
        setCellCaption(window, static_cast<int>(N) + k, table.text(page, k));
}

/// A form for the design, each button bound to its page or to "Main Page".
template <std::size_t N>
std::unique_ptr<runtime::Form> createPagedWindow(const PagedWindowOutline& outline,
                                                 const PagedDesign& design,
                                                 const ContentTable<N>& table)
{
    auto window = std::make_unique<runtime::Form>(design.form());
    for (const PageButton& button : outline.buttons) {
        if (button.page == kMainPage)
            window->onClick(button.name, mainPage);
        else
            window->onClick(button.name, [&table, page = button.page](runtime::Form& form) {
                showPage(form, table, page);
            });
    }
    return window;
}

} // namespace dilmora::reference
