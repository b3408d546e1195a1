// Finding by typing, with real key events on real windows: the field opens
// on a printable key and takes every key after it, each key shows the first
// row found and marks it, Down and Up go on across pages, Return keeps the
// mark and gives the focus back, Escape removes it, Ctrl+C copies the row,
// and the main window lists the rows of every window and opens the one chosen.
#include "program_windows.h"
#include "runtime/find_bar.h"
#include "runtime/form_window.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QCompleter>
#include <QLineEdit>

using namespace dilmora;
using namespace testing;

namespace {

/// Types `text` into the window that has the keys, a key a character.
void type(QWidget* window, const QString& text)
{
    for (const QChar c : text) {
        const auto key = c.isLetterOrNumber() && c.unicode() < 0x80 ? Qt::Key(c.toUpper().unicode())
                         : c == u' '                                ? Qt::Key_Space
                                                                    : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, window->windowHandle(), key, QString(c), Qt::NoModifier);
    }
}

void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(window->windowHandle(), key, modifiers);
}

runtime::FormWindow* formWindow(QWidget* window)
{
    return dynamic_cast<runtime::FormWindow*>(window);
}

/// Which page of `info` the grid shows, 0 for none.
int pageShown(runtime::Form& form, const WindowInfo& info)
{
    const QStringList texts = gridCaptions(form, info);
    for (std::size_t p = 0; p < info.pages.size(); ++p) {
        if (texts == info.pages[p])
            return int(p) + 1;
    }
    return 0;
}

/// The marked row of a window's grid and the texts of its cells.
QString marked(QWidget* window)
{
    const runtime::GridMark mark = formWindow(window)->mark();
    if (!mark.isSet())
        return QStringLiteral("none");
    QStringList texts = formWindow(window)->markedTexts();
    for (int c = mark.firstColumn; c < mark.firstColumn + mark.columns; ++c) {
        QLabel* cell = formWindow(window)->gridCell(mark.row, c);
        if (!cell || cell->backgroundRole() != QPalette::Highlight)
            return QStringLiteral("not drawn highlighted");
    }
    return QStringLiteral("row %1: ").arg(mark.row + 1) + texts.join(QLatin1Char('|'));
}

} // namespace

class TestFind : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<app::MainWindow> m_main;

    /// Opens the window from the menu and runs `inside` with it, active.
    void inWindow(const QString& form, const std::function<void(QWidget*, runtime::Form&)>& inside)
    {
        const WindowInfo& info = windowInfo(form);
        QVERIFY(whileOpenFromMenu(*m_main, info, [&](QWidget* modal) {
            QVERIFY(waitForKeyboardFocus(modal));
            inside(modal, formOf(*m_main, info));
        }));
    }

