// The top-level widget of a loaded form and the widgets of its controls.
#pragma once

#include "runtime/design.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace dilmora::runtime {

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

signals:
    /// The window was hidden, by unloading it or otherwise.
    void hidden();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    Form& m_form;
    const FormDesign& m_design;
    WrappingMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
};

} // namespace dilmora::runtime
