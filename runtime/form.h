// A window of the program: its design, its click handlers and, while it is
// loaded, its widgets.
//
// How a design becomes a window: load() builds one top-level widget with a
// child widget for every control of the design, named as in the design
// (objectName "Label5", "Command3"), at the design's position converted from
// twips. How a click reaches a handler: each Click binding is connected to
// its control at load time; the handler runs through runHandler(), so a
// run-time error it raises goes to the unhandled-error path.
//
// Show, Unload and Caption return a Status that the caller passes to check().
#pragma once

#include "runtime/design.h"
#include "runtime/finding.h"
#include "runtime/status.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QWidget;

namespace dilmora::runtime {

class Form;
class FormWindow;

/// A click handler; it gets the form whose control was clicked.
using ClickHandler = std::function<void(Form&)>;

enum class Modality { Modeless, Modal };

/// One reference to a control of a loaded window, held for one operation.
class ControlRef {
public:
    ControlRef(const ControlRef&) = delete;
    ControlRef& operator=(const ControlRef&) = delete;

    /// The control's name qualified by its window's, as in "Form3.Label40".
    const std::string& name() const { return m_qualifiedName; }

    /// Sets the caption of a label and redraws it.
    Status setCaption(std::string_view text);

private:
    friend class Form;
    ControlRef(std::string qualifiedName, QWidget* widget, Status access);

    std::string m_qualifiedName;
    QPointer<QWidget> m_widget;
    Status m_access;
};

class Form {
public:
    explicit Form(const FormDesign& design);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const FormDesign& design() const { return m_design; }
    std::string_view name() const { return m_design.name; }

    /// Binds the Click event of the control (or menu item) named `control`.
    void onClick(std::string_view control, ClickHandler handler);

    /// Lets the user find rows by typing into the window (runtime/find_bar.h).
    void onFind(FindBinding binding);

    /// What the window answers to a find, or null when it finds nothing.
    const FindBinding* findBinding() const { return m_find.search ? &m_find : nullptr; }

    /// Brings a row found into view in the loaded window: turns to its page,
    /// marks it and tells assistive technology. A page turn that fails
    /// raises a run-time error, as a page button's does.
    void reveal(const FindTarget& target);

    /// Runs `handler` as a handler of this window: a window it shows
    /// modally is owned by this one, and an error that leaves it goes to the
    /// unhandled-error path.
    void runAsHandler(const std::function<void()>& handler);

    bool isLoaded() const;

    /// Builds the window from its design, unless it is loaded already.
    Status load();

    /// Shows the window, loading it first if needed. Modal: returns only
    /// when the window has been hidden or unloaded, and until then the other
    /// windows take no input; the window is a dialog, owned by the window
    /// whose click handler shows it (by none when no handler runs).
    Status show(Modality modality);

    /// Discards the window and its controls; the form itself stays, and the
    /// next show() loads the design again. The title bar's close command
    /// does the same.
    Status unload();

    /// Reaches a control of the loaded window by its design name. A missing
    /// control is reported by the operation made through the reference.
    ControlRef control(std::string_view name);

    /// The loaded top-level widget, or null; for tests and screenshots.
    QWidget* window() const;

private:
    friend class FormWindow;
    void connectClicks();
    /// Hides the window and deletes its widgets once control is back in the
    /// event loop; shared by Unload and the title bar's close command.
    void discardWindow();

    const FormDesign& m_design;
    std::vector<std::pair<std::string_view, ClickHandler>> m_clicks;
    FindBinding m_find;
    FormWindow* m_window = nullptr;
    std::unordered_map<std::string_view, QWidget*> m_controls;
};

/// Unloads `form` as a window's own close control does: a failure becomes a
/// run-time error of the global object.
void unloadSelf(Form& form);

} // namespace dilmora::runtime
