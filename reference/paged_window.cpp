// Deriving a paged window's design, and setting one cell of its grid.
#include "reference/paged_window.h"

#include <array>

namespace dilmora::reference {

std::string_view labelName(int number)
{
    static const auto names = [] {
        std::array<std::string, 200> all;
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = "Label" + std::to_string(i);
        return all;
    }();
    return names.at(static_cast<std::size_t>(number));
}

PagedDesign::PagedDesign(const PagedWindowOutline& outline,
                         const std::vector<std::string_view>& firstPage)
{
    const int columns = static_cast<int>(outline.columns.size());
    const int buttons = static_cast<int>(outline.buttons.size());
    // Labels follow the buttons in the tab order, by their numbers.
    auto labelTabIndex = [buttons](int number) { return buttons + number - 1; };

    for (int c = 1; c <= columns; ++c) {
        const Column& column = outline.columns[c - 1];
        const HeaderText& header = outline.headers[c - 1];
        m_labels.push_back(headerCell(labelName(c), column.left, column.width, header.caption,
                                      header.toolTip, labelTabIndex(c)));
    }
    for (int row = 1; row <= kRowsPerPage; ++row) {
        for (int c = 1; c <= columns; ++c) {
            const int number = gridLabelNumber(columns, row, c);
            const Column& column = outline.columns[c - 1];
            m_labels.push_back(gridCell(labelName(number), column.left, column.width, row,
                                        firstPage.at(number - columns - 1), labelTabIndex(number)));
        }
    }
    for (const DesignCaption& deviation : outline.designCaptions)
        m_labels.at(deviation.label - 1).caption = deviation.caption;

    for (int i = 0; i < buttons; ++i) {
        const PageButton& button = outline.buttons[i];
        m_buttons.push_back(commandButton(button.name,
                                          {button.left, kButtonTop, button.width, kButtonHeight},
                                          button.caption, i));
    }

    m_form = {.name = outline.name,
              .title = outline.title,
              .clientWidth = kPagedClientWidth,
              .clientHeight = kPagedClientHeight,
              .labels = m_labels,
              .buttons = m_buttons};
}

void setCellCaption(runtime::Form& window, int labelNumber, std::string_view text)
{
    runtime::ControlRef cell = window.control(labelName(labelNumber));
    runtime::check(cell.setCaption(text), cell.name(), runtime::Interface::Label,
                   runtime::Operation::Caption);
}

} // namespace dilmora::reference
