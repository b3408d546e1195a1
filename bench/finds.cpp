// A learner's find, timed key by key: each key sent as the window system
// sends it, the find it runs (the page turned to the row found and the row
// marked), the events that posted, and the whole window repainted.
//
//   dilmora-bench-finds [rounds]   prints "find <form> <median ms> <worst ms> <keys>"
//
// Each window is shown and painted first; a round types each of its words
// a key at a time and closes the field with Escape. The first round warms
// the caches and is not counted. The main window's rows include its list.
#include "app/main_window.h"
#include "app/program.h"
#include "first_frame.h"
#include "runtime/find_bar.h"
#include "runtime/form_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QKeyEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace dilmora;

namespace {

/// Sends one key to the window as the window system does: to its focus
/// widget, from which an unused key goes up to the window.
void sendKey(QWidget* window, Qt::Key key, const QString& text = {})
{
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

/// Every popup that shows the finds is repainted too.
void repaintAll(QWidget* window)
{
    QCoreApplication::sendPostedEvents();
    window->repaint();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top != window && top->isVisible() && top->windowType() == Qt::Popup)
            top->repaint();
    }
}

/// Types `words` into the window a key at a time, `rounds` times, timing each key.
bool time(runtime::Form& form, const std::vector<QString>& words, int rounds)
{
    bool painted = false;
    bench::FirstFrameWatcher watcher([](QWidget*) { return true; },
                                     [&](QWidget*) { painted = true; });
    qApp->installEventFilter(&watcher);
    const bool shown = form.show(runtime::Modality::Modeless) == runtime::Status::Ok
                       && bench::processEventsUntil([&] { return painted; });
    qApp->removeEventFilter(&watcher);
    if (!shown) {
        bench::report("error " + std::string(form.name()) + " was not painted");
        return false;
    }
    QWidget* window = form.window();
    std::vector<double> times;
    for (int round = 0; round <= rounds; ++round) {
        for (const QString& word : words) {
            for (const QChar c : word) {
                const bench::Clock::time_point start = bench::Clock::now();
                sendKey(window, Qt::Key_unknown, QString(c));
                repaintAll(window);
                if (round > 0)
                    times.push_back(bench::millisecondsBetween(start, bench::Clock::now()));
            }
            sendKey(window, Qt::Key_Escape);
            QCoreApplication::processEvents();
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("find %s %.3f %.3f %zu\n", std::string(form.name()).c_str(),
                times[times.size() / 2], times.back(), times.size());
    form.unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    static int argumentCount = 1;
    static char* arguments[] = {argv[0], nullptr};
    QApplication application(argumentCount, arguments);
    app::configureProgram();

    app::MainWindow main;
    main.irregularVerbs().create();
    main.phrasalVerbs().create();
    main.particles().create();
    main.numbers().create();
    const bool ok =
        time(main.irregularVerbs().form(), {"drink", "icmek", "write", "ogrenmek"}, rounds)
        && time(main.phrasalVerbs().form(), {"look after", "ask out", "bakmak"}, rounds)
        && time(main.particles().form(), {"according to", "göre", "zz"}, rounds)
        && time(main.numbers().form(), {"21", "twentyfirst", "1000"}, rounds)
        && time(main.form(), {"look after", "icmek", "in"}, rounds);
    return ok ? 0 : 1;
}
