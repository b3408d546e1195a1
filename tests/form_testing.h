// Helpers for tests that open windows: clicks through the window system (so
// that modality applies, as for a user), a modal loop driven from a queued
// call, a recorder for the unhandled-error path, and reading a window's
// captions, label designs and twip geometry.
#pragma once

#include "runtime/fault_injection.h"
#include "runtime/form.h"
#include "runtime/look.h"
#include "runtime/status.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QMenuBar>
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

/// Waits until `window` is the window that takes the keys. (Qt counts a
/// dialog as active while its owner is, before the dialog has the focus.)
[[nodiscard]] inline bool waitForKeyboardFocus(QWidget* window)
{
    return QTest::qWaitFor(
        [window] { return QGuiApplication::focusWindow() == window->windowHandle(); });
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

/// The name of the label with that number: "Label5".
inline QString labelName(int number)
{
    return QStringLiteral("Label%1").arg(number);
}

/// Every label's caption of a loaded window, by name.
inline QHash<QString, QString> allCaptions(QWidget* window)
{
    QHash<QString, QString> texts;
    for (QLabel* label : window->findChildren<QLabel*>())
        texts.insert(label->objectName(), label->text());
    return texts;
}

/// The label of that name in a window's design, or null.
inline const dilmora::runtime::LabelDesign* labelDesign(const dilmora::runtime::FormDesign& design,
                                                        const QString& name)
{
    for (const dilmora::runtime::LabelDesign& label : design.labels) {
        if (fromView(label.name) == name)
            return &label;
    }
    return nullptr;
}

/// A place given in twips, in pixels: 15 twips a pixel.
inline QRect pixelsOf(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

inline QRect pixelsOf(const QRect& twips)
{
    return pixelsOf(twips.x(), twips.y(), twips.width(), twips.height());
}

/// What every fixed-size window other than the main window shows: its name and
/// title, a client area of `size` pixels in a window fixed at that size, only a
/// close box in the title bar, the window colour, the icon and no menu bar.
inline void verifyFixedWindow(QWidget* window, const QString& name, const QString& title,
                              QSize size)
{
    QCOMPARE(window->objectName(), name);
    QCOMPARE(window->windowTitle(), title);
    auto* client = window->findChild<QWidget*>(QStringLiteral("clientArea"));
    QVERIFY(client);
    QCOMPARE(client->geometry(), QRect(QPoint(0, 0), size));
    QCOMPARE(window->minimumSize(), size);
    QCOMPARE(window->maximumSize(), size);
    QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(window->palette().color(QPalette::Window), QColor(0xFF, 0xE0, 0xC0));
    QVERIFY(!window->windowIcon().isNull());
    QVERIFY(!window->findChild<QMenuBar*>());
}

/// Data rows "key": the keys that could press a button or cancel a window.
inline void addButtonKeyRows()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Tab") << int(Qt::Key_Tab);
}

} // namespace testing