private slots:
    void initTestCase() { app::configureProgram(); }
    void init() { QVERIFY(openMainWindow(m_main)); }
    void cleanup() { discardMainWindow(m_main); }

    void typingFindsAcrossPages()
    {
        const WindowInfo& info = windowInfo("Form3");
        inWindow("Form3", [&](QWidget* modal, runtime::Form& form) {
            QVERIFY(!formWindow(modal)->findBar());
            type(modal, "dr");
            runtime::FindBar* bar = formWindow(modal)->findBar();
            QVERIFY(bar && bar->isVisible() && bar->field()->hasFocus());
            QCOMPARE(bar->field()->text(), QString("dr"));
            QCOMPARE(pageShown(form, info), 1);
            QCOMPARE(marked(modal), QString("row 32: draw|çizmek|drew|drawn"));
            QCOMPARE(bar->status(), QString("1 of 3"));
            // Down goes on to page 2; Up from the first wraps to the last.
            press(modal, Qt::Key_Down);
            QCOMPARE(pageShown(form, info), 2);
            QCOMPARE(marked(modal), QString("row 1: drink|içmek|drank|drunk"));
            press(modal, Qt::Key_F3, Qt::ShiftModifier);
            press(modal, Qt::Key_Up);
            QCOMPARE(marked(modal), QString("row 2: drive|sürmek|drove|driven"));
            // Space goes into the field and presses no button.
            type(modal, " ");
            QVERIFY(form.isLoaded());
            QCOMPARE(bar->field()->text(), QString("dr "));
            QCOMPARE(bar->status(), QString("No match"));
            QCOMPARE(pageShown(form, info), 2);
            QCOMPARE(marked(modal), QString("none"));
            press(modal, Qt::Key_Backspace);
            QCOMPARE(marked(modal), QString("row 32: draw|çizmek|drew|drawn"));
        });
    }

    void returnKeepsTheMarkAndEscapeRemovesIt()
    {
        const WindowInfo& info = windowInfo("Form6");
        inWindow("Form6", [&](QWidget* modal, runtime::Form& form) {
            QWidget* focus = QApplication::focusWidget();
            type(modal, "look af");
            QCOMPARE(pageShown(form, info), 6);
            press(modal, Qt::Key_Return);
            QVERIFY(formWindow(modal)->findBar()->isHidden());
            QCOMPARE(QApplication::focusWidget(), focus);
            QCOMPARE(marked(modal),
                     QString("row 5: look after|(bir kimseye) bakmak, hizmet vermek"));
            // Ctrl+C with the field closed copies the marked row.
            QGuiApplication::clipboard()->clear();
            press(modal, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QGuiApplication::clipboard()->text(),
                     QString("look after\t(bir kimseye) bakmak, hizmet vermek"));
            // A page turn takes the mark with it.
            testing::click(modal->findChild<QPushButton*>("Command2"));
            QCOMPARE(pageShown(form, info), 1);
            QCOMPARE(marked(modal), QString("none"));
            // Ctrl+F opens the field empty; Escape removes the mark, the page stays.
            press(modal, Qt::Key_F, Qt::ControlModifier);
            QVERIFY(formWindow(modal)->findBar()->field()->text().isEmpty());
            type(modal, "ask out");
            QCOMPARE(marked(modal), QString("row 5: ask (someone) out|davet etmek"));
            press(modal, Qt::Key_Escape);
            QCOMPARE(marked(modal), QString("none"));
            QCOMPARE(pageShown(form, info), 1);
            QVERIFY(form.isLoaded());
        });
    }

    void copyWhileFinding()
    {
        inWindow("Form3", [&](QWidget* modal, runtime::Form&) {
            type(modal, "icmek");
            press(modal, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QGuiApplication::clipboard()->text(), QString("drink\tiçmek\tdrank\tdrunk"));
            QVERIFY(formWindow(modal)->findBar()->isVisible());
        });
    }

    void numbersMarkTheirCell()
    {
        inWindow("Form5", [&](QWidget* modal, runtime::Form&) {
            type(modal, "21");
            QCOMPARE(marked(modal), QString("row 22: 21 twentyone"));
            press(modal, Qt::Key_Down);
            QCOMPARE(marked(modal), QString("row 21: 21st twentyfirst"));
        });
    }

    void pastedTextIsCutShort()
    {
        inWindow("Form4", [&](QWidget* modal, runtime::Form& form) {
            const QStringList before = gridCaptions(form, windowInfo("Form4"));
            type(modal, "x");
            QLineEdit* field = formWindow(modal)->findBar()->field();
            QGuiApplication::clipboard()->setText(QString(1 << 20, QChar(u'ก')));
            press(modal, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(field->text().size(), runtime::FindBar::kMaxLength);
            QCOMPARE(formWindow(modal)->findBar()->status(), QString("No match"));
            QCOMPARE(gridCaptions(form, windowInfo("Form4")), before);
        });
    }

    void theMainWindowListsAndOpens()
    {
        QWidget* main = m_main->form().window();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        type(main, "look after");
        runtime::FindBar* bar = formWindow(main)->findBar();
        QVERIFY(bar && bar->isVisible());
        QCompleter* list = bar->field()->completer() ? nullptr : bar->findChild<QCompleter*>();
        QVERIFY(list && list->popup()->isVisible());
        QCOMPARE(list->popup()->currentIndex().data().toString(),
                 QString("look after — Phrasal Verbs"));

        const WindowInfo& info = windowInfo("Form6");
        QString seen;
        QTimer::singleShot(300, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            seen = QStringLiteral("%1, page %2, %3")
                       .arg(modal->objectName())
                       .arg(pageShown(formOf(*m_main, info), info))
                       .arg(marked(modal));
            modal->close();
        });
        press(main, Qt::Key_Return);
        QTRY_VERIFY(!seen.isEmpty());
        QCOMPARE(seen, QString("Form6, page 6, row 5: look after|(bir kimseye) bakmak, hizmet "
                               "vermek"));
        QVERIFY(bar->isHidden());
    }
};

QTEST_MAIN(TestFind)
#include "tst_find.moc"
