// The check routine and the unhandled-error path.
#include "runtime/status.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <utility>

namespace dilmora::runtime {

namespace {

std::function<void(const RuntimeError&)>& unhandledErrorHandler()
{
    static std::function<void(const RuntimeError&)> handler;
    return handler;
}

QString& errorTitle()
{
    static QString title;
    return title;
}

void tellTheUser(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, errorTitle(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setInformativeText(QStringLiteral("The program goes on; you can close this window and "
                                          "carry on working."));
    box.exec();
}

void reportUnhandled(const RuntimeError& error)
{
    if (auto& handler = unhandledErrorHandler())
        handler(error);
    else
        tellTheUser(QString::fromUtf8(error.what()));
}

} // namespace

std::string_view toString(Status status)
{
    switch (status) {
    case Status::Ok: return "no error";
    case Status::NotLoaded: return "the window is not loaded";
    case Status::NoSuchControl: return "the window has no such control";
    case Status::WrongKind: return "the control does not support this operation";
    case Status::LoadFailed: return "the window could not be loaded";
    case Status::Injected: return "a fault was injected for testing";
    }
    return "unknown status";
}

std::string_view toString(Interface interface)
{
    switch (interface) {
    case Interface::Global: return "Global";
    case Interface::Form: return "Form";
    case Interface::Label: return "Label";
    }
    return "?";
}

std::string_view toString(Operation operation)
{
    switch (operation) {
    case Operation::Show: return "Show";
    case Operation::Unload: return "Unload";
    case Operation::Caption: return "Caption";
    }
    return "?";
}

RuntimeError::RuntimeError(Status status, std::string object, Interface interface,
                           Operation operation)
    : m_status(status), m_object(std::move(object)), m_interface(interface), m_operation(operation)
{
    m_message = "Run-time error " + std::to_string(static_cast<int>(status)) + ": "
                + std::string(toString(operation)) + " of " + m_object + " ("
                + std::string(toString(interface)) + ") failed: " + std::string(toString(status))
                + ".";
}

void check(Status status, std::string_view object, Interface interface, Operation operation)
{
    if (static_cast<int>(status) < 0)
        throw RuntimeError(status, std::string(object), interface, operation);
}

void setErrorTitle(const QString& title)
{
    errorTitle() = title;
}

void setUnhandledErrorHandler(std::function<void(const RuntimeError&)> handler)
{
    unhandledErrorHandler() = std::move(handler);
}

void runHandler(const std::function<void()>& handler) noexcept
{
    try {
        handler();
    } catch (const RuntimeError& error) {
        reportUnhandled(error);
    } catch (const std::exception& error) {
        // Not a runtime failure, but it must not unwind through Qt either.
        tellTheUser(QStringLiteral("Unexpected error: %1").arg(QString::fromUtf8(error.what())));
    }
}

} // namespace dilmora::runtime
