// Keys in the paged windows and the main window. No window has a default or
// a cancel button: Escape closes nothing, and Enter, Return and Space press
// the button that has the focus and no other.
#include "app/program.h"
#include "program_windows.h"

using namespace dilmora;
using namespace testing;

class TestKeys : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<app::MainWindow> m_main;

    runtime::Form& formOf(const WindowInfo& info) { return testing::formOf(*m_main, info); }

private slots:
    void initTestCase() { app::configureProgram(); }

    void init() { QVERIFY(openMainWindow(m_main)); }

    void cleanup() { discardMainWindow(m_main); }

    void keyInAPagedWindow_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("tabs"); // Tab presses from "Main Page", which has the focus at first
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("page"); // the page shown afterwards; 0: the grid as it was
        const int none = Qt::NoModifier;
        for (const WindowInfo& info : programWindows()) {
            if (!info.paged())
                continue;
            const int last = int(info.pageButtons.size());
            const QByteArray caption = info.pageButtons.back().caption.toUtf8();
            const char* lastCaption = caption.data();
            const QByteArray row = info.row.toUtf8();
            QTest::addRow("%s: Escape on Main Page keeps the window", row.data())
                << info.form << 0 << int(Qt::Key_Escape) << none << false << 0;
            QTest::addRow("%s: Escape on %s keeps the window as it was", row.data(), lastCaption)
                << info.form << last << int(Qt::Key_Escape) << none << false << 0;
            QTest::addRow("%s: Return on Main Page closes the window", row.data())
                << info.form << 0 << int(Qt::Key_Return) << none << true << 0;
            QTest::addRow("%s: Enter on Main Page closes the window", row.data())
                << info.form << 0 << int(Qt::Key_Enter) << none << true << 0;
            QTest::addRow("%s: Space on Main Page closes the window", row.data())
                << info.form << 0 << int(Qt::Key_Space) << none << true << 0;
            QTest::addRow("%s: Return on %s shows its page", row.data(), lastCaption)
                << info.form << last << int(Qt::Key_Return) << none << false << last;
            QTest::addRow("%s: keypad Enter on the second page's button shows page 2", row.data())
                << info.form << 2 << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false << 2;
            QTest::addRow("%s: Space on %s shows its page", row.data(), lastCaption)
                << info.form << last << int(Qt::Key_Space) << none << false << last;
            QTest::addRow("%s: Tab wraps round to Main Page, Return closes", row.data())
                << info.form << last + 1 << int(Qt::Key_Return) << none << true << 0;
        }
    }

    void keyInAPagedWindow()
    {
        QFETCH(QString, form);
        QFETCH(int, tabs);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, closes);
        QFETCH(int, page);
        const WindowInfo& info = windowInfo(form);
        bool closed = false;
        const bool opened = whileOpenFromMenu(*m_main, info, [&](QWidget* modal) {
            QVERIFY(waitForKeyboardFocus(modal));
            for (QPushButton* button : modal->findChildren<QPushButton*>())
                QVERIFY2(!button->isDefault() && !button->autoDefault(),
                         qPrintable(button->objectName()));
            for (int i = 0; i < tabs; ++i)
                testing::key(modal, Qt::Key_Tab);
            const QString focus = tabs % (info.pageButtons.size() + 1) == 0
                                      ? info.closer
                                      : info.pageButtons.at(std::size_t(tabs - 1)).name;
            QVERIFY(QApplication::focusWidget());
            QCOMPARE(QApplication::focusWidget()->objectName(), focus);

            const QStringList before = gridCaptions(formOf(info), info);
            QTest::keyClick(modal->windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            // Return and Enter click after a short animation; wait past it.
            closed = QTest::qWaitFor([&] { return !formOf(info).isLoaded(); }, closes ? 1000 : 150);
            if (!closed)
                QCOMPARE(gridCaptions(formOf(info), info),
                         page ? info.pages.at(std::size_t(page - 1)) : before);
        });
        QVERIFY(opened);
        QCOMPARE(closed, closes);
    }

    void keyInTheMainWindowOpensNothing_data() { addButtonKeyRows(); }

    void keyInTheMainWindowOpensNothing()
    {
        QFETCH(int, key);
        QWidget* window = m_main->form().window();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        // Should a key open a window, it is closed again so that the test goes on.
        QTimer closer;
        closer.setSingleShot(true);
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        closer.start(300);
        testing::key(window, Qt::Key(key));
        QTest::qWait(150);
        for (const WindowInfo& info : programWindows())
            QVERIFY2(slotOf(*m_main, info).isEmpty(), qPrintable(info.form + " was opened"));
        QVERIFY(window->isVisible());
    }
};

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
