// Every runtime call that hands back a status, made to fail at every place
// the program makes it, while the program is used as a user uses it: windows
// opened from the main window's menu, buttons and labels clicked through the
// window system. Each failure must reach the unhandled-error path naming the
// right object, interface and operation, must leave the cells as far as they
// had got, and must leave the program usable.
#include "app/program.h"
#include "program_windows.h"
#include "runtime/application.h"

#include <set>

using namespace dilmora;
using namespace testing;
using runtime::Interface;
using runtime::Operation;

namespace {

// What the test covered, reported at its end.
int g_faultsInjected = 0;
std::set<QString> g_callSites;

void inject(Operation operation, const QString& object, const QString& callSite)
{
    runtime::injectFault({.operation = operation, .object = object.toStdString()});
    ++g_faultsInjected;
    g_callSites.insert(callSite);
}

/// The captions that a freshly loaded window shows in its grid: its design.
QStringList designGrid(runtime::Form& form, const WindowInfo& info)
{
    QHash<QString, QString> captions;
    for (const runtime::LabelDesign& label : form.design().labels)
        captions.insert(fromView(label.name), fromView(label.caption));
    QStringList grid;
    for (int k = 0; k < info.gridCells(); ++k)
        grid << captions.value(labelName(info.firstCell() + k));
    return grid;
}

} // namespace

class TestFaultInjection : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<app::MainWindow> m_main;

    runtime::InstanceSlot& slotOf(const WindowInfo& info) { return testing::slotOf(*m_main, info); }
    runtime::Form& formOf(const WindowInfo& info) { return testing::formOf(*m_main, info); }

    /// Opens the window from the menu and runs `inside` while it is the
    /// modal window; whatever `inside` leaves open is closed afterwards.
    void withWindow(const WindowInfo& info, const std::function<void(QWidget*)>& inside)
    {
        QVERIFY2(whileOpenFromMenu(*m_main, info, inside),
                 qPrintable(info.form + " did not open from the menu"));
        QVERIFY(!QApplication::activeModalWidget());
    }

    static void expectError(const ErrorRecorder& recorder, const QString& object,
                            Interface interface, Operation operation)
    {
        QCOMPARE(recorder.errors.size(), std::size_t(1));
        const ErrorRecord& error = recorder.errors.front();
        QCOMPARE(QString::fromStdString(error.object), object);
        QCOMPARE(fromView(toString(error.interface)), fromView(toString(interface)));
        QCOMPARE(fromView(toString(error.operation)), fromView(toString(operation)));
        QCOMPARE(fromView(toString(error.status)), fromView(toString(runtime::Status::Injected)));
        QVERIFY2(!runtime::faultArmed(), "the failing call was never made");
    }

    /// After a failure the window opens again in its design state and closes
    /// with its own control, and another menu command still opens its window.
    void expectStillUsable(const WindowInfo& info, const ErrorRecorder& recorder)
    {
        withWindow(info, [&](QWidget* modal) {
            if (info.paged())
                QCOMPARE(gridCaptions(formOf(info), info), designGrid(formOf(info), info));
            QVERIFY(clickAt(modal->findChild<QWidget*>(info.closer)));
            QVERIFY(!formOf(info).isLoaded());
        });
        if (QTest::currentTestFailed())
            return;
        const WindowInfo& other = info.form == "Form5" ? windowInfo("Form2") : windowInfo("Form5");
        withWindow(other, [&](QWidget* modal) { modal->close(); });
        if (QTest::currentTestFailed())
            return;
        QVERIFY(!formOf(other).isLoaded());
        QCOMPARE(recorder.errors.size(), std::size_t(1));
    }

