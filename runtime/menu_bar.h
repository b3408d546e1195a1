// A menu bar that wraps its items onto further rows instead of hiding them.
#pragma once

#include <QList>
#include <QMenuBar>
#include <QRect>

namespace dilmora::runtime {

/// A real QMenuBar (Alt and F10 reach it, assistive technology sees a menu
/// bar with menu items) whose items wrap onto a second row, as the bar of a
/// native fixed-size window does, when they need more than the window's
/// width. Qt's own bar would hide them behind an extension button instead.
///
/// Qt lays the items out in one row internally and keyboard navigation uses
/// that layout, so the widget is as wide as that row needs; the window clips
/// what lies beyond its edge. Drawing and the mouse use the wrapped layout.
class WrappingMenuBar : public QMenuBar {
public:
    WrappingMenuBar(int visibleWidth, QWidget* window);

    /// Adds a top-level item with no sub-items; a click triggers it.
    QAction* addItem(const QString& name, const QString& caption);

    /// The item of that name, or null.
    QAction* item(const QString& name) const;

    /// Where the item is drawn, in the bar's coordinates.
    QRect itemRect(const QAction* action) const;

    /// The height of all rows at the visible width.
    int wrappedHeight() const { return m_height; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void layOutItems();
    /// Ends the keyboard navigation; the window takes the focus.
    void leaveNavigation();
    QAction* itemAt(QPoint position) const;

    int m_visibleWidth;
    int m_height = 0;
    QList<QRect> m_rects; // one per action, in the order of actions()
    QAction* m_hovered = nullptr;
    QAction* m_pressed = nullptr;
};

} // namespace dilmora::runtime
