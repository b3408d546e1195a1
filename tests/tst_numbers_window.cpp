// Shows that the numbers window loads its fixed table of 88 numbered cells under two header cells,
// lays them out without overlaps, lets only "Main Page" take the focus and closes through it.
#include "program_windows.h"
#include "reference/numbers_window.h"

#include <QCloseEvent>
#include <QImage>
#include <QSet>

#include <array>
#include <memory>

using namespace dilmora;
using namespace testing;

namespace {

struct Cell {
    int label;
    const char* text;
};

// The whole table as the window shows it, row by row, columns 1 to 4.
constexpr std::array<std::array<Cell, 4>, 22> kTable{{
    {{{5, " 0 zero"}, {2, " 22 twentytwo"}, {47, " 1st first"}, {4, " 23rd twenty third"}}},
    {{{6, " 1 one"}, {27, " 23 twentythree"}, {48, " 2nd second"}, {69, " 24th twentyfourth"}}},
    {{{7, " 2 two"}, {28, " 24 twentyfour"}, {49, " 3rd third"}, {70, " 25th twentyfifth"}}},
    {{{8, " 3 three"}, {29, " 25 twentyfive "}, {50, " 4th fourth"}, {71, " 26th twentysixth"}}},
    {{{9, " 4 four"}, {30, " 26 twentysix"}, {51, " 5th fifth"}, {72, " 27th tw.seventh"}}},
    {{{10, " 5 five"}, {31, " 27 twentyseven"}, {52, " 6th sixth"}, {73, " 28th twentyeighth"}}},
    {{{11, " 6 six"}, {32, " 28 twentyeight"}, {53, " 7th seventh"}, {74, " 29th twentyninth"}}},
    {{{12, " 7 seven"}, {33, " 29 twentynine"}, {54, " 8th eighth"}, {75, " 30th thirtieth"}}},
    {{{13, " 8 eight"}, {34, " 30 thirty"}, {55, " 9th ninth"}, {76, " 40th fortieth "}}},
    {{{14, " 9 nine"}, {35, " 40 forty"}, {56, " 10th tenth"}, {77, " 50th fiftieth"}}},
    {{{15, " 10 ten"}, {36, " 50 fifty"}, {57, " 11th eleventh"}, {78, " 60th sixtieth"}}},
    {{{16, " 11 eleven"}, {37, " 60 sixty"}, {58, " 12th twelfth"}, {79, " 70th sevetieth"}}},
    {{{17, " 12 twelve"}, {38, " 70 seventy"}, {59, " 13th thirteenth"}, {80, " 80th eightieth"}}},
    {{{18, " 13 thirteen"}, {39, " 80 eighty"}, {60, " 14th fourteenth"}, {81, " 90th ninetieth"}}},
    {{{19, " 14 fourteen"},
      {40, " 90 ninety"},
      {61, " 15th fifteenth"},
      {82, " 100th one hun.th"}}},
    {{{20, " 15 fifteen"},
      {41, " 100 one hundred"},
      {62, " 16th sixteenth"},
      {83, " 200th two hun.th"}}},
    {{{21, " 16 sixteen"},
      {42, " 200 two hundred"},
      {63, " 17th seventeenth"},
      {84, " 300th three hun.th"}}},
    {{{22, " 17 seventeen"},
      {43, " 1.000 one thousand"},
      {64, " 18th eighteenth"},
      {85, " 400th four hun.th"}}},
    {{{23, " 18 eighteen"},
      {44, " 10.000 ten thousand"},
      {65, " 19th nineteenth"},
      {86, " 500th five hun.th"}}},
    {{{24, " 19 nineteen"},
      {45, " 100.000 one hun.tho."},
      {66, " 20th twentieth"},
      {87, " 600th six hun.th"}}},
    {{{25, " 20 twenty"},
      {46, " 1.000.000 one million"},
      {67, " 21st twentyfirst"},
      {88, " 700th sev.hun.th"}}},
    {{{26, " 21 twentyone"},
      {89, " 2.000.000 two million"},
      {68, " 22nd tw.second"},
      {90, " 800th eig.hun.th"}}},
}};

// Left and width of the four columns, in twips.
constexpr std::array<std::pair<int, int>, 4> kColumns{
    {{120, 1335}, {1440, 1695}, {3240, 1455}, {4680, 1455}}};

// Whether every outermost pixel of the widget as drawn is `colour`.
bool outlineIs(QWidget* widget, QColor colour)
{
    const QImage image = widget->grab().toImage();
    const QRgb expected = colour.rgb();
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, 0) != expected || image.pixel(x, image.height() - 1) != expected)
            return false;
    }
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixel(0, y) != expected || image.pixel(image.width() - 1, y) != expected)
            return false;
    }
    return true;
}

} // namespace

