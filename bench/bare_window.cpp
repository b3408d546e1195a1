// The baseline: a bare Qt 6 Widgets program that shows one empty window of
// the main window's client size (395 x 127 pixels) with the same window
// flags, and nothing else.
//
//   dilmora-bench-bare startup        reports "frame" once the first frame is painted, then quits
//   dilmora-bench-bare memory         reports "memory <VmHWM kB> <VmRSS kB> <VmHWM kB>" after
//                                     the first frame (the same layout as dilmora-bench-startup's)
//   dilmora-bench-bare startup|memory text
//                                     the same window with one line of text in Qt's default
//                                     font: the least a window that shows any text costs
#include "first_frame.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv)
{
    const bool memory = argc > 1 && std::strcmp(argv[1], "memory") == 0;
    const bool text = argc > 2 && std::strcmp(argv[2], "text") == 0;
    static int argumentCount = 1;
    static char* arguments[] = {argv[0], nullptr};
    QApplication application(argumentCount, arguments);

    bench::FirstFrameWatcher watcher(
        [](QWidget*) { return true; },
        [memory](QWidget*) {
            if (memory) {
                const std::string hwm = std::to_string(bench::statusKilobytes("VmHWM"));
                bench::report("memory " + hwm + ' '
                              + std::to_string(bench::statusKilobytes("VmRSS")) + ' ' + hwm + ' '
                              + std::to_string(bench::statusKilobytes("RssAnon")) + ' '
                              + std::to_string(bench::statusKilobytes("RssFile")));
            } else {
                bench::reportFirstFrame();
            }
            QCoreApplication::quit();
        });
    application.installEventFilter(&watcher);

    QWidget window(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                                | Qt::MSWindowsFixedSizeDialogHint);
    window.setFixedSize(395, 127);
    if (text)
        (new QLabel(QStringLiteral("Dilmora"), &window))->move(8, 8);
    window.show();
    return QApplication::exec();
}
