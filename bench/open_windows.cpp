// Opening a window: the time from a menu command of the main window to the
// opened window's first painted frame, for each of the five windows.
//
//   dilmora-bench-open [runs]
//
// The main window is loaded and shown as at start-up. Each run triggers the
// menu command, which shows its window modally; once that window's first
// frame is painted it is closed as its close box does, and the command
// returns. The windows take turns, so that each sees the same machine.
// Prints per window "open <command> <first ms> <median ms> <max ms> <runs>";
// the first open of a window also creates its instance.
#include "app/program.h"
#include "first_frame.h"

#include "app/main_window.h"
#include "runtime/look.h"

#include <QAction>
#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Command {
    const char* name;
    QAction* item = nullptr;
    double first = -1;
    std::vector<double> times;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    static int argumentCount = 1;
    static char* arguments[] = {argv[0], nullptr};
    QApplication application(argumentCount, arguments);

    QWidget* mainWindowWidget = nullptr;
    bool painted = false;
    bench::Clock::time_point framePainted;
    bench::FirstFrameWatcher watcher([&](QWidget* window) { return window != mainWindowWidget; },
                                     [&](QWidget* window) {
                                         framePainted = bench::Clock::now();
                                         painted = true;
                                         if (mainWindowWidget)
                                             window->close(); // as the title bar's close box does
                                     });
    application.installEventFilter(&watcher);

    dilmora::app::configureProgram();
    dilmora::app::MainWindow mainWindow;
    if (mainWindow.form().show(dilmora::runtime::Modality::Modeless) != dilmora::runtime::Status::Ok
        || !bench::processEventsUntil([&] { return painted; })) {
        bench::report("error the main window was not painted");
        return 1;
    }
    mainWindowWidget = mainWindow.form().window();
    settle();

    std::vector<Command> commands{
        {"irregularverbs"}, {"phrasalverbs"}, {"particles"}, {"numbers"}, {"aboutprogrammer"}};
    for (Command& command : commands) {
        command.item = mainWindowWidget->findChild<QAction*>(QString::fromLatin1(command.name));
        if (!command.item) {
            bench::report(std::string("error no menu command ") + command.name);
            return 1;
        }
    }

    for (int run = 0; run <= runs; ++run) {
        for (Command& command : commands) {
            painted = false;
            watcher.rearm();
            const bench::Clock::time_point start = bench::Clock::now();
            command.item->trigger(); // returns once the modal window is closed
            if (!painted) {
                bench::report(std::string("error no frame from ") + command.name);
                return 1;
            }
            const double ms = bench::millisecondsBetween(start, framePainted);
            if (run == 0)
                command.first = ms;
            else
                command.times.push_back(ms);
            settle();
        }
    }

    for (const Command& command : commands) {
        const double worst = *std::max_element(command.times.begin(), command.times.end());
        std::printf("open %s %.3f %.3f %.3f %d\n", command.name, command.first,
                    median(command.times), worst, runs);
    }
    return 0;
}
