// Helpers for tests that open windows: clicks through the window system (so
// that modality applies, as for a user), a modal loop driven from a queued
// call, and a recorder for the unhandled-error path.
#pragma once

#include "runtime/fault_injection.h"
#include "runtime/form.h"
#include "runtime/look.h"
#include "runtime/status.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <optional>
#include <vector>

namespace testing {

/// What reached the unhandled-error path.
struct ErrorRecord {
    std::string object;
    dilmora::runtime::Interface interface;
    dilmora::runtime::Operation operation;
    dilmora::runtime::Status status;
};

class ErrorRecorder {
public:
    ErrorRecorder()
    {
        dilmora::runtime::setUnhandledErrorHandler([this](const dilmora::runtime::RuntimeError& e) {
            errors.push_back({e.object(), e.interface(), e.operation(), e.status()});
        });
    }
    ~ErrorRecorder() { dilmora::runtime::setUnhandledErrorHandler({}); }
    ErrorRecorder(const ErrorRecorder&) = delete;
    ErrorRecorder& operator=(const ErrorRecorder&) = delete;

    std::vector<ErrorRecord> errors;
};

/// The top-level widget of a control's window.
inline QWindow* windowOf(QWidget* widget)
{
    return widget->window()->windowHandle();
}

/// A left click in the middle of `widget` (or at `at`), delivered to its
/// window as the window system would deliver it.
inline void click(QWidget* widget, std::optional<QPoint> at = std::nullopt)
{
    if (!widget->window()->isVisible()) {
        widget->window()->show();
        (void)QTest::qWaitForWindowExposed(widget->window());
    }
    const QPoint local = at.value_or(widget->rect().center());
    QTest::mouseClick(windowOf(widget), Qt::LeftButton, {}, widget->mapTo(widget->window(), local));
}

/// A key pressed in the window that has the focus.
inline void key(QWidget* window, Qt::Key k)
{
    QTest::keyClick(window->windowHandle(), k);
}

/// Runs `inside` once the event loop runs again: inside a modal loop that
/// `open` starts. If `inside` leaves a modal window open, it is closed so
/// that `open` returns and the test can fail instead of hanging.
inline void whileModal(const std::function<void()>& inside, const std::function<void()>& open)
{
    QTimer::singleShot(0, [inside] {
        inside();
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    open();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <typename W> W* child(dilmora::runtime::Form& form, const char* name)
{
    return form.window() ? form.window()->findChild<W*>(QString::fromLatin1(name)) : nullptr;
}

inline QString captionOf(dilmora::runtime::Form& form, const QString& name)
{
    auto* label = form.window()->findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no such label>");
}

inline QString fromView(std::string_view text)
{
    return dilmora::runtime::toQString(text);
}

} // namespace testing
