// Wrapped layout, drawing and mouse handling of the menu bar.
#include "runtime/menu_bar.h"

#include <QAction>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegion>
#include <QStyleOptionMenuItem>
#include <QStylePainter>

namespace dilmora::runtime {

WrappingMenuBar::WrappingMenuBar(int visibleWidth, QWidget* window)
    : QMenuBar(window), m_visibleWidth(visibleWidth)
{
    setObjectName(QStringLiteral("menuBar"));
    setNativeMenuBar(false);
    setMouseTracking(true);
    window->installEventFilter(this);
    layOutItems();
}

QAction* WrappingMenuBar::addItem(const QString& name, const QString& caption)
{
    QAction* action = addAction(caption);
    action->setObjectName(name);
    layOutItems();
    return action;
}

QAction* WrappingMenuBar::item(const QString& name) const
{
    for (QAction* action : actions()) {
        if (action->objectName() == name)
            return action;
    }
    return nullptr;
}

QRect WrappingMenuBar::itemRect(const QAction* action) const
{
    const qsizetype index = actions().indexOf(action);
    return index < 0 ? QRect() : m_rects.at(index);
}

void WrappingMenuBar::layOutItems()
{
    const QStyle* s = style();
    const int panel = s->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, this);
    const int hMargin = s->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, this);
    const int vMargin = s->pixelMetric(QStyle::PM_MenuBarVMargin, nullptr, this);
    const int spacing = s->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, this);
    const int left = panel + hMargin + spacing;
    const int right = m_visibleWidth - panel - hMargin;

    m_rects.clear();
    int x = left;
    int y = panel + vMargin;
    int rowHeight = 0;
    int oneRowWidth = left;
    for (QAction* action : actions()) {
        QStyleOptionMenuItem option;
        initStyleOption(&option, action);
        const QSize size =
            s->sizeFromContents(QStyle::CT_MenuBarItem, &option,
                                fontMetrics().size(Qt::TextShowMnemonic, action->text()), this);
        if (x > left && x + size.width() > right) {
            x = left;
            y += rowHeight;
            rowHeight = 0;
        }
        m_rects.append(QRect(QPoint(x, y), size));
        x += size.width() + spacing;
        oneRowWidth += size.width() + spacing;
        rowHeight = std::max(rowHeight, size.height());
    }
    m_height = y + rowHeight + vMargin + panel;
    // Qt's own one-row layout must find room for every item, or it would
    // hide some of them from the keyboard.
    setFixedSize(std::max(m_visibleWidth, oneRowWidth + hMargin + panel + 1), m_height);
    update();
}

QAction* WrappingMenuBar::itemAt(QPoint position) const
{
    for (qsizetype i = 0; i < m_rects.size(); ++i) {
        if (m_rects.at(i).contains(position))
            return actions().at(i);
    }
    return nullptr;
}

bool WrappingMenuBar::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::ActionChanged:
    case QEvent::ActionAdded:
    case QEvent::ActionRemoved: {
        const bool handled = QMenuBar::event(event);
        layOutItems();
        return handled;
    }
    case QEvent::FocusIn: update(); break;
    case QEvent::FocusOut: {
        // The keyboard navigation ends when the window loses the input; the
        // window, not the bar, has the focus when it gets the input back.
        const bool handled = QMenuBar::event(event);
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::ActiveWindowFocusReason)
            window()->setFocus(Qt::ActiveWindowFocusReason);
        update();
        return handled;
    }
    default: break;
    }
    return QMenuBar::event(event);
}

bool WrappingMenuBar::eventFilter(QObject* watched, QEvent* event)
{
    // F10 opens the keyboard navigation of the bar, as Alt does.
    if (event->type() == QEvent::KeyPress && isEnabled()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier
            && window()->isActiveWindow() && !actions().isEmpty()) {
            setFocus(Qt::MenuBarFocusReason);
            setActiveAction(actions().constFirst());
            update();
            return true;
        }
    }
    return QMenuBar::eventFilter(watched, event);
}

