// What the benchmark programs share: noticing a window's first painted
// frame, reporting a line to the launcher, and reading the peak resident
// memory of the process.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QWidget>

#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else // without valgrind's header the callgrind marks count nothing
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#define CALLGRIND_ZERO_STATS
#define CALLGRIND_DUMP_STATS_AT(name) static_cast<void>(name)
#endif

namespace bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

/// Watches every event of the application for the first Paint event of a
/// top-level widget that `wanted` accepts. The frame that this event starts
/// is painted and flushed in the same pass through the widgets, so
/// `framePainted` runs from a queued call once that pass is over; it gets
/// the window whose frame it was.
class FirstFrameWatcher : public QObject {
public:
    using Filter = std::function<bool(QWidget*)>;
    using Callback = std::function<void(QWidget*)>;

    FirstFrameWatcher(Filter wanted, Callback framePainted)
        : m_wanted(std::move(wanted)), m_framePainted(std::move(framePainted))
    {
    }

    /// Watches for one more first frame, of the next window `wanted` accepts.
    void rearm() { m_armed = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_armed && event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow() && m_wanted(widget)) {
                m_armed = false;
                QMetaObject::invokeMethod(
                    this, [this, widget] { m_framePainted(widget); }, Qt::QueuedConnection);
            }
        }
        return false;
    }

private:
    Filter m_wanted;
    Callback m_framePainted;
    bool m_armed = true;
};

/// One line to the launcher on standard output, written through at once.
inline void report(const std::string& line)
{
    const std::string text = line + '\n';
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

/// Reports the first frame. Under callgrind it also ends the first dump
/// there, so that the dump named "first frame" counts from exec to the end
/// of that frame, without the teardown.
inline void reportFirstFrame()
{
    CALLGRIND_DUMP_STATS_AT("first frame");
    report("frame");
}

/// A field of /proc/self/status in kB, such as "VmHWM" or "VmRSS"; -1 if missing.
inline long statusKilobytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ':', 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    }
    return -1;
}

/// Processes events until `done` holds or `timeoutMs` has passed.
template <typename Done> bool processEventsUntil(Done done, int timeoutMs = 5000)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace bench
