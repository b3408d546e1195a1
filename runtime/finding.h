// What a window answers when a user types to find a row: the rows found,
// how its pages are turned to one, and, in a window that lists the finds of
// others, how a chosen one is opened.
#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace dilmora::runtime {

class Form;

/// One row (or cell) of a grid that a find turned up.
struct FindTarget {
    int window = 0;      ///< In a list over several windows, which one holds it.
    int page = 0;        ///< The page that shows it; 0 in a window without pages.
    int row = 0;         ///< Its grid row, from 0.
    int firstColumn = 0; ///< Its cells: `columns` of them from this column (from 0).
    int columns = 1;
    QString name; ///< How a list names it: "look after — Phrasal Verbs".
};

/// A cell range of a grid row, marked as the row found; row -1 marks none.
struct GridMark {
    int row = -1;
    int firstColumn = 0;
    int columns = 0;

    bool isSet() const { return row >= 0; }
    bool contains(int cellRow, int column) const
    {
        return cellRow == row && column >= firstColumn && column < firstColumn + columns;
    }
    friend bool operator==(const GridMark&, const GridMark&) = default;
};

struct FindBinding {
    /// The targets for the typed text, best first.
    std::function<std::vector<FindTarget>(const QString& typed)> search;
    /// Shows a page of the grid, as that page's button does; none where the
    /// window has no pages.
    std::function<void(Form&, int page)> showPage;
    /// Set where the finds are listed for the user to choose from rather
    /// than shown in the window itself; runs as a handler of the window.
    std::function<void(const FindTarget&)> open;
};

} // namespace dilmora::runtime
