// Statuses of runtime operations, the check routine and the unhandled-error path.
//
// Show, Unload and Caption hand back a Status. The program passes every
// status to check(), which turns a failure into a RuntimeError. No handler
// catches it: the runtime catches it where the handler returns to Qt and
// hands it to the unhandled-error path, which tells the user and lets the
// program go on.
#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace dilmora::runtime {

enum class Status : int {
    Ok = 0,
    NotLoaded = -1,     ///< The operation needs a loaded window.
    NoSuchControl = -2, ///< The window has no control of that name.
    WrongKind = -3,     ///< The control cannot do that (a caption on a picture).
    LoadFailed = -4,    ///< The design could not be turned into a window.
    Injected = -5,      ///< A test asked this call to fail.
};

/// The interface an object offers, as named in run-time errors.
enum class Interface { Global, Form, Label };

/// The operations that hand back a status.
enum class Operation { Show, Unload, Caption };

/// The object behind the global statements such as Unload.
inline constexpr std::string_view kGlobalObject = "Global";

std::string_view toString(Status status);
std::string_view toString(Interface interface);
std::string_view toString(Operation operation);

/// A failed runtime operation, raised by check().
class RuntimeError : public std::exception {
public:
    RuntimeError(Status status, std::string object, Interface interface, Operation operation);

    Status status() const { return m_status; }
    const std::string& object() const { return m_object; }
    Interface interface() const { return m_interface; }
    Operation operation() const { return m_operation; }

    /// One sentence for the user: the operation, the object and the status.
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    Status m_status;
    std::string m_object;
    Interface m_interface;
    Operation m_operation;
    std::string m_message;
};

/// Raises a RuntimeError when `status` is a failure; returns otherwise.
void check(Status status, std::string_view object, Interface interface, Operation operation);

/// The title of the messages of the unhandled-error path: the program's name.
void setErrorTitle(const QString& title);

/// Replaces what the unhandled-error path does (tests record the error
/// instead of showing a message box). An empty handler restores the default.
void setUnhandledErrorHandler(std::function<void(const RuntimeError&)> handler);

/// Runs a handler of the program; an error that leaves it goes to the
/// unhandled-error path, so that no exception reaches Qt's event loop.
void runHandler(const std::function<void()>& handler) noexcept;

} // namespace dilmora::runtime
