// Dilmora's start-up exactly as app/main.cpp does it, plus a watcher that
// reports the main window's first painted frame to the launcher.
//
//   dilmora-bench-startup startup   reports "frame" once the main window's first frame is painted,
//   then quits dilmora-bench-startup memory    then opens and closes every window once through its
//   menu
//                                   command and reports
//                                   "memory <VmHWM kB> <VmRSS kB> <VmHWM kB at the first frame>"
#include "app/program.h"
#include "first_frame.h"

#include "app/main_window.h"
#include "runtime/application.h"
#include "runtime/look.h"
#include "runtime/platform.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <cstring>

namespace {

const char* const kMenuCommands[] = {"irregularverbs", "phrasalverbs", "particles", "numbers",
                                     "aboutprogrammer"};

} // namespace

int main(int argc, char** argv)
{
    const bool memory = argc > 1 && std::strcmp(argv[1], "memory") == 0;
    QWidget* mainWindowWidget = nullptr;

    dilmora::runtime::platform::prepareProcess();
    static int argumentCount = 1;
    static char* arguments[] = {argv[0], nullptr};
    QApplication application(argumentCount, arguments);

    bench::FirstFrameWatcher* watcherRef = nullptr;
    bench::FirstFrameWatcher watcher(
        [&](QWidget* window) { return window != mainWindowWidget; },
        [&](QWidget* window) {
            if (!memory) {
                bench::reportFirstFrame();
                QCoreApplication::quit();
                return;
            }
            if (mainWindowWidget) {
                window->close(); // as the title bar's close box does
                return;
            }
            mainWindowWidget = window;
            const long firstFrameHwm = bench::statusKilobytes("VmHWM");
            QTimer::singleShot(0, [&, window, firstFrameHwm] {
                for (const char* command : kMenuCommands) {
                    auto* item = window->findChild<QAction*>(QString::fromLatin1(command));
                    if (!item) {
                        bench::report(std::string("error no menu command ") + command);
                        QCoreApplication::exit(1);
                        return;
                    }
                    watcherRef->rearm();
                    item->trigger(); // returns once the modal window is closed
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                }
                bench::report("memory " + std::to_string(bench::statusKilobytes("VmHWM")) + ' '
                              + std::to_string(bench::statusKilobytes("VmRSS")) + ' '
                              + std::to_string(firstFrameHwm) + ' '
                              + std::to_string(bench::statusKilobytes("RssAnon")) + ' '
                              + std::to_string(bench::statusKilobytes("RssFile")));
                QCoreApplication::quit();
            });
        });
    watcherRef = &watcher;
    application.installEventFilter(&watcher);

    dilmora::app::configureProgram();
    dilmora::app::MainWindow mainWindow;
    return dilmora::runtime::run(mainWindow.form());
}