class TestNumbersWindow : public WindowTest {
    Q_OBJECT

public:
    TestNumbersWindow() : WindowTest(QStringLiteral("Form5"), reference::createNumbersWindow) {}

private:
    runtime::Form& numbersForm() { return m_main->numbers().form(); }

private slots:
    void initTestCase() { loadWindow(); }
    void cleanupTestCase() { unloadWindow(); }
    void cleanup() { discardMainWindow(m_main); }

    void windowHasItsLook()
    {
        verifyFixedWindow(window(), QStringLiteral("Form5"), QStringLiteral("Numbers"),
                          QSize(417, 425));
    }

    void controlsAreNinetyLabelsAndOneButton()
    {
        QSet<QString> labels;
        for (QLabel* each : window()->findChildren<QLabel*>()) {
            QVERIFY2(each->pixmap().isNull(), qPrintable(each->objectName()));
            labels.insert(each->objectName());
        }
        QSet<QString> expected;
        for (int number = 1; number <= 90; ++number)
            expected.insert(labelName(number));
        QCOMPARE(labels, expected);

        const QList<QAbstractButton*> buttons = window()->findChildren<QAbstractButton*>();
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(buttons.first()->objectName(), QStringLiteral("Command1"));
        QCOMPARE(buttons.first()->text(), QStringLiteral("Main Page"));
    }

