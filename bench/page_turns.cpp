// Turning a page of a paged window, timed three ways:
//   showPage  the page's texts written into every cell (all captions set);
//   frame     showPage, then the events it posted, as the event loop would
//             handle them next: the cells that changed are painted and flushed;
//   repaint   showPage, then window->repaint(): the whole window painted at once.
//
//   dilmora-bench-pages [runs]    prints "turn <form> <way> <median ms> <max ms> <runs>"
//   dilmora-bench-pages callgrind under valgrind --tool=callgrind --instr-atstart=no:
//                                 one dump per form and way, named "<form> <way> <turns>",
//                                 that counts a full cycle through every page
//
// Each window is shown and painted first; every turn goes to the next page,
// so that every turn changes the cells, and one cycle through all pages
// warms the caches before anything is counted.
#include "app/program.h"
#include "first_frame.h"

#include "reference/irregular_verbs_table.h"
#include "reference/irregular_verbs_window.h"
#include "reference/particles_table.h"
#include "reference/particles_window.h"
#include "reference/phrasal_verbs_table.h"
#include "reference/phrasal_verbs_window.h"
#include "runtime/look.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace dilmora;

namespace {

enum class Way { ShowPage, Frame, Repaint };
constexpr const char* wayName(Way way)
{
    return way == Way::ShowPage ? "showPage" : way == Way::Frame ? "frame" : "repaint";
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

/// Handles what is pending, so that the next turn starts from a painted window.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

template <std::size_t N> class Turner {
public:
    Turner(runtime::Form& form, const reference::ContentTable<N>& table)
        : m_form(form), m_table(table)
    {
    }

    void turn(Way way)
    {
        m_page = m_page % m_table.pageCount() + 1;
        reference::showPage(m_form, m_table, m_page);
        if (way == Way::Frame)
            QCoreApplication::sendPostedEvents();
        else if (way == Way::Repaint)
            m_form.window()->repaint();
    }

    int pageCount() const { return m_table.pageCount(); }

private:
    runtime::Form& m_form;
    const reference::ContentTable<N>& m_table;
    int m_page = 1; // windows open on page 1
};

template <std::size_t N>
bool benchmark(std::unique_ptr<runtime::Form> form, const reference::ContentTable<N>& table,
               bench::FirstFrameWatcher& watcher, bool& painted, int runs, bool callgrind)
{
    // The watcher sees every event, so it watches only until the window is painted.
    painted = false;
    watcher.rearm();
    qApp->installEventFilter(&watcher);
    const bool shown = form->show(runtime::Modality::Modeless) == runtime::Status::Ok
                       && bench::processEventsUntil([&] { return painted; });
    qApp->removeEventFilter(&watcher);
    if (!shown) {
        bench::report("error " + std::string(form->name()) + " was not painted");
        return false;
    }
    settle();
    const std::string name(form->name());
    Turner<N> turner(*form, table);

    for (Way way : {Way::ShowPage, Way::Frame, Way::Repaint}) {
        for (int i = 0; i < turner.pageCount(); ++i) {
            turner.turn(way);
            settle();
        }
        if (callgrind) {
            const std::string dump =
                name + ' ' + wayName(way) + ' ' + std::to_string(turner.pageCount());
            CALLGRIND_ZERO_STATS;
            for (int i = 0; i < turner.pageCount(); ++i)
                turner.turn(way);
            CALLGRIND_DUMP_STATS_AT(dump.c_str());
            settle();
            continue;
        }
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            const bench::Clock::time_point start = bench::Clock::now();
            turner.turn(way);
            times.push_back(bench::millisecondsBetween(start, bench::Clock::now()));
            settle();
        }
        std::printf("turn %s %s %.3f %.3f %d\n", name.c_str(), wayName(way), median(times),
                    *std::max_element(times.begin(), times.end()), runs);
    }
    form->unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const bool callgrind = argc > 1 && std::strcmp(argv[1], "callgrind") == 0;
    const int runs = argc > 1 && !callgrind ? std::max(1, std::atoi(argv[1])) : 200;
    static int argumentCount = 1;
    static char* arguments[] = {argv[0], nullptr};
    QApplication application(argumentCount, arguments);
    app::configureProgram();

    bool painted = false;
    bench::FirstFrameWatcher watcher([](QWidget*) { return true; },
                                     [&](QWidget*) { painted = true; });

    if (callgrind)
        CALLGRIND_START_INSTRUMENTATION;
    const bool ok = benchmark(reference::createIrregularVerbsWindow(), reference::kIrregularVerbs,
                              watcher, painted, runs, callgrind)
                    && benchmark(reference::createPhrasalVerbsWindow(), reference::kPhrasalVerbs,
                                 watcher, painted, runs, callgrind)
                    && benchmark(reference::createParticlesWindow(), reference::kParticles, watcher,
                                 painted, runs, callgrind);
    if (callgrind)
        CALLGRIND_STOP_INSTRUMENTATION;
    return ok ? 0 : 1;
}
