// Accessibility interfaces of the forms runtime's windows, buttons, labels
// and menu items.
#include "runtime/accessible_controls.h"

#include "runtime/form_window.h"
#include "runtime/grid_accessibility.h"
#include "runtime/label_text.h"
#include "runtime/look.h"
#include "runtime/menu_bar.h"
#include "runtime/platform.h"

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

/// News of a window for a screen reader, such as the page a page turn
/// shows: a notification, which only assistive technology sees. Like a
/// desktop notification it belongs to the application, not to the window:
/// Orca speaks a notification inside a dialog after the dialog's name and
/// description (its context), which would say the page twice.
class Notice : public QAccessibleInterface {
public:
    explicit Notice(QWidget* window) : m_window(window) {}

    void setNews(const QString& news) { m_news = news; }

    bool isValid() const override { return !m_window.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_window ? m_window->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(qApp);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? m_news : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }

private:
    QPointer<QWidget> m_window;
    QString m_news;
};

/// A form's window: a dialog once it is shown modally, a frame otherwise;
/// Qt names a window by its title.
class AccessibleFormWindow : public QAccessibleWidget {
public:
    explicit AccessibleFormWindow(FormWindow* window)
        : QAccessibleWidget(window),
          m_notice(QAccessible::registerAccessibleInterface(new Notice(window)))
    {
    }
    ~AccessibleFormWindow() override { QAccessible::deleteAccessibleInterface(m_notice); }

    /// The window's notification, now telling `news`.
    Notice* notice(const QString& news) const
    {
        auto* notice = static_cast<Notice*>(QAccessible::accessibleInterface(m_notice));
        notice->setNews(news);
        return notice;
    }

    QAccessible::Role role() const override
    {
        return widget()->windowType() == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window;
    }

    /// What the window shows: the page of its grid, or else the texts of its
    /// labels without a click handler, in design order, a line each. A
    /// screen reader speaks it when the window opens.
    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Description)
            return QAccessibleWidget::text(kind);
        const auto* window = static_cast<FormWindow*>(widget());
        if (window->design().grid)
            return gridDescription(window->clientArea());
        QStringList texts;
        for (const LabelDesign& design : window->design().labels) {
            const auto* label = window->clientArea()->findChild<FormLabel*>(
                toQString(design.name), Qt::FindDirectChildrenOnly);
            if (label && !label->isClickable())
                texts << label->text();
        }
        return texts.join(QLatin1Char('\n'));
    }

private:
    QAccessible::Id m_notice;
};

/// A command button, as Qt's own push button but for a press that a modal
/// window other than its own blocks.
class AccessibleCommandButton : public QAccessibleWidget {
public:
    explicit AccessibleCommandButton(CommandButton* button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return button()->text();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} << QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        // As a click: the handler runs once the button has shown it is pressed.
        if (action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (button()->isEnabled() && !blockedByModalWindow(button()))
            button()->animateClick();
    }

private:
    CommandButton* button() const { return static_cast<CommandButton*>(widget()); }
};

/// A label that a click handler is bound to: a push button named by its
/// caption whose press action runs the handler as a click does. It stays
/// out of the keyboard's reach.
class AccessibleClickableLabel : public QAccessibleWidget {
public:
    explicit AccessibleClickableLabel(FormLabel* label)
        : QAccessibleWidget(label, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override
    {
        // The handler may unload the window or run a modal one: it runs once
        // this request has been answered, as a click's handler runs after the click.
        if (action == pressAction() && !blockedByModalWindow(label()))
            QMetaObject::invokeMethod(label(), &FormLabel::press, Qt::QueuedConnection);
    }

private:
    FormLabel* label() const { return static_cast<FormLabel*>(widget()); }
};

/// A label of text in `role` (static text or a paragraph) whose text says
/// the language of each part.
class AccessibleTextLabel : public QAccessibleWidget, public LabelText {
public:
    AccessibleTextLabel(FormLabel* label, QAccessible::Role role)
        : QAccessibleWidget(label, role), LabelText(label)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
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

} // namespace

QAccessibleInterface* windowInterface(FormWindow* window)
{
    return new AccessibleFormWindow(window);
}

QAccessibleInterface* buttonInterface(CommandButton* button)
{
    return new AccessibleCommandButton(button);
}

QAccessibleInterface* labelInterface(FormLabel* label, QAccessible::Role textRole)
{
    if (label->isClickable())
        return new AccessibleClickableLabel(label);
    return new AccessibleTextLabel(label, textRole);
}

QAccessibleInterface* menuItemInterface(QAction* action)
{
    auto* bar = dynamic_cast<WrappingMenuBar*>(action->parent());
    return bar ? new AccessibleWrappedMenuItem(action, bar) : nullptr;
}

void announce(QWidget* window, const QString& news)
{
    auto* face = dynamic_cast<AccessibleFormWindow*>(QAccessible::queryAccessibleInterface(window));
    if (!face)
        return;
    QWidget* focus = window->focusWidget();
    QAccessibleInterface* focused = focus ? QAccessible::queryAccessibleInterface(focus) : face;
    platform::announce(face->notice(news), focused);
}

} // namespace dilmora::runtime