    void gridCells_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        for (int row = 1; row <= 22; ++row) {
            for (int column = 1; column <= 4; ++column) {
                const Cell& cell = kTable[std::size_t(row - 1)][std::size_t(column - 1)];
                const QString text = QString::fromUtf8(cell.text);
                QTest::addRow("Label%d %s", cell.label, qPrintable(text.trimmed()))
                    << labelName(cell.label) << row << column << text;
            }
        }
    }

    void gridCells()
    {
        QFETCH(QString, name);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QLabel* cell = label(name);
        QVERIFY(cell);
        QCOMPARE(cell->text(), text);
        const auto [left, width] = kColumns[std::size_t(column - 1)];
        QCOMPARE(cell->geometry(), pixelsOf(left, 480 + 240 * (row - 1), width, 255));
        QVERIFY(cell->autoFillBackground());
        QCOMPARE(cell->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xFF));
        QCOMPARE(cell->frameShape(), QFrame::Box);
        QCOMPARE(cell->frameShadow(), QFrame::Plain);
        QCOMPARE(cell->frameWidth(), 1);
        QVERIFY(outlineIs(cell, cell->palette().color(QPalette::WindowText)));
        // One line, cut at the cell's edge rather than wrapped or shortened.
        QVERIFY(!cell->wordWrap());
        QVERIFY(cell->alignment() & Qt::AlignLeft);
        const QFontMetrics metrics(cell->font());
        QVERIFY2(metrics.horizontalAdvance(text) <= cell->contentsRect().width(),
                 qPrintable(QString("%1 pixels wide in %2")
                                .arg(metrics.horizontalAdvance(text))
                                .arg(cell->contentsRect().width())));
        QVERIFY(cell->toolTip().isEmpty());
        QCOMPARE(cell->focusPolicy(), Qt::NoFocus);

        const runtime::LabelDesign* design = labelDesign(reference::kNumbersDesign, name);
        QVERIFY(design);
        QCOMPARE(design->tabIndex, name.mid(5).toInt());
    }

    void headerCells_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("cardinals") << "Label1" << 1 << " Normal Numbers"
                                   << "Normal Sayılar";
        QTest::newRow("ordinals") << "Label3" << 3 << " Numbers (st,nd,th)"
                                  << "-nci: birinci (1.)";
    }

    void headerCells()
    {
        QFETCH(QString, name);
        QFETCH(int, column);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        QLabel* cell = label(name);
        QVERIFY(cell);
        QCOMPARE(cell->text(), caption);
        QCOMPARE(cell->toolTip(), toolTip);
        const auto [left, width] = kColumns[std::size_t(column - 1)];
        QCOMPARE(cell->geometry(), pixelsOf(left, 240, width, 255));
        QVERIFY(cell->autoFillBackground());
        QCOMPARE(cell->palette().color(QPalette::Window), QColor(0xFF, 0xC0, 0xC0));
        QCOMPARE(cell->frameShape(), QFrame::Box);
        QCOMPARE(cell->frameShadow(), QFrame::Plain);
        QCOMPARE(cell->frameWidth(), 1);
        QCOMPARE(cell->focusPolicy(), Qt::NoFocus);
        QCOMPARE(labelDesign(reference::kNumbersDesign, name)->tabIndex, name.mid(5).toInt());
    }

    void onlyTheHeaderCellsHaveToolTips()
    {
        QStringList withToolTip;
        for (QWidget* each : window()->findChildren<QWidget*>()) {
            if (!each->toolTip().isEmpty())
                withToolTip << each->objectName();
        }
        withToolTip.sort();
        QCOMPARE(withToolTip, QStringList({"Label1", "Label3"}));
        QVERIFY(window()->toolTip().isEmpty());
    }

    void headerRowIsEmptyAboveColumnsTwoAndFour()
    {
        // No control but the two header cells reaches above the first grid row.
        for (QWidget* each : window()->findChildren<QWidget*>()) {
            if (each->objectName() == "Label1" || each->objectName() == "Label3"
                || each->objectName() == "clientArea")
                continue;
            QVERIFY2(each->y() >= 480 / 15, qPrintable(each->objectName()));
        }
        // And the window background shows there.
        const QImage image = window()->grab().toImage();
        const QRgb background = qRgb(0xFF, 0xE0, 0xC0);
        for (int column : {2, 4}) {
            const QRect header = pixelsOf(kColumns[std::size_t(column - 1)].first, 240,
                                          kColumns[std::size_t(column - 1)].second, 240);
            for (int y = header.top(); y <= header.bottom(); ++y) {
                for (int x = header.left() + 1; x < header.right(); ++x)
                    QVERIFY2(image.pixel(x, y) == background,
                             qPrintable(QString("column %1 at %2,%3").arg(column).arg(x).arg(y)));
            }
        }
    }

    void mainPageButtonHasItsDesign()
    {
        auto* button = window()->findChild<QPushButton*>(QStringLiteral("Command1"));
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("Main Page"));
        QCOMPARE(button->geometry(), pixelsOf(120, 5880, 1335, 375));
        QCOMPARE(button->palette().color(QPalette::Button), QColor(0xFF, 0xC0, 0xC0));
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
        QVERIFY(button->toolTip().isEmpty());
        QVERIFY(button->shortcut().isEmpty());
        QCOMPARE(reference::kNumbersDesign.buttons.size(), std::size_t(1));
        QCOMPARE(reference::kNumbersDesign.buttons[0].tabIndex, 0);
    }

    void onlyMainPageTakesTheFocus()
    {
        QStringList focusable;
        QWidgetList widgets = window()->findChildren<QWidget*>();
        widgets << window();
        for (QWidget* each : widgets) {
            if (each->focusPolicy() != Qt::NoFocus)
                focusable << each->objectName();
        }
        QCOMPARE(focusable, QStringList{"Command1"});
    }

    void cellsShareOnlyTheirBorderLines()
    {
        const QList<QLabel*> labels = window()->findChildren<QLabel*>();
        QCOMPARE(labels.size(), 90);
        int rowLines = 0;    // one cell above another
        int columnLines = 0; // one cell beside another
        int corners = 0;     // diagonal neighbours meeting in one pixel
        for (qsizetype i = 0; i < labels.size(); ++i) {
            for (qsizetype j = i + 1; j < labels.size(); ++j) {
                const QRect common = labels[i]->geometry() & labels[j]->geometry();
                if (common.isEmpty())
                    continue;
                QVERIFY2(common.width() <= 1 || common.height() <= 1,
                         qPrintable(QString("%1 and %2 overlap by %3 x %4 pixels")
                                        .arg(labels[i]->objectName(), labels[j]->objectName())
                                        .arg(common.width())
                                        .arg(common.height())));
                if (common.size() == QSize(1, 1))
                    ++corners;
                else if (common.height() == 1)
                    ++rowLines;
                else
                    ++columnLines;
            }
        }
        // Columns 1 and 3 stack 23 cells with their headers, columns 2 and 4 stack 22.
        QCOMPARE(rowLines, 22 + 21 + 22 + 21);
        // Columns 2 and 4 lean on the right border of their left neighbours in all 22 rows ...
        QCOMPARE(columnLines, 2 * 22);
        // ... and meet the cells diagonally above and below theirs in one pixel, the header
        // cell included.
        QCOMPARE(corners, 2 * (2 * 21 + 1));
        auto* button = window()->findChild<QPushButton*>(QStringLiteral("Command1"));
        for (QLabel* each : labels)
            QVERIFY2(!each->geometry().intersects(button->geometry()),
                     qPrintable(each->objectName()));
    }

    void textWiderThanItsCellIsCutAtItsEdge_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("2.000.000 two million") << "Label89"
                                               << " 2.000.000 two million";
        QTest::newRow("1.000.000 one million") << "Label46"
                                               << " 1.000.000 one million";
        QTest::newRow("300th three hun.th") << "Label84"
                                            << " 300th three hun.th";
        QTest::newRow("header Numbers (st,nd,th)") << "Label3"
                                                   << " Numbers (st,nd,th)";
    }

    void textWiderThanItsCellIsCutAtItsEdge()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        // At the window's own font every text fits (see gridCells); a larger font, as another
        // platform's dialog font may be, makes these run past the right edge of their cells.
        auto form = reference::createNumbersWindow();
        QVERIFY(form->load() == runtime::Status::Ok);
        QWidget* window = form->window();
        auto* cell = window->findChild<QLabel*>(name);
        QVERIFY(cell);
        const QRect place = cell->geometry();
        QFont larger = cell->font();
        larger.setPointSize(12);
        cell->setFont(larger);
        QVERIFY(QFontMetrics(larger).horizontalAdvance(text) > cell->contentsRect().width());

        // The cell keeps its size, its whole text and its one line.
        QCOMPARE(cell->geometry(), place);
        QCOMPARE(cell->text(), text);
        QVERIFY(!cell->wordWrap());

        const QImage image = window->grab().toImage();
        const QRect frame(cell->mapTo(window, QPoint(0, 0)), place.size());
        const QRgb cellColour = cell->palette().color(QPalette::Window).rgb();
        const QRgb borderColour = cell->palette().color(QPalette::WindowText).rgb();
        const QRgb windowColour = qRgb(0xFF, 0xE0, 0xC0);
        // Drawn as far as the cell allows: ink in the last pixels inside the right border (a
        // blank between two words may fall just there) ...
        bool inkAtTheEdge = false;
        for (int x = frame.right() - 8; x < frame.right(); ++x) {
            for (int y = frame.top() + 1; y < frame.bottom(); ++y)
                inkAtTheEdge = inkAtTheEdge || image.pixel(x, y) != cellColour;
        }
        QVERIFY(inkAtTheEdge);
        // ... the border line itself intact ...
        for (int y = frame.top(); y <= frame.bottom(); ++y)
            QVERIFY2(image.pixel(frame.right(), y) == borderColour, qPrintable(QString::number(y)));
        // ... and nothing beyond it: the window background to its right is untouched.
        for (int x = frame.right() + 1; x <= frame.right() + 6; ++x) {
            for (int y = frame.top() + 1; y < frame.bottom(); ++y)
                QVERIFY2(image.pixel(x, y) == windowColour,
                         qPrintable(QString("%1,%2").arg(x).arg(y)));
        }
    }

    void mainPageClosesAndReopensWithTheSameTexts()
    {
        openMainWindow();
        QHash<QString, QString> first;
        reopenWithTheSameTexts(first);
        QCOMPARE(first.size(), 90);
        QCOMPARE(first.value("Label89"), QStringLiteral(" 2.000.000 two million"));
    }

    void titleBarCloseUnloadsTheWindow()
    {
        openMainWindow();
        withWindow([&](QWidget* modal) {
            QCloseEvent close;
            QApplication::sendEvent(modal->windowHandle(), &close);
            QVERIFY(!numbersForm().isLoaded());
        });
        QVERIFY(!QApplication::activeModalWidget());
    }

    void mainPageHasTheFocusOnOpening()
    {
        openMainWindow();
        withWindow([&](QWidget* modal) {
            QVERIFY(waitForKeyboardFocus(modal));
            QVERIFY(QApplication::focusWidget());
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
            // Tab has nowhere else to go.
            key(modal, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
            click(modal->findChild<QWidget*>(QStringLiteral("Command1")));
        });
        QVERIFY(!numbersForm().isLoaded());
    }

    void keysOnMainPage_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Escape keeps the window")
            << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
        QTest::newRow("Return presses Main Page")
            << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
        QTest::newRow("Enter presses Main Page")
            << int(Qt::Key_Enter) << int(Qt::NoModifier) << true;
        QTest::newRow("keypad Enter presses Main Page")
            << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
        QTest::newRow("Space presses Main Page")
            << int(Qt::Key_Space) << int(Qt::NoModifier) << true;
    }

    void keysOnMainPage()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, closes);
        openMainWindow();
        bool stillOpen = false;
        bool closed = false;
        withWindow([&](QWidget* modal) {
            QVERIFY(waitForKeyboardFocus(modal));
            QTest::keyClick(modal->windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            // A pressed button clicks after a short animation.
            closed = QTest::qWaitFor([&] { return !numbersForm().isLoaded(); }, 500);
            stillOpen = numbersForm().isLoaded() && modal->isVisible();
            if (stillOpen)
                click(modal->findChild<QWidget*>(QStringLiteral("Command1")));
        });
        QCOMPARE(closed, closes);
        QCOMPARE(stillOpen, !closes);
        QVERIFY(!numbersForm().isLoaded());
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestNumbersWindow)
#include "tst_numbers_window.moc"
