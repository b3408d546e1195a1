// Which accessibility interface each object of a form gets, decided in one place.
#include "runtime/accessibility.h"

#include "runtime/accessible_controls.h"
#include "runtime/form_window.h"
#include "runtime/grid_accessibility.h"

#include <QAccessible>
#include <QAction>

namespace dilmora::runtime {

namespace {

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
        return labelInterface(label);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(makeInterface);
}

} // namespace dilmora::runtime
