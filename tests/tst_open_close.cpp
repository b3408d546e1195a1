// Opening and closing every window, over and over, from the main window's
// menu: each closing must leave no widget behind, and the memory the process
// holds must stay flat.
#include "app/program.h"
#include "program_windows.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
// windows.h must come first.
#include <psapi.h>
#endif

using namespace dilmora;
using namespace testing;

namespace {

constexpr int kWarmUpCycles = 20;
constexpr int kCycles = 1000;
// The address sanitizer keeps freed memory in quarantine, so the resident
// size says nothing there; it finds leaks itself.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMeasureMemory = false;
#else
constexpr bool kMeasureMemory = true;
#endif
constexpr qint64 kAllowedGrowthKiB = 1024;

/// The resident set size (on Windows the working set) of this process, in KiB.
qint64 residentKiB()
{
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<qint64>(counters.WorkingSetSize / 1024);
#else
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
#endif
}

void deleteDiscardedWidgets()
{
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestOpenClose : public QObject {
    Q_OBJECT

private:
    /// Opens each window from the menu and closes it again, by its own
    /// control or by the title bar's close command; false if one misbehaved.
    static bool cycle(app::MainWindow& main, int round, QString* problem)
    {
        for (const WindowInfo& info : programWindows()) {
            const bool opened = whileOpenFromMenu(main, info, [&](QWidget* modal) {
                if (round % 2)
                    modal->close();
                else
                    clickAt(modal->findChild<QWidget*>(info.closer));
            });
            if (!opened || formOf(main, info).isLoaded() || QApplication::activeModalWidget()) {
                *problem = QStringLiteral("round %1: %2 %3")
                               .arg(round)
                               .arg(info.form, opened ? QStringLiteral("did not close")
                                                      : QStringLiteral("did not open"));
                return false;
            }
        }
        return true;
    }

private slots:
    void initTestCase() { app::configureProgram(); }

    void everyWindowOpenedAndClosedOverAndOver()
    {
        app::MainWindow main;
        QVERIFY(showMainWindow(main));
        ErrorRecorder recorder;
        deleteDiscardedWidgets();
        const qsizetype widgetsBefore = QApplication::allWidgets().size();

        QString problem;
        for (int round = 0; round < kWarmUpCycles; ++round)
            QVERIFY2(cycle(main, round, &problem), qPrintable(problem));
        deleteDiscardedWidgets();
        const qint64 residentBefore = residentKiB();
        QVERIFY(residentBefore > 0);

        for (int round = 0; round < kCycles; ++round)
            QVERIFY2(cycle(main, round, &problem), qPrintable(problem));
        deleteDiscardedWidgets();
        const qint64 growth = residentKiB() - residentBefore;
        const qsizetype widgetsAfter = QApplication::allWidgets().size();

        QVERIFY(recorder.errors.empty());
        QCOMPARE(widgetsAfter, widgetsBefore);
        qInfo("%d times every window: %lld widgets before and after; resident memory grew by "
              "%lld KiB%s",
              kCycles, qlonglong(widgetsBefore), growth,
              kMeasureMemory ? "" : " (not checked under the address sanitizer)");
        if (kMeasureMemory)
            QVERIFY2(growth <= kAllowedGrowthKiB,
                     qPrintable(QStringLiteral("grew by %1 KiB").arg(growth)));
    }
};

QTEST_MAIN(TestOpenClose)
#include "tst_open_close.moc"
