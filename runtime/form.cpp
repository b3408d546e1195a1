// Loading, showing and unloading a form, and reaching its controls.
#include "runtime/form.h"

#include "runtime/fault_injection.h"
#include "runtime/form_window.h"
#include "runtime/grid_accessibility.h"
#include "runtime/look.h"
#include "runtime/menu_bar.h"
#include "runtime/picture.h"
#include "runtime/window_owner.h"

#include <QAction>
#include <QEventLoop>

#include <algorithm>

namespace dilmora::runtime {

namespace {

std::string qualified(std::string_view form, std::string_view control)
{
    return std::string(form) + '.' + std::string(control);
}

/// Marks the form whose click handler runs, for as long as it runs. A window
/// that the handler shows modally is owned by that form's window, as the
/// window a user clicked in owns the window that the click opens.
class RunningHandler {
public:
    explicit RunningHandler(Form& form) : m_outer(s_innermost) { s_innermost = &form; }
    ~RunningHandler() { s_innermost = m_outer; }
    RunningHandler(const RunningHandler&) = delete;
    RunningHandler& operator=(const RunningHandler&) = delete;

    /// The window of the form whose handler runs innermost, or null.
    static QWidget* window() { return s_innermost ? s_innermost->window() : nullptr; }

private:
    Form* m_outer;
    static inline Form* s_innermost = nullptr;
};

} // namespace

ControlRef::ControlRef(std::string qualifiedName, QWidget* widget, Status access)
    : m_qualifiedName(std::move(qualifiedName)), m_widget(widget), m_access(access)
{
}

Status ControlRef::setCaption(std::string_view caption)
{
    if (m_access != Status::Ok)
        return m_access;
    if (Status fault = takeFault(Operation::Caption, m_qualifiedName); fault != Status::Ok)
        return fault;
    auto* label = qobject_cast<QLabel*>(m_widget.data());
    if (!label || !label->pixmap().isNull())
        return m_widget ? Status::WrongKind : Status::NotLoaded;
    label->setText(toQString(caption));
    // A page turn takes the mark of a find with it.
    if (auto* window = qobject_cast<FormWindow*>(label->window()))
        window->setMark({});
    gridCaptionChanged(label);
    return Status::Ok;
}

Form::Form(const FormDesign& design) : m_design(design) {}

Form::~Form()
{
    delete m_window;
}

void Form::onClick(std::string_view control, ClickHandler handler)
{
    m_clicks.emplace_back(control, std::move(handler));
}

void Form::onFind(FindBinding binding)
{
    m_find = std::move(binding);
}

void Form::reveal(const FindTarget& target)
{
    if (!m_window)
        return;
    if (target.page > 0 && m_find.showPage)
        m_find.showPage(*this, target.page);
    m_window->setMark({target.row, target.firstColumn, target.columns});
    gridMarkShown(m_window->clientArea());
}

void Form::runAsHandler(const std::function<void()>& handler)
{
    const RunningHandler running(*this);
    runHandler(handler);
}

bool Form::isLoaded() const
{
    return m_window != nullptr;
}

QWidget* Form::window() const
{
    return m_window;
}

Status Form::load()
{
    if (m_window)
        return Status::Ok;
    auto window = std::make_unique<FormWindow>(*this, m_design);
    std::unordered_map<std::string_view, QWidget*> controls;
    QWidget* client = window->clientArea();

    for (const ImageDesign& image : m_design.images) {
        Picture* picture = Picture::create(image, client);
        if (!picture)
            return Status::LoadFailed;
        picture->setAccessibleName(toQString(image.accessibleName));
        picture->setAccessibleDescription(toQString(image.accessibleDescription));
        controls.emplace(image.name, picture);
    }
    for (const LabelDesign& label : m_design.labels)
        controls.emplace(label.name, new FormLabel(label, client));

    // Buttons join the tab chain in the order of their tab indexes.
    std::vector<const ButtonDesign*> buttons;
    for (const ButtonDesign& button : m_design.buttons)
        buttons.push_back(&button);
    std::ranges::sort(buttons, {}, &ButtonDesign::tabIndex);
    QWidget* previous = nullptr;
    for (const ButtonDesign* button : buttons) {
        auto* widget = new CommandButton(*button, client);
        controls.emplace(button->name, widget);
        if (previous)
            QWidget::setTabOrder(previous, widget);
        else
            widget->setFocus(); // the lowest tab index has the focus when the window opens
        previous = widget;
    }

    for (const MenuItemDesign& item : m_design.menu)
        controls.emplace(item.name, window->menuBar());

    m_controls = std::move(controls);
    m_window = window.release();
    connectClicks();
    return Status::Ok;
}

void Form::connectClicks()
{
    for (const auto& [control, handler] : m_clicks) {
        const auto found = m_controls.find(control);
        if (found == m_controls.end())
            continue;
        auto run = [this, handler = handler] { runAsHandler([&] { handler(*this); }); };
        if (auto* button = dynamic_cast<CommandButton*>(found->second))
            QObject::connect(button, &QPushButton::clicked, button, run);
        else if (auto* label = dynamic_cast<FormLabel*>(found->second))
            label->setClickHandler(run);
        else if (auto* menuBar = dynamic_cast<WrappingMenuBar*>(found->second))
            QObject::connect(menuBar->item(toQString(control)), &QAction::triggered, menuBar, run);
    }
}

Status Form::show(Modality modality)
{
    if (Status fault = takeFault(Operation::Show, m_design.name); fault != Status::Ok)
        return fault;
    if (Status status = load(); status != Status::Ok)
        return status;
    FormWindow* window = m_window;
    if (modality == Modality::Modal)
        setWindowOwner(*window, RunningHandler::window());
    window->setWindowModality(modality == Modality::Modal ? Qt::ApplicationModal : Qt::NonModal);
    window->centreOnScreen();
    window->show();
    window->activateWindow();
    if (modality == Modality::Modal) {
        QEventLoop loop;
        QObject::connect(window, &FormWindow::hidden, &loop, &QEventLoop::quit);
        QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
        if (window->isVisible())
            loop.exec(QEventLoop::DialogExec);
    }
    return Status::Ok;
}

Status Form::unload()
{
    if (Status fault = takeFault(Operation::Unload, m_design.name); fault != Status::Ok)
        return fault;
    discardWindow();
    return Status::Ok;
}

void Form::discardWindow()
{
    if (!m_window)
        return;
    FormWindow* window = m_window;
    m_window = nullptr;
    m_controls.clear();
    window->hide();
    window->deleteLater();
}

ControlRef Form::control(std::string_view name)
{
    std::string qualifiedName = qualified(m_design.name, name);
    if (!m_window)
        return {std::move(qualifiedName), nullptr, Status::NotLoaded};
    const auto found = m_controls.find(name);
    if (found == m_controls.end())
        return {std::move(qualifiedName), nullptr, Status::NoSuchControl};
    return {std::move(qualifiedName), found->second, Status::Ok};
}

void unloadSelf(Form& form)
{
    check(form.unload(), kGlobalObject, Interface::Global, Operation::Unload);
}

} // namespace dilmora::runtime
