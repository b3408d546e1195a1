// The main window: its design, its five menu commands with their instance
// slots and modal windows, a failing Show, and the wrapping menu bar.
#include "app/main_window_design.h"
#include "app/program.h"
#include "program_windows.h"
#include "runtime/application.h"
#include "runtime/twips.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QToolButton>

using namespace dilmora;
using namespace testing;
using runtime::InstanceSlot;

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<app::MainWindow> m_main;

    runtime::WrappingMenuBar* menuBar() { return menuBarOf(*m_main); }

    QAction* item(const char* name) { return menuBar()->item(QString::fromLatin1(name)); }

private slots:
    void initTestCase() { app::configureProgram(); }

    void init() { QVERIFY(openMainWindow(m_main)); }

    void cleanup() { discardMainWindow(m_main); }

    void windowHasItsDesign()
    {
        QWidget* window = m_main->form().window();
        QCOMPARE(window->objectName(), QStringLiteral("Form1"));
        QCOMPARE(window->windowTitle(), productName());
        auto* client = window->findChild<QWidget*>(QStringLiteral("clientArea"));
        QCOMPARE(client->size(), QSize(395, 127));
        QCOMPARE(client->y(), menuBar()->wrappedHeight());
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(window->palette().color(QPalette::Window), QColor(0xFF, 0xE0, 0xC0));
        QVERIFY(!window->windowIcon().isNull());
    }

    // The window icon and the pictures are read without Qt's image reader, which would
    // load the icon plugin and open every other image format plugin installed. (A static
    // Qt, as on Windows, links its plugins in and loads none.)
    void iconLoadsNoImagePlugin()
    {
        QCOMPARE(m_main->form().window()->windowIcon().availableSizes(),
                 (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
#ifdef QT_STATIC
        QSKIP("this Qt has its plugins linked in and loads none");
#endif
        QFile maps(QStringLiteral("/proc/self/maps"));
        if (!maps.open(QIODevice::ReadOnly))
            QSKIP("this system does not list the libraries a process has loaded");
        QStringList plugins;
        for (const QByteArray& line : maps.readAll().split('\n')) {
            if (line.contains("/imageformats/"))
                plugins << QFileInfo(QString::fromUtf8(line.mid(line.lastIndexOf(' ') + 1)))
                               .completeBaseName();
        }
        plugins.removeDuplicates();
        QCOMPARE(plugins, QStringList());
    }

    void menuHasItsItems()
    {
        const QStringList names{"irregularverbs", "phrasalverbs", "particles", "numbers",
                                "aboutprogrammer"};
        const QStringList captions{"Irregular Verbs", "Phrasal Verbs", "Particles", "Numbers",
                                   "About Programmer"};
        const QList<QAction*> actions = menuBar()->actions();
        QCOMPARE(actions.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(actions[i]->objectName(), names[i]);
            QCOMPARE(actions[i]->text(), captions[i]);
            QVERIFY(!actions[i]->menu());
            QVERIFY(actions[i]->isEnabled() && actions[i]->isVisible()
                    && !actions[i]->isCheckable());
            QVERIFY(actions[i]->shortcut().isEmpty());
        }
    }

    void picturesAtTheirPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("welcome") << "Image1" << QRect(720, 240, 4545, 450);
        QTest::newRow("students") << "Image2" << QRect(240, 840, 5460, 345);
        QTest::newRow("programmer") << "Image3" << QRect(1440, 1320, 3060, 345);
    }

    void picturesAtTheirPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        auto* picture = m_main->form().window()->findChild<QLabel*>(name);
        QVERIFY(picture);
        const QRect pixels = pixelsOf(twips);
        QCOMPARE(picture->geometry(), pixels);
        QCOMPARE(picture->pixmap().size(), pixels.size());
        QCOMPARE(picture->frameShape(), QFrame::NoFrame);
    }

    void menuBarShowsEveryItemInsideTheWindow()
    {
        const int width = m_main->form().window()->width();
        for (QAction* action : menuBar()->actions()) {
            const QRect rect = menuBar()->itemRect(action);
            QVERIFY2(rect.left() >= 0 && rect.right() < width, qPrintable(action->text()));
            QVERIFY(rect.bottom() < menuBar()->wrappedHeight());
        }
        for (auto* extension : menuBar()->findChildren<QToolButton*>())
            QVERIFY(!extension->isVisible());
    }

    void menuBarWrapsItemsThatDoNotFit()
    {
        // A narrower window than the items need: they go on further rows,
        // each stays visible and answers a click, none hides in an extension.
        QWidget window;
        window.setFixedSize(200, 100);
        runtime::WrappingMenuBar bar(200, &window);
        QStringList triggered;
        for (const char* caption :
             {"Irregular Verbs", "Phrasal Verbs", "Particles", "Numbers", "About Programmer"}) {
            QAction* action =
                bar.addItem(QString::fromLatin1(caption), QString::fromLatin1(caption));
            connect(action, &QAction::triggered, this,
                    [&triggered, action] { triggered << action->text(); });
        }
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QList<QAction*> actions = bar.actions();
        QVERIFY(bar.itemRect(actions.last()).top() > bar.itemRect(actions.first()).top());
        QVERIFY(bar.wrappedHeight() > bar.itemRect(actions.last()).bottom());
        for (QAction* action : actions) {
            QVERIFY(bar.itemRect(action).right() < 200);
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                              bar.itemRect(action).center());
        }
        QCOMPARE(triggered, QStringList({"Irregular Verbs", "Phrasal Verbs", "Particles", "Numbers",
                                         "About Programmer"}));
        for (auto* extension : bar.findChildren<QToolButton*>())
            QVERIFY(!extension->isVisible());
    }

    void commandOpensItsWindowModally_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("closer");
        for (const WindowInfo& info : programWindows())
            QTest::newRow(qPrintable(info.row))
                << info.item << info.form << info.title << info.closer;
    }

    void commandOpensItsWindowModally()
    {
        QFETCH(QString, item);
        QFETCH(QString, form);
        QFETCH(QString, title);
        QFETCH(QString, closer);
        InstanceSlot& slot = slotOf(*m_main, windowInfo(form));
        QVERIFY(slot.isEmpty());

        QWidget* firstLoad = nullptr;
        for (int use = 0; use < 2; ++use) {
            whileModal(
                [&] {
                    QWidget* modal = QApplication::activeModalWidget();
                    QVERIFY(modal);
                    QCOMPARE(modal->objectName(), form);
                    QCOMPARE(modal->windowTitle(), title);
                    QVERIFY(modal != firstLoad || modal->property("seen").isNull());
                    modal->setProperty("seen", true);
                    firstLoad = modal;
                    // The main window takes no input meanwhile.
                    clickMenuItem(*m_main, item == "numbers" ? "particles" : "numbers");
                    QVERIFY(m_main->particles().isEmpty() || form == "Form4");
                    QVERIFY(m_main->numbers().isEmpty() || form == "Form5");
                    click(modal->findChild<QWidget*>(closer));
                },
                [&] { clickMenuItem(*m_main, item); });
            QVERIFY(!slot.isEmpty());
            QVERIFY(!slot.form().isLoaded());
            QVERIFY(!QApplication::activeModalWidget());
        }
        // Every other slot is still empty.
        int filled = 0;
        for (const WindowInfo& other : programWindows())
            filled += slotOf(*m_main, other).isEmpty() ? 0 : 1;
        QCOMPARE(filled, 1);
    }

    void secondUseReusesTheInstance()
    {
        auto closeModal = [] { QApplication::activeModalWidget()->close(); };
        whileModal(closeModal, [&] { clickMenuItem(*m_main, "numbers"); });
        runtime::Form* first = &m_main->numbers().form();
        whileModal(closeModal, [&] { clickMenuItem(*m_main, "numbers"); });
        QCOMPARE(&m_main->numbers().form(), first);
    }

    void titleBarCloseGivesInputBack()
    {
        whileModal([] { QApplication::activeModalWidget()->close(); },
                   [&] { clickMenuItem(*m_main, "aboutprogrammer"); });
        QVERIFY(!m_main->about().form().isLoaded());
        // The main window takes input again: the next command opens its window.
        whileModal([] { QApplication::activeModalWidget()->close(); },
                   [&] { clickMenuItem(*m_main, "particles"); });
        QVERIFY(!m_main->particles().isEmpty());
    }

    void failingShowReachesTheUnhandledErrorPath()
    {
        ErrorRecorder recorder;
        runtime::injectFault({.operation = runtime::Operation::Show, .object = "Form6"});
        clickMenuItem(*m_main, "phrasalverbs");
        QCOMPARE(recorder.errors.size(), std::size_t(1));
        QCOMPARE(recorder.errors[0].object, std::string("Form6"));
        QVERIFY(recorder.errors[0].interface == runtime::Interface::Form);
        QVERIFY(recorder.errors[0].operation == runtime::Operation::Show);
        QVERIFY(recorder.errors[0].status == runtime::Status::Injected);
        QVERIFY(!m_main->phrasalVerbs().form().isLoaded());
        // The program stays usable: the same command works the next time.
        whileModal(
            [] {
                QCOMPARE(QApplication::activeModalWidget()->objectName(), "Form6");
                QApplication::activeModalWidget()->close();
            },
            [&] { clickMenuItem(*m_main, "phrasalverbs"); });
        QCOMPARE(recorder.errors.size(), std::size_t(1));
    }

    void f10AndArrowsReachEveryCommand()
    {
        QWidget* window = m_main->form().window();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        key(window, Qt::Key_F10);
        QVERIFY(menuBar()->hasFocus());
        QCOMPARE(menuBar()->activeAction(), item("irregularverbs"));
        for (int i = 0; i < 4; ++i)
            key(window, Qt::Key_Right);
        QCOMPARE(menuBar()->activeAction(), item("aboutprogrammer"));
        // The command runs once the bar has let go of the keyboard.
        QTimer closer;
        QString opened;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = modal->objectName();
                modal->close();
            }
        });
        closer.start(10);
        QTest::keyClick(menuBar(), Qt::Key_Return);
        QVERIFY(!menuBar()->hasFocus());
        QTRY_COMPARE(opened, QStringLiteral("Form2"));
        QVERIFY(!m_main->about().isEmpty());
    }

    void altReachesTheMenuBar()
    {
        QWidget* window = m_main->form().window();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyPress(window->windowHandle(), Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(window->windowHandle(), Qt::Key_Alt, Qt::NoModifier);
        QVERIFY(menuBar()->hasFocus());
        QCOMPARE(menuBar()->activeAction(), item("irregularverbs"));
        key(window, Qt::Key_Escape);
        QVERIFY(!menuBar()->activeAction());
        QVERIFY(!menuBar()->hasFocus());
        QVERIFY(m_main->form().isLoaded());
    }

    void closingTheMainWindowEndsTheProgram()
    {
        // The start-up path of the real program: run() shows Form1 and runs
        // the event loop until no window is left. A window opened and closed
        // before must not keep the program alive.
        discardMainWindow(m_main);
        app::MainWindow main;
        QTimer failsafe;
        failsafe.setSingleShot(true);
        connect(&failsafe, &QTimer::timeout, qApp, [] { QApplication::exit(1); });
        failsafe.start(10000);
        QTimer::singleShot(0, this, [&] {
            whileModal([] { QApplication::activeModalWidget()->close(); },
                       [&] { clickMenuItem(main, "numbers"); });
            main.form().window()->close();
        });
        QCOMPARE(runtime::run(main.form()), 0);
        QVERIFY(!main.form().isLoaded());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
