// Which accessibility interface each object of a form gets, decided in one place.
#include "runtime/accessibility.h"

#include "runtime/accessible_controls.h"
#include "runtime/form_window.h"
#include "runtime/grid_accessibility.h"

#include <QAccessible>
#include <QAction>

namespace dilmora::runtime {

namespace {

/// The role of a label of text outside a grid, for each platform's screen
/// readers. Qt 6.4.2's UI Automation bridge has no control type for a
/// paragraph (it would be a Custom control with an empty Value pattern): on
/// Windows a label is static text, a Text control, as Windows screen readers
/// know it. Orca 43 reads a dialog by the labels (static text) under it that
/// have three words or more: with static text it says the About note without
/// its e-mail line and "Thank you!", and then the whole note again. A
/// paragraph is no such label, so Orca reads the dialog's description, every
/// line of the note in order, once.
#ifdef Q_OS_WIN
constexpr QAccessible::Role kTextLabelRole = QAccessible::StaticText;
#else
constexpr QAccessible::Role kTextLabelRole = QAccessible::Paragraph;
#endif

QAccessibleInterface* makeInterface(const QString&, QObject* object)
{
    if (auto* window = qobject_cast<FormWindow*>(object))
        return windowInterface(window);
    if (auto* action = qobject_cast<QAction*>(object))
        return menuItemInterface(action);
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    // The client area of a window with a grid, and the labels of its grid.
    if (QAccessibleInterface* grid = gridInterface(widget))
        return grid;
    if (auto* button = dynamic_cast<CommandButton*>(widget))
        return buttonInterface(button);
    if (auto* label = dynamic_cast<FormLabel*>(widget))
        return labelInterface(label, kTextLabelRole);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(makeInterface);
}

} // namespace dilmora::runtime
