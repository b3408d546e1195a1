// Deriving a paged window's design from its outline, binding its buttons,
// and writing a page into its grid.
#include "reference/paged_window.h"

#include <array>

namespace dilmora::reference {

namespace {

std::string_view withoutTrailingBlanks(std::string_view text)
{
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

/// Each row as a find sees it, with its place on its page: the texts of the
/// English columns, the first of them the entry, and of the Turkish column.
FindableWindow findableRows(const PagedWindowOutline& outline)
{
    const PagedContent& content = outline.content;
    std::vector<Entry> entries;
    std::vector<FindableWindow::Place> places;
    for (int row = 0; row < content.rowCount(); ++row) {
        Entry entry;
        std::size_t english = 0;
        for (int c = 0; c < content.columns(); ++c) {
            const std::string_view text = content.cell(row, c);
            if (outline.columns[static_cast<std::size_t>(c)].language == "tr")
                entry.turkish = text;
            else if (english < entry.english.size())
                entry.english[english++] = text;
        }
        entries.push_back(entry);
        places.push_back({.page = row / kRowsPerPage + 1,
                          .row = row % kRowsPerPage,
                          .firstColumn = 0,
                          .columns = content.columns()});
    }
    return {outline.title, std::move(entries), std::move(places)};
}

bool showsPage(const PagedContent& content, const std::vector<std::string>& texts, int page)
{
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (withoutTrailingBlanks(texts[i])
            != withoutTrailingBlanks(content.text(page, static_cast<int>(i) + 1)))
            return false;
    }
    return true;
}

} // namespace

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

std::string pageButtonDescription(int page, int pageCount)
{
    if (page == pageCount)
        return "Show the last page (page " + std::to_string(page) + ")";
    return "Show page " + std::to_string(page);
}

std::string pageShown(const PagedContent& content, const std::vector<std::string>& texts)
{
    for (int page = 1; page <= content.pageCount(); ++page) {
        if (showsPage(content, texts, page))
            return "Page " + std::to_string(page) + " of " + std::to_string(content.pageCount());
    }
    return {};
}

PagedDesign::PagedDesign(const PagedWindowOutline& outline)
    : m_outline(outline), m_findable(findableRows(outline))
{
    const PagedContent& content = outline.content;
    const int columns = static_cast<int>(outline.columns.size());
    const int buttons = static_cast<int>(outline.buttons.size());

    for (int c = 1; c <= columns; ++c) {
        const HeaderText& header = outline.headers[c - 1];
        m_labels.push_back(headerCell(labelName(c), outline.columns[c - 1], header.caption,
                                      header.toolTip, labelTabIndex(buttons, c)));
        m_headerNames.push_back(labelName(c));
    }
    for (int row = 1; row <= kRowsPerPage; ++row) {
        for (int c = 1; c <= columns; ++c) {
            const int number = gridLabelNumber(columns, row, c);
            m_labels.push_back(gridCell(labelName(number), outline.columns[c - 1], row,
                                        content.text(1, number - columns),
                                        labelTabIndex(buttons, number)));
            m_cellNames.push_back(labelName(number));
        }
    }
    for (const DesignCaption& deviation : outline.designCaptions)
        m_labels.at(deviation.label - 1).caption = deviation.caption;

    for (const PageButton& button : outline.buttons) {
        m_descriptions.push_back(button.page == kMainPage
                                     ? std::string(kMainPageDescription)
                                     : pageButtonDescription(button.page, content.pageCount()));
    }
    for (int i = 0; i < buttons; ++i) {
        const PageButton& button = outline.buttons[i];
        m_buttons.push_back(commandButton(button.name,
                                          {button.left, kButtonTop, button.width, kButtonHeight},
                                          button.caption, m_descriptions[i], i));
    }

    m_grid = {.rows = kRowsPerPage,
              .columns = columns,
              .cells = m_cellNames,
              .headers = m_headerNames,
              .describe = [&content](const std::vector<std::string>& texts) {
                  return pageShown(content, texts);
              }};
    m_form = {.name = outline.name,
              .title = outline.title,
              .clientWidth = kPagedClientWidth,
              .clientHeight = kPagedClientHeight,
              .labels = m_labels,
              .buttons = m_buttons,
              .grid = &m_grid};
}

void setCellCaption(runtime::Form& window, int labelNumber, std::string_view text)
{
    runtime::ControlRef cell = window.control(labelName(labelNumber));
    runtime::check(cell.setCaption(text), cell.name(), runtime::Interface::Label,
                   runtime::Operation::Caption);
}

void showPage(runtime::Form& window, const PagedContent& content, int page)
{
    const int texts = kRowsPerPage * content.columns();
    for (int k = 1; k <= texts; ++k)
        setCellCaption(window, content.columns() + k, content.text(page, k));
}

std::unique_ptr<runtime::Form> createPagedForm(const PagedDesign& design)
{
    auto window = std::make_unique<runtime::Form>(design.form());
    const PagedContent& content = design.outline().content;
    for (const PageButton& button : design.outline().buttons) {
        if (button.page == kMainPage)
            window->onClick(button.name, mainPage);
        else
            window->onClick(button.name, [&content, page = button.page](runtime::Form& form) {
                showPage(form, content, page);
            });
    }
    window->onFind(
        {.search = [&findable =
                        design.findable()](const QString& typed) { return findable.find(typed); },
         .showPage = [&content](runtime::Form& form, int page) { showPage(form, content, page); }});
    return window;
}

} // namespace dilmora::reference
