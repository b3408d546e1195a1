// Shows what assistive technology learns through Qt's accessibility interfaces (window roles,
// names and owner, picture names, wrapped menu items), and the button faces.
#include "about/about_window.h"
#include "program_windows.h"
#include "reference/numbers_window.h"
#include "runtime/form_window.h"

#include <QAccessible>
#include <QScreen>

using namespace dilmora;
using namespace testing;

class TestAccessibility : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<app::MainWindow> m_main;

    static QAccessibleInterface* accessibleOf(QObject* object)
    {
        return QAccessible::queryAccessibleInterface(object);
    }

private slots:
    void initTestCase() { runtime::configureApplication(); }
    void init() { QVERIFY(openMainWindow(m_main)); }
    void cleanup() { discardMainWindow(m_main); }

    void windowIsADialogOwnedByTheMainFrame_data()
    {
        QTest::addColumn<QString>("form");
        for (const WindowInfo& info : programWindows())
            QTest::newRow(qPrintable(info.row)) << info.form;
    }

    void windowIsADialogOwnedByTheMainFrame()
    {
        QFETCH(QString, form);
        QWidget* main = m_main->form().window();
        QCOMPARE(accessibleOf(main)->role(), QAccessible::Window);
        QCOMPARE(accessibleOf(main)->text(QAccessible::Name), productName());
        const WindowInfo& info = windowInfo(form);
        QVERIFY(whileOpenFromMenu(*m_main, info, [&](QWidget* modal) {
            QCOMPARE(accessibleOf(modal)->role(), QAccessible::Dialog);
            QCOMPARE(accessibleOf(modal)->text(QAccessible::Name), info.title);
            QCOMPARE(modal->windowHandle()->transientParent(), main->windowHandle());
            // Centred on the main window's screen, up to the frame that the window system adds.
            const QPoint centre = main->screen()->availableGeometry().center();
            QVERIFY((modal->geometry().center() - centre).manhattanLength() <= 4);
        }));
    }

    void picturesSayWhatTheyShow()
    {
        // The author credit names the author as the About window greets them.
        const QString greeting = fromView(labelDesign(about::kAboutDesign, "Label1")->caption);
        const QStringList lettering{"Welcome to " + productName(),
                                    "This program is made for English students",
                                    "Programmer: " + greeting.section("name's ", 1)};
        for (int i = 0; i < lettering.size(); ++i) {
            auto* picture =
                m_main->form().window()->findChild<QLabel*>(QStringLiteral("Image%1").arg(i + 1));
            QCOMPARE(accessibleOf(picture)->role(), QAccessible::Graphic);
            QCOMPARE(accessibleOf(picture)->text(QAccessible::Name), lettering.at(i));
        }
        const std::unique_ptr<runtime::Form> aboutWindow = about::createAboutWindow();
        QVERIFY(aboutWindow->load() == runtime::Status::Ok);
        auto* portrait = aboutWindow->window()->findChild<QLabel*>(QStringLiteral("Image1"));
        QVERIFY(!accessibleOf(portrait)->text(QAccessible::Description).isEmpty());
    }

    void wrappedMenuItemsAreWhereTheyAreDrawn()
    {
        // A window narrower than the items need: they wrap onto further rows.
        QWidget window;
        window.setFixedSize(200, 100);
        runtime::WrappingMenuBar bar(200, &window);
        for (const char* caption : {"Irregular Verbs", "Phrasal Verbs", "Particles", "About"})
            bar.addItem(QString(), QString::fromLatin1(caption));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(bar.itemRect(bar.actions().last()).top()
                > bar.itemRect(bar.actions().first()).top());
        QAccessibleInterface* menuBar = accessibleOf(&bar);
        QCOMPARE(menuBar->childCount(), 4);
        for (int i = 0; i < menuBar->childCount(); ++i) {
            const QRect drawn = bar.itemRect(bar.actions().at(i));
            QCOMPARE(menuBar->child(i)->role(), QAccessible::MenuItem);
            QCOMPARE(menuBar->child(i)->rect(),
                     QRect(bar.mapToGlobal(drawn.topLeft()), drawn.size()));
        }
    }

    void buttonFaceShowsItsColour_data()
    {
        QTest::addColumn<qreal>("scale");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("200 %") << 2.0;
    }

    void buttonFaceShowsItsColour()
    {
        QFETCH(qreal, scale);
        // The numbers window's "Main Page" without its caption, so that only the face shows.
        runtime::ButtonDesign design = reference::kNumbersDesign.buttons.front();
        design.caption = {};
        QWidget window;
        runtime::CommandButton button(design, &window);
        const auto face = [&] {
            QPixmap pixmap(button.size() * scale);
            pixmap.setDevicePixelRatio(scale);
            button.render(&pixmap);
            return pixmap.toImage();
        };
        const QImage raised = face();
        button.setDown(true);
        const QImage pressed = face();
        button.setDown(false);
        window.show();
        QVERIFY(waitForKeyboardFocus(&window));
        button.setFocus();
        const QImage focused = face();

        const QRgb colour = qRgb(0xFF, 0xC0, 0xC0);
        for (const QImage& image : {raised, pressed, focused})
            QCOMPARE(QColor(image.pixel(image.rect().center())), QColor(colour));
        // The edge is lighter than the face above and left while raised, darker while pressed.
        QVERIFY(qGray(raised.pixel(0, 0)) > qGray(colour));
        QVERIFY(qGray(pressed.pixel(0, 0)) < qGray(colour));
        // The focused button's face is marked.
        QVERIFY(focused != raised);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
