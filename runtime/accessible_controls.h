// What the program's windows, buttons, labels and menu items tell assistive
// technology beyond what Qt's own interfaces say.
#pragma once

#include <QAccessible>
#include <QString>

class QAccessibleInterface;
class QAction;
class QWidget;

namespace dilmora::runtime {

class CommandButton;
class FormLabel;
class FormWindow;

/// A window: a dialog once it is shown modally, a frame otherwise, named by
/// its title and described by what it shows (the page of its grid, or the
/// texts of its labels in design order).
QAccessibleInterface* windowInterface(FormWindow* window);

/// A command button.
QAccessibleInterface* buttonInterface(CommandButton* button);

/// A label outside a grid: a push button when a click handler is bound to it
/// (pressing it runs the handler once the request has been answered, and the
/// keyboard still cannot reach it), text in `textRole` otherwise (the
/// accessibility factory decides it for the platform).
QAccessibleInterface* labelInterface(FormLabel* label, QAccessible::Role textRole);

/// An item of a wrapping menu bar, or null for any other action.
QAccessibleInterface* menuItemInterface(QAction* action);

/// Has a screen reader speak `news` of `window`, a form's window, now: the
/// window's notification carries it, and the platform tells it in the way
/// its screen readers hear (platform::announce()).
void announce(QWidget* window, const QString& news);

} // namespace dilmora::runtime
