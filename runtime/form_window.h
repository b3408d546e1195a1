// The top-level widget of a loaded form and the widgets of its controls.
#pragma once

#include "runtime/design.h"
#include "runtime/finding.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace dilmora::runtime {

class FindBar;
class Form;
class WrappingMenuBar;

/// A label as the designs know it; a bound label reports a click.
class FormLabel : public QLabel {
public:
    FormLabel(const LabelDesign& design, QWidget* parent);
    void setClickHandler(std::function<void()> handler);

    /// The design the label was built from.
    const LabelDesign& design() const { return m_design; }

    /// True when a click handler is bound to the label.
    bool isClickable() const { return static_cast<bool>(m_click); }

    /// Runs the bound click handler, as a click on the label does.
    void press();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const LabelDesign& m_design;
    std::function<void()> m_click;
    bool m_pressed = false;
};

/// A command button; Enter and Return press it when it has the focus, as
/// Space does, and nothing presses a button that lacks the focus.
class CommandButton : public QPushButton {
public:
    CommandButton(const ButtonDesign& design, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

/// The window of one loaded form: fixed size, a close box but no minimise
/// or maximise button, centred when shown. The close box unloads the form.
class FormWindow : public QWidget {
    Q_OBJECT

public:
    FormWindow(Form& form, const FormDesign& design);

    /// The menu bar of the window, or null when the design has no menu.
    WrappingMenuBar* menuBar() const { return m_menuBar; }

    /// The widget that holds the controls: the client area below the menu bar.
    QWidget* clientArea() const { return m_client; }

    /// The design the window was built from.
    const FormDesign& design() const { return m_design; }

    void centreOnScreen();

    /// The row of the grid that a find marked; none at first.
    const GridMark& mark() const { return m_mark; }

    /// Marks a row of the grid in the platform's highlight colours, and
    /// tells assistive technology that its cells are selected; an unset
    /// mark removes it.
    void setMark(const GridMark& mark);

    /// The texts of the marked cells, without their blanks; none without a mark.
    QStringList markedTexts() const;

    /// Copies the marked row to the clipboard as one line, its cells joined
    /// by tabs; does nothing without a mark.
    void copyMarkedRow() const;

    /// The grid cell at `row` and `column` (from 0), or null.
    QLabel* gridCell(int row, int column) const;

    /// The find bar, or null before the user first typed into the window.
    FindBar* findBar() const { return m_findBar; }

signals:
    /// The window was hidden, by unloading it or otherwise.
    void hidden();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    /// A printable key opens the find bar with it, Ctrl+F opens it empty,
    /// Ctrl+C copies the marked row; in a window that finds nothing, and
    /// for every other key, the window is as it was.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openFindBar(const QString& text);

    Form& m_form;
    const FormDesign& m_design;
    WrappingMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    FindBar* m_findBar = nullptr;
    GridMark m_mark;
};

} // namespace dilmora::runtime
