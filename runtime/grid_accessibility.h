// The grid of a design as assistive technology reads it: one table.
//
// A window whose design has a GridDesign shows the grid's labels to a screen
// reader as a table under the client area: rows and columns, the header
// labels as column headers (named by their captions, described by their
// tooltips) and every cell with its row, column and header. The cells are
// the design's own labels, read live, so a page turn shows at once; the
// table adds no widget to the window.
#pragma once

class QWidget;

namespace dilmora::runtime {

/// Installs the accessibility factory that gives design grids their table
/// face. Call once, after the QApplication exists.
void installGridAccessibility();

/// Called when a label's caption has changed: if the label is a cell of a
/// grid whose table assistive technology has asked for, the table announces
/// a new description once the running handler has returned.
void gridCaptionChanged(QWidget* label);

} // namespace dilmora::runtime
