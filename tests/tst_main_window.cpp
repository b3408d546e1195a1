// The main window: its design, its five menu commands with their instance
// slots and modal windows, a failing Show, and the wrapping menu bar.
#include "app/main_window.h"
#include "app/main_window_design.h"
#include "form_testing.h"
#include "runtime/menu_bar.h"
#include "runtime/twips.h"

#include <QAction>
#include <QToolButton>

using namespace dilmora;
using namespace testing;
using runtime::InstanceSlot;

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<app::MainWindow> m_main;

    runtime::WrappingMenuBar* menuBar()
    {
        return m_main->form().window()->findChild<runtime::WrappingMenuBar*>();
    }

    QAction* item(const char* name) { return menuBar()->item(QString::fromLatin1(name)); }

    /// Clicks the menu item as a user would: on its place in the bar.
    void clickItem(const char* name)
    {
        QTest::mouseClick(
            windowOf(menuBar()), Qt::LeftButton, {},
            menuBar()->mapTo(menuBar()->window(), menuBar()->itemRect(item(name)).center()));
    }

    InstanceSlot& slotFor(const QString& form)
    {
        if (form == "Form3")
            return m_main->irregularVerbs();
        if (form == "Form6")
            return m_main->phrasalVerbs();
        if (form == "Form4")
            return m_main->particles();
        if (form == "Form5")
            return m_main->numbers();
        return m_main->about();
    }

private slots:
    void initTestCase() { runtime::configureApplication(); }

    void init()
    {
        m_main = std::make_unique<app::MainWindow>();
        QVERIFY(m_main->form().show(runtime::Modality::Modeless) == runtime::Status::Ok);
        QVERIFY(QTest::qWaitForWindowExposed(m_main->form().window()));
    }

    void cleanup()
    {
        runtime::clearFault();
        m_main.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void windowHasItsDesign()
    {
        QWidget* window = m_main->form().window();
        QCOMPARE(window->objectName(), QStringLiteral("Form1"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Dilmora 1.0"));
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
        const QRect pixels(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
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
        QTest::newRow("irregular verbs") << "irregularverbs"
                                         << "Form3"
                                         << "Irregular Verbs"
                                         << "Command3";
        QTest::newRow("phrasal verbs") << "phrasalverbs"
                                       << "Form6"
                                       << "Phrasal Verbs"
                                       << "Command1";
        QTest::newRow("particles") << "particles"
                                   << "Form4"
                                   << "Particles"
                                   << "Command1";
        QTest::newRow("numbers") << "numbers"
                                 << "Form5"
                                 << "Numbers"
                                 << "Command1";
        QTest::newRow("about") << "aboutprogrammer"
                               << "Form2"
                               << "About Programmer"
                               << "Label7";
    }

    void commandOpensItsWindowModally()
    {
        QFETCH(QString, item);
        QFETCH(QString, form);
        QFETCH(QString, title);
        QFETCH(QString, closer);
        InstanceSlot& slot = slotFor(form);
        QVERIFY(slot.isEmpty());
        const QByteArray itemName = item.toLatin1();

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
                    clickItem(item == "numbers" ? "particles" : "numbers");
                    QVERIFY(m_main->particles().isEmpty() || form == "Form4");
                    QVERIFY(m_main->numbers().isEmpty() || form == "Form5");
                    click(modal->findChild<QWidget*>(closer));
                },
                [&] { clickItem(itemName.constData()); });
            QVERIFY(!slot.isEmpty());
            QVERIFY(!slot.form().isLoaded());
            QVERIFY(!QApplication::activeModalWidget());
        }
        // Every other slot is still empty.
        int filled = 0;
        for (const char* other : {"Form2", "Form3", "Form4", "Form5", "Form6"})
            filled += slotFor(QString::fromLatin1(other)).isEmpty() ? 0 : 1;
        QCOMPARE(filled, 1);
    }

    void secondUseReusesTheInstance()
    {
        auto closeModal = [] { QApplication::activeModalWidget()->close(); };
        whileModal(closeModal, [&] { clickItem("numbers"); });
        runtime::Form* first = &m_main->numbers().form();
        whileModal(closeModal, [&] { clickItem("numbers"); });
        QCOMPARE(&m_main->numbers().form(), first);
    }

    void titleBarCloseGivesInputBack()
    {
        whileModal([] { QApplication::activeModalWidget()->close(); },
                   [&] { clickItem("aboutprogrammer"); });
        QVERIFY(!m_main->about().form().isLoaded());
        // The main window takes input again: the next command opens its window.
        whileModal([] { QApplication::activeModalWidget()->close(); },
                   [&] { clickItem("particles"); });
        QVERIFY(!m_main->particles().isEmpty());
    }

    void failingShowReachesTheUnhandledErrorPath()
    {
        ErrorRecorder recorder;
        runtime::injectFault({.operation = runtime::Operation::Show, .object = "Form6"});
        clickItem("phrasalverbs");
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
            [&] { clickItem("phrasalverbs"); });
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
        whileModal(
            [] {
                QCOMPARE(QApplication::activeModalWidget()->objectName(), "Form2");
                QApplication::activeModalWidget()->close();
            },
            [&] { key(window, Qt::Key_Return); });
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

    void closingTheMainWindowUnloadsIt()
    {
        m_main->form().window()->close();
        QVERIFY(!m_main->form().isLoaded());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
