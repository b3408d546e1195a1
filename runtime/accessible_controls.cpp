// Accessibility interfaces of the forms runtime's windows, labels and menu items.
#include "runtime/accessible_controls.h"

#include "runtime/form_window.h"
#include "runtime/menu_bar.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QPointer>

namespace dilmora::runtime {

namespace {

/// True while a modal window other than the one of `widget` takes the input:
/// assistive technology may not press what a click could not reach.
bool blockedByModalWindow(const QWidget* widget)
{
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != widget->window();
}

/// A form's window: a dialog once it is shown modally, a frame otherwise;
/// Qt names a window by its title.
class AccessibleFormWindow : public QAccessibleWidget {
public:
    explicit AccessibleFormWindow(FormWindow* window) : QAccessibleWidget(window) {}

    QAccessible::Role role() const override
    {
        return widget()->windowType() == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window;
    }
};

/// A label that a click handler is bound to: text as Qt's labels show it,
/// and a press action that runs the handler as a click does. It stays out
/// of the keyboard's reach.
class AccessibleClickableLabel : public QAccessibleWidget {
public:
    explicit AccessibleClickableLabel(FormLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << pressAction();
    }

    void doAction(const QString& action) override
    {
        if (action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (!blockedByModalWindow(label()))
            label()->press();
    }

private:
    FormLabel* label() const { return static_cast<FormLabel*>(widget()); }
};

/// An item of a wrapping menu bar. Qt's own item asks the bar for its place
/// in the one-row layout that the bar keeps for the keyboard; this one
/// reports where the item is drawn.
class AccessibleWrappedMenuItem : public QAccessibleObject, public QAccessibleActionInterface {
public:
    AccessibleWrappedMenuItem(QAction* action, WrappingMenuBar* bar)
        : QAccessibleObject(action), m_bar(bar)
    {
    }

    bool isValid() const override { return QAccessibleObject::isValid() && m_bar; }
    QWindow* window() const override { return m_bar ? m_bar->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_bar.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? action()->text() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !m_bar->isVisible() || !action()->isVisible();
        state.disabled = !action()->isEnabled();
        state.focused = m_bar->activeAction() == action();
        return state;
    }

    QRect rect() const override
    {
        const QRect drawn = m_bar->itemRect(action());
        return {m_bar->mapToGlobal(drawn.topLeft()), drawn.size()};
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    void doAction(const QString& name) override
    {
        // The command may run a modal window: it runs once this request has
        // been answered, as a click's command runs after the click.
        if (name == pressAction() && action()->isEnabled() && !blockedByModalWindow(m_bar))
            QMetaObject::invokeMethod(action(), &QAction::trigger, Qt::QueuedConnection);
    }

private:
    QAction* action() const { return static_cast<QAction*>(object()); }

    QPointer<WrappingMenuBar> m_bar;
};

QAccessibleInterface* makeInterface(const QString&, QObject* object)
{
    if (auto* window = qobject_cast<FormWindow*>(object))
        return new AccessibleFormWindow(window);
    if (auto* label = dynamic_cast<FormLabel*>(object); label && label->isClickable())
        return new AccessibleClickableLabel(label);
    if (auto* action = qobject_cast<QAction*>(object)) {
        if (auto* bar = dynamic_cast<WrappingMenuBar*>(action->parent()))
            return new AccessibleWrappedMenuItem(action, bar);
    }
    return nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    QAccessible::installFactory(makeInterface);
}

} // namespace dilmora::runtime
