// Shows what assistive technology learns through Qt's accessibility interfaces: the main window
// is a frame and the five windows dialogs owned by it, the pictures say their lettering, "  Exit"
// can be pressed, wrapped menu items are where they are drawn; and that buttons show their colour.
#include "about/about_window.h"
#include "program_windows.h"
#include "reference/numbers_window.h"
#include "runtime/form_window.h"

#include <QAccessible>
#include <QScreen>

using namespace dilmora;
using namespace testing;

namespace {

QAccessibleInterface* accessibleOf(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<app::MainWindow> m_main;

private slots:
    void initTestCase() { runtime::configureApplication(); }
    void init() { QVERIFY(openMainWindow(m_main)); }
    void cleanup() { discardMainWindow(m_main); }

    void mainWindowIsAFrameOfItsOwn()
    {
        QWidget* window = m_main->form().window();
        QAccessibleInterface* frame = accessibleOf(window);
        QVERIFY(frame);
        QCOMPARE(frame->role(), QAccessible::Window);
        QCOMPARE(frame->text(QAccessible::Name), QStringLiteral("Dilmora 1.0"));
        QVERIFY(!window->windowHandle()->transientParent());
    }

    void windowIsADialogOwnedByTheMainWindow_data()
    {
        QTest::addColumn<QString>("form");
        for (const WindowInfo& info : programWindows())
            QTest::newRow(qPrintable(info.row)) << info.form;
    }

    void windowIsADialogOwnedByTheMainWindow()
    {
        QFETCH(QString, form);
        const WindowInfo& info = windowInfo(form);
        QWidget* mainWindow = m_main->form().window();
        const bool opened = whileOpenFromMenu(*m_main, info, [&](QWidget* modal) {
            QAccessibleInterface* dialog = accessibleOf(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->role(), QAccessible::Dialog);
            QCOMPARE(dialog->text(QAccessible::Name), info.title);
            QCOMPARE(modal->windowHandle()->transientParent(), mainWindow->windowHandle());
            QVERIFY(modal->isModal());
            // Centred on the main window's screen, up to the frame that the window system adds.
            const QPoint screenCentre = mainWindow->screen()->availableGeometry().center();
            QVERIFY((modal->geometry().center() - screenCentre).manhattanLength() <= 4);
        });
        QVERIFY(opened);
    }

    void picturesSayWhatTheyShow_data()
    {
        QTest::addColumn<bool>("about");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("described");
        // The author credit names the author as the About window greets them.
        const runtime::LabelDesign* greeting =
            labelDesign(about::kAboutDesign, QStringLiteral("Label1"));
        QVERIFY(greeting);
        const QString author = fromView(greeting->caption).section(QStringLiteral("name's "), 1);
        QTest::newRow("welcome") << false << "Image1"
                                 << "Welcome to Dilmora 1.0" << false;
        QTest::newRow("students") << false << "Image2"
                                  << "This program is made for English students" << false;
        QTest::newRow("author credit") << false << "Image3"
                                       << "Programmer: " + author << false;
        QTest::newRow("about, described") << true << "Image1" << QString() << true;
    }

    void picturesSayWhatTheyShow()
    {
        QFETCH(bool, about);
        QFETCH(QString, picture);
        QFETCH(QString, name);
        QFETCH(bool, described);
        std::unique_ptr<runtime::Form> aboutWindow = about::createAboutWindow();
        QVERIFY(aboutWindow->load() == runtime::Status::Ok);
        QWidget* window = about ? aboutWindow->window() : m_main->form().window();
        QAccessibleInterface* graphic = accessibleOf(window->findChild<QLabel*>(picture));
        QVERIFY(graphic);
        QCOMPARE(graphic->role(), QAccessible::Graphic);
        QCOMPARE(graphic->text(QAccessible::Name), name);
        QCOMPARE(!graphic->text(QAccessible::Description).isEmpty(), described);
    }

    void pressingExitUnloadsAsAClickDoes_data()
    {
        QTest::addColumn<bool>("failing");
        QTest::newRow("unloads") << false;
        QTest::newRow("a failing Unload is a run-time error") << true;
    }

    void pressingExitUnloadsAsAClickDoes()
    {
        QFETCH(bool, failing);
        const WindowInfo& info = windowInfo(QStringLiteral("Form2"));
        ErrorRecorder recorder;
        if (failing)
            runtime::injectFault({.operation = runtime::Operation::Unload, .object = "Form2"});
        bool stayed = true;
        const bool opened = whileOpenFromMenu(*m_main, info, [&](QWidget* modal) {
            auto* exitLabel = modal->findChild<QLabel*>(QStringLiteral("Label7"));
            QAccessibleActionInterface* actions = accessibleOf(exitLabel)->actionInterface();
            QVERIFY(actions);
            QCOMPARE(actions->actionNames(),
                     QStringList{QAccessibleActionInterface::pressAction()});
            actions->doAction(QAccessibleActionInterface::pressAction());
            stayed = formOf(*m_main, info).isLoaded();
        });
        QVERIFY(opened);
        QCOMPARE(stayed, failing);
        QCOMPARE(recorder.errors.size(), std::size_t(failing ? 1 : 0));
        if (failing) {
            QCOMPARE(recorder.errors.front().object, std::string(runtime::kGlobalObject));
            QVERIFY(recorder.errors.front().operation == runtime::Operation::Unload);
        }
    }

    void wrappedMenuItemsAreWhereTheyAreDrawn()
    {
        // A window narrower than the items need: they wrap onto further rows.
        QWidget window;
        window.setFixedSize(200, 100);
        runtime::WrappingMenuBar bar(200, &window);
        const QStringList captions{"Irregular Verbs", "Phrasal Verbs", "Particles", "Numbers",
                                   "About Programmer"};
        for (const QString& caption : captions)
            bar.addItem(caption, caption);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(bar.itemRect(bar.actions().last()).top()
                > bar.itemRect(bar.actions().first()).top());

        QAccessibleInterface* menuBar = accessibleOf(&bar);
        QCOMPARE(menuBar->childCount(), 5);
        for (int i = 0; i < menuBar->childCount(); ++i) {
            QAction* action = bar.actions().at(i);
            QAccessibleInterface* item = menuBar->child(i);
            QCOMPARE(item->role(), QAccessible::MenuItem);
            QCOMPARE(item->text(QAccessible::Name), action->text());
            const QRect drawn = bar.itemRect(action);
            QCOMPARE(item->rect(), QRect(bar.mapToGlobal(drawn.topLeft()), drawn.size()));
            QCOMPARE(menuBar->indexOfChild(item), i);
        }
    }

    void buttonFaceShowsItsColour_data()
    {
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<bool>("focused");
        for (qreal scale : {1.0, 2.0}) {
            QTest::addRow("raised at %g", scale) << scale << false << false;
            QTest::addRow("pressed at %g", scale) << scale << true << false;
            QTest::addRow("focused at %g", scale) << scale << false << true;
        }
    }

    void buttonFaceShowsItsColour()
    {
        QFETCH(qreal, scale);
        QFETCH(bool, pressed);
        QFETCH(bool, focused);
        // The numbers window's "Main Page", without its caption, so that only the face shows.
        runtime::ButtonDesign design = reference::kNumbersDesign.buttons.front();
        design.caption = {};
        QWidget window;
        window.resize(200, 100);
        runtime::CommandButton button(design, &window);
        if (focused) {
            window.show();
            QVERIFY(waitForKeyboardFocus(&window));
            button.setFocus();
            QVERIFY(button.hasFocus());
        }
        button.setDown(pressed);

        QPixmap pixmap(button.size() * scale);
        pixmap.setDevicePixelRatio(scale);
        button.render(&pixmap);
        const QImage face = pixmap.toImage();
        const QRgb colour = qRgb(0xFF, 0xC0, 0xC0);
        QCOMPARE(QColor(face.pixel(face.rect().center())), QColor(colour));
        // The edge: light above and left of a raised face, dark below and right; pressed the
        // other way round.
        const QPoint bottomRight = face.rect().bottomRight();
        QCOMPARE(qGray(face.pixel(0, 0)) > qGray(colour), !pressed);
        QCOMPARE(qGray(face.pixel(bottomRight)) > qGray(colour), pressed);
        // Inside the edge, only the focus rectangle differs from the face.
        const QRect inside =
            face.rect().adjusted(int(2 * scale), int(2 * scale), -int(2 * scale), -int(2 * scale));
        bool marked = false;
        for (int y = inside.top(); y <= inside.bottom() && !marked; ++y) {
            for (int x = inside.left(); x <= inside.right() && !marked; ++x)
                marked = face.pixel(x, y) != colour;
        }
        QCOMPARE(marked, focused);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
