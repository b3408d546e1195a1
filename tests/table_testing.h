// Helpers for the tests of the content tables: a table's texts as Qt holds
// them, read by page, row and column as a page shows them, the look-up of a
// row among the rows a test fixes word for word, and a data-driven check of
// whole rows of the two-column tables.
#pragma once

#include "reference/content_table.h"
#include "runtime/look.h"

#include <QString>
#include <QTest>

#include <cstddef>

namespace testing {

using dilmora::runtime::toQString;

/// The text in a column (from 1) of a row (1 to 32) of a page, as the page shows it.
template <std::size_t N>
QString cellText(const dilmora::reference::ContentTable<N>& table, int page, int row, int column)
{
    return toQString(table.text(page, table.kColumns * (row - 1) + column));
}

/// Whether page and row are those of one of the fixed rows (each with a page and a row).
template <typename Fixed, std::size_t M> bool isFixedRow(const Fixed (&rows)[M], int page, int row)
{
    for (const Fixed& fixed : rows) {
        if (fixed.page == page && fixed.row == row)
            return true;
    }
    return false;
}

/// The data columns of a check of whole rows of a two-column table: "page",
/// "row", "english" and "turkish".
inline void addRowColumns()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("turkish");
}

/// Checks that the row of the current data row (see addRowColumns()) shows its
/// two texts.
inline void verifyRow(const dilmora::reference::ContentTable<2>& table)
{
    QFETCH(int, page);
    QFETCH(int, row);
    QFETCH(QString, english);
    QFETCH(QString, turkish);

    QCOMPARE(cellText(table, page, row, 1), english);
    QCOMPARE(cellText(table, page, row, 2), turkish);
}

} // namespace testing
