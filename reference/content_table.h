// Content tables: the rows of a paged reference window, cut into pages of 32.
//
// A table is plain data that depends on nothing but the standard library.
// Every row is checked while the program is compiled: a row with the wrong
// number of texts, or a text that breaks the cell conventions, stops the
// build at that row.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <type_traits>

namespace dilmora::reference {

/// Rows shown on one page of every paged window.
inline constexpr int kRowsPerPage = 32;

/// True when a text is fit for a row with content: exactly one leading blank,
/// something after it, and no blank at its end.
constexpr bool isCellText(std::string_view text)
{
    return text.size() >= 2 && text.front() == ' ' && text[1] != ' ' && text.back() != ' ';
}

/// One row of a content table: exactly N texts, each one blank followed by
/// its content. Empty rows are never written out; the last page is filled
/// with them when it is shown.
template <std::size_t N> struct ContentRow {
    std::array<std::string_view, N> texts;

    template <typename... Texts>
    requires(sizeof...(Texts) == N
             && (std::is_convertible_v<
                     Texts, std::string_view> && ...)) consteval ContentRow(Texts... cells)
        : texts{std::string_view(cells)...}
    {
        for (std::string_view text : texts) {
            if (!isCellText(text))
                throw "every text of a row starts with exactly one blank and does not end with one";
        }
    }
};

/// A content table seen page by page, whatever its number of columns: what
/// the paged window's mechanism reads, so that it needs no template.
class PagedContent {
public:
    /// Texts in a row.
    virtual int columns() const = 0;
    /// Rows with content.
    virtual int rowCount() const = 0;
    /// Pages needed for all rows; a remainder makes one more page.
    virtual int pageCount() const = 0;
    /// Text `column` (from 0) of row `row` (from 0) of the whole table.
    virtual std::string_view cell(int row, int column) const = 0;
    /// Text k (from 1 to 32 * columns(), row by row) of page p (from 1):
    /// the empty string in the rows that fill up the last page.
    virtual std::string_view text(int page, int k) const = 0;

protected:
    ~PagedContent() = default;
};

/// A window's whole content in the order it is shown, N texts a row.
template <std::size_t N> class ContentTable final : public PagedContent {
public:
    static constexpr int kColumns = static_cast<int>(N);
    static constexpr int kTextsPerPage = kRowsPerPage * kColumns;

    constexpr explicit ContentTable(std::span<const ContentRow<N>> rows) : m_rows(rows) {}

    constexpr int rowCount() const override { return static_cast<int>(m_rows.size()); }

    constexpr int columns() const override { return kColumns; }

    constexpr int pageCount() const override
    {
        return (rowCount() + kRowsPerPage - 1) / kRowsPerPage;
    }

    /// Row `index` of the whole table, from 0.
    constexpr const ContentRow<N>& row(int index) const
    {
        return m_rows[static_cast<std::size_t>(index)];
    }

    constexpr std::string_view cell(int row, int column) const override
    {
        return this->row(row).texts[static_cast<std::size_t>(column)];
    }

    constexpr std::string_view text(int page, int k) const override
    {
        const int index = (page - 1) * kRowsPerPage + (k - 1) / kColumns;
        if (index >= rowCount())
            return {};
        return row(index).texts[static_cast<std::size_t>((k - 1) % kColumns)];
    }

private:
    std::span<const ContentRow<N>> m_rows;
};

} // namespace dilmora::reference