private slots:
    void initTestCase() { app::configureProgram(); }

    void init() { QVERIFY(openMainWindow(m_main)); }

    void cleanup() { discardMainWindow(m_main); }

    void cleanupTestCase()
    {
        qInfo("%d faults injected at %d call sites", g_faultsInjected, int(g_callSites.size()));
    }

    void failingShowOfAMenuCommand_data()
    {
        QTest::addColumn<QString>("form");
        for (const WindowInfo& info : programWindows())
            QTest::newRow(qPrintable(info.row + " command")) << info.form;
    }

    void failingShowOfAMenuCommand()
    {
        QFETCH(QString, form);
        const WindowInfo& info = windowInfo(form);
        ErrorRecorder recorder;
        inject(Operation::Show, form, "Show from menu item " + info.item);
        clickMenuItem(*m_main, info.item);
        expectError(recorder, form, Interface::Form, Operation::Show);
        // Nothing opened; the instance was made before Show failed and stays in its slot.
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!slotOf(info).isEmpty());
        QVERIFY(!formOf(info).isLoaded());
        QVERIFY(m_main->form().window()->isVisible());
        expectStillUsable(info, recorder);
    }

    void failingShowAtStart()
    {
        app::MainWindow program;
        ErrorRecorder recorder;
        inject(Operation::Show, "Form1", "Show of the start-up window");
        QCOMPARE(runtime::run(program.form()), 1);
        expectError(recorder, "Form1", Interface::Form, Operation::Show);
        QVERIFY(!program.form().isLoaded());
    }

    void failingCaptionOfAPageButton_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("failingCell"); // k: 1 to 32 N, in the order the cells are set
        for (const WindowInfo& info : programWindows()) {
            for (const PageButtonInfo& button : info.pageButtons) {
                const std::pair<const char*, int> cells[] = {
                    {"first", 1}, {"middle", info.gridCells() / 2 + 1}, {"last", info.gridCells()}};
                for (const auto& [where, k] : cells) {
                    QTest::addRow("%s, %s fails at its %s cell (%s)", qPrintable(info.row),
                                  qPrintable(button.caption), where,
                                  qPrintable(labelName(info.columns + k)))
                        << info.form << button.name << button.page << k;
                }
            }
        }
    }

    void failingCaptionOfAPageButton()
    {
        QFETCH(QString, form);
        QFETCH(QString, button);
        QFETCH(int, page);
        QFETCH(int, failingCell);
        const WindowInfo& info = windowInfo(form);
        ErrorRecorder recorder;
        withWindow(info, [&](QWidget* modal) {
            // Start from another page than the button's, so that new and old texts differ.
            if (page == 1) {
                QVERIFY(clickAt(modal->findChild<QPushButton*>(info.pageButtons.back().name)));
                QCOMPARE(gridCaptions(formOf(info), info), info.pages.back());
            }
            const QStringList before = gridCaptions(formOf(info), info);
            const QStringList after = info.pages.at(page - 1);
            const QString cell = form + '.' + labelName(info.columns + failingCell);
            inject(Operation::Caption, cell, "Caption from " + form + ' ' + button);
            QVERIFY(clickAt(modal->findChild<QPushButton*>(button)));
            expectError(recorder, cell, Interface::Label, Operation::Caption);

            // The head of the new page over the tail of the old one.
            const QStringList expected =
                after.mid(0, failingCell - 1) + before.mid(failingCell - 1);
            QCOMPARE(gridCaptions(formOf(info), info), expected);
            QVERIFY(formOf(info).isLoaded());
            QCOMPARE(QApplication::activeModalWidget(), modal);

            // The same button shows its whole page the next time.
            QVERIFY(clickAt(modal->findChild<QPushButton*>(button)));
            QCOMPARE(gridCaptions(formOf(info), info), after);
            QCOMPARE(recorder.errors.size(), std::size_t(1));
            QVERIFY(clickAt(modal->findChild<QWidget*>(info.closer)));
            QVERIFY(!formOf(info).isLoaded());
        });
        if (QTest::currentTestFailed())
            return;
        expectStillUsable(info, recorder);
    }

    void failingUnloadOfTheCloseControl_data()
    {
        QTest::addColumn<QString>("form");
        for (const WindowInfo& info : programWindows()) {
            const char* control = info.form == "Form2" ? "Exit" : "Main Page";
            QTest::addRow("%s, %s", qPrintable(info.row), control) << info.form;
        }
    }

    void failingUnloadOfTheCloseControl()
    {
        QFETCH(QString, form);
        const WindowInfo& info = windowInfo(form);
        ErrorRecorder recorder;
        withWindow(info, [&](QWidget* modal) {
            if (info.paged()) {
                QVERIFY(clickAt(modal->findChild<QPushButton*>(info.pageButtons.at(1).name)));
                QCOMPARE(gridCaptions(formOf(info), info), info.pages.at(1));
            }
            const QHash<QString, QString> before = allCaptions(modal);
            inject(Operation::Unload, form, "Unload from " + form + ' ' + info.closer);
            QVERIFY(clickAt(modal->findChild<QWidget*>(info.closer)));
            expectError(recorder, fromView(runtime::kGlobalObject), Interface::Global,
                        Operation::Unload);

            // The window stays as it was, open and modal.
            QVERIFY(formOf(info).isLoaded());
            QVERIFY(modal->isVisible());
            QCOMPARE(QApplication::activeModalWidget(), modal);
            QCOMPARE(allCaptions(modal), before);

            // Its close control works the next time.
            QVERIFY(clickAt(modal->findChild<QWidget*>(info.closer)));
            QVERIFY(!formOf(info).isLoaded());
        });
        if (QTest::currentTestFailed())
            return;
        expectStillUsable(info, recorder);
    }
};

QTEST_MAIN(TestFaultInjection)
#include "tst_fault_injection.moc"
