// The grid of a design as assistive technology reads it: one table.
//
// A window whose design has a GridDesign shows the grid's labels to a screen
// reader as a table under the client area: rows and columns, one column
// header per column (the header label, named by its caption and described by
// its tooltip, or an empty header where the column has none) and every cell
// with its row, column and header. The cells are the design's own labels,
// read live, so a page turn shows at once; the table adds no widget to the
// window.
#pragma once

#include "runtime/finding.h"

#include <QString>

class QAccessibleInterface;
class QWidget;

namespace dilmora::runtime {

/// The interface of `widget` if it is the client area of a window with a
/// grid, or a label of such a client area; null otherwise.
QAccessibleInterface* gridInterface(QWidget* widget);

/// The description of the grid in the client area `client` from the texts
/// its cells show now, such as "Page 2 of 4"; empty when there is none.
QString gridDescription(QWidget* client);

/// Called when a label's caption has changed: if the label is a cell of a
/// grid and assistive technology is listening, once the running handler has
/// returned the window announces the page now shown and its first row, e.g.
/// "Page 2 of 4: drink, içmek, drank, drunk", through the control that has
/// the focus.
void gridCaptionChanged(QWidget* label);

/// Called when a find has marked a row of the grid in the client area
/// `client`: once the running handler has returned, the window announces it
/// as a page turn does, naming the marked row instead of the first, e.g.
/// "Page 7 of 10: look after, …"; a grid without pages says the row alone.
void gridMarkShown(QWidget* client);

/// Called when the mark of the grid in `client` has moved: the cells that
/// left it and those that joined it tell assistive technology that their
/// selection changed.
void gridMarkChanged(QWidget* client, const GridMark& before, const GridMark& after);

} // namespace dilmora::runtime