void WrappingMenuBar::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionMenuItem empty;
    empty.initFrom(this);
    empty.menuItemType = QStyleOptionMenuItem::EmptyArea;
    empty.checkType = QStyleOptionMenuItem::NotCheckable;
    empty.rect = QRect(0, 0, m_visibleWidth, height());
    painter.drawControl(QStyle::CE_MenuBarEmptyArea, empty);

    const QList<QAction*> items = actions();
    QRegion selected;
    for (qsizetype i = 0; i < items.size(); ++i) {
        QAction* action = items.at(i);
        QStyleOptionMenuItem option;
        initStyleOption(&option, action);
        option.rect = m_rects.at(i);
        option.menuRect = QRect(0, 0, m_visibleWidth, height());
        option.state &= ~(QStyle::State_Selected | QStyle::State_Sunken);
        const bool keyboardCurrent = hasFocus() && action == activeAction();
        if (action->isEnabled() && (action == m_hovered || keyboardCurrent))
            option.state |= QStyle::State_Selected;
        if (action == m_pressed && action == m_hovered)
            option.state |= QStyle::State_Sunken;
        if (option.state & QStyle::State_Selected)
            selected += option.rect;
        painter.drawControl(QStyle::CE_MenuBarItem, option);
    }

    // Each item draws its own piece of the rule along the bottom, and at
    // scales above 100 % the pieces leave a device pixel between them. So the
    // rule is drawn again in one piece over the bar's last two rows (scaled,
    // its pixels reach into the row above the last), except under a
    // highlighted item. The line stops one pixel short of its rectangle's
    // right edge: the rectangle reaches one further, the window clips it.
    painter.setClipRegion(QRegion(0, height() - 2, m_visibleWidth, 2) - selected);
    empty.rect.setWidth(m_visibleWidth + 1);
    painter.drawControl(QStyle::CE_MenuBarEmptyArea, empty);
}

void WrappingMenuBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = itemAt(event->position().toPoint());
    update();
}

void WrappingMenuBar::mouseMoveEvent(QMouseEvent* event)
{
    QAction* hovered = itemAt(event->position().toPoint());
    if (hovered != m_hovered) {
        m_hovered = hovered;
        if (hovered)
            hovered->hover();
        update();
    }
}

void WrappingMenuBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QAction* released = itemAt(event->position().toPoint());
    QAction* pressed = m_pressed;
    m_pressed = nullptr;
    m_hovered = nullptr;
    update();
    if (released && released == pressed && released->isEnabled())
        released->trigger();
}

void WrappingMenuBar::leaveEvent(QEvent*)
{
    m_hovered = nullptr;
    update();
}

void WrappingMenuBar::keyPressEvent(QKeyEvent* event)
{
    // The chosen command runs once the keyboard navigation has ended, so
    // that a window it opens modally gives the input back to the main
    // window itself, as it does after a click: the keyboard and a screen
    // reader then agree that the window has the focus, and F10 or Alt reach
    // the bar again.
    QAction* chosen = activeAction();
    const bool choose = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
                        || event->key() == Qt::Key_Space || event->key() == Qt::Key_Down;
    if (choose && chosen && chosen->isEnabled() && !chosen->menu()) {
        leaveNavigation();
        QMetaObject::invokeMethod(chosen, &QAction::trigger, Qt::QueuedConnection);
        return;
    }
    QMenuBar::keyPressEvent(event);
    // Escape ends the navigation: with nothing else in the window to take
    // the focus, the window has it.
    if (!activeAction() && hasFocus())
        leaveNavigation();
    update();
}

void WrappingMenuBar::leaveNavigation()
{
    setActiveAction(nullptr);
    window()->setFocus(Qt::OtherFocusReason);
    update();
}

} // namespace dilmora::runtime
