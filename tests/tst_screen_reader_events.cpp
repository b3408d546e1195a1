// What a screen reader is told while Dilmora runs, with Qt's accessibility
// active and every event recorded as the platform's bridge gets it: the page
// a page turn shows, the focus after a window closes, the About window's text
// and its close label, a header for every numbers column, and the language of
// the texts.
#include "about/about_window.h"
#include "program_windows.h"
#include "reference/numbers_window.h"
#include "runtime/form_window.h"

#include <QAccessible>

#include <algorithm>

using namespace dilmora;
using namespace testing;

namespace {

/// One event as the platform's bridge got it, with what the object said then.
struct Heard {
    QAccessible::Event type;
    QObject* object;
    QAccessible::Role role;
    QString name;
    QString value; ///< The text a value change carries.
};

std::vector<Heard> g_heard;

void record(QAccessibleEvent* event)
{
    QAccessibleInterface* face = event->accessibleInterface();
    QString value;
    if (event->type() == QAccessible::ValueChanged)
        value = static_cast<QAccessibleValueChangeEvent*>(event)->value().toString();
    g_heard.push_back({event->type(), face ? face->object() : nullptr,
                       face ? face->role() : QAccessible::NoRole,
                       face ? face->text(QAccessible::Name) : QString(), value});
}

/// True if a screen reader was told `news` as the platform tells it: on
/// Linux a notification shows with the text, on Windows a value change of
/// the focused control carries it.
bool announced(const QString& news, QObject* focused)
{
    return std::ranges::any_of(g_heard, [&](const Heard& heard) {
        return (heard.type == QAccessible::ObjectShow && heard.role == QAccessible::Notification
                && heard.name == news)
               || (heard.type == QAccessible::ValueChanged && heard.object == focused
                   && heard.value == news);
    });
}

QAccessibleInterface* accessibleOf(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

/// The text of a label's interface from `offset` on that is in one language, and that language.
std::pair<QString, QString> languageAt(QLabel* label, int offset)
{
    QAccessibleTextInterface* text = accessibleOf(label)->textInterface();
    if (!text)
        return {QStringLiteral("<no text>"), {}};
    int start = 0;
    int end = 0;
    const QString attributes = text->attributes(offset, &start, &end);
    return {text->text(start, end), attributes};
}

} // namespace

class TestScreenReaderEvents : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<app::MainWindow> m_main;

private slots:
    void initTestCase()
    {
        // Qt's AT-SPI bridge turns accessibility on once it has found the
        // accessibility bus (CTest runs this test in a private D-Bus session
        // on Xvfb); the handler then gets every event instead of the bridge.
        app::configureProgram();
        QAccessible::installUpdateHandler(record);
        QTRY_VERIFY2_WITH_TIMEOUT(QAccessible::isActive(), "accessibility is off", 10000);
    }
    void init()
    {
        QVERIFY(openMainWindow(m_main));
        g_heard.clear();
    }
    void cleanup() { discardMainWindow(m_main); }

    void pageTurnIsAnnounced_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("byAction"); // the screen reader's press action, or Space
        QTest::newRow("irregular verbs, Space on Page 2") << "Form3" << 2 << false;
        QTest::newRow("phrasal verbs, LP pressed by the screen reader") << "Form6" << 10 << true;
        QTest::newRow("particles, Space on the button of the page shown") << "Form4" << 1 << false;
    }
    void pageTurnIsAnnounced()
    {
        QFETCH(QString, form);
        QFETCH(int, page);
        QFETCH(bool, byAction);
        const WindowInfo& info = windowInfo(form);
        const QString shown = QStringLiteral("Page %1 of %2").arg(page).arg(info.pages.size());
        QStringList firstRow = info.pages.at(std::size_t(page - 1)).mid(0, info.columns);
        for (QString& text : firstRow)
            text = text.trimmed();
        const QString news = shown + ": " + firstRow.join(", ");
        QVERIFY(whileOpenFromMenu(*m_main, info, [&](QWidget* modal) {
            // Opening tells the page shown with the window.
            QCOMPARE(accessibleOf(modal)->text(QAccessible::Description),
                     "Page 1 of " + QString::number(info.pages.size()));
            auto* button = modal->findChild<QPushButton*>(info.pageButtons.at(page - 1).name);
            button->setFocus();
            g_heard.clear();
            if (byAction)
                accessibleOf(button)->actionInterface()->doAction(
                    QAccessibleActionInterface::pressAction());
            else
                QTest::keyClick(button, Qt::Key_Space);
            QTRY_VERIFY(announced(news, button));
            QCOMPARE(accessibleOf(modal)->text(QAccessible::Description), shown);
        }));
        if (form == QLatin1String("Form3"))
            QCOMPARE(news, "Page 2 of 4: drink, içmek, drank, drunk");
    }

    void mainWindowHasTheFocusAfterAWindowCloses_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("byCloseBox"); // or by the window's own control
        QTest::newRow("irregular verbs, Main Page") << "Form3" << false;
        QTest::newRow("numbers, close box") << "Form5" << true;
        QTest::newRow("about, close box") << "Form2" << true;
    }
    void mainWindowHasTheFocusAfterAWindowCloses()
    {
        QFETCH(QString, form);
        QFETCH(bool, byCloseBox);
        const WindowInfo& info = windowInfo(form);
        QWidget* main = m_main->form().window();
        runtime::WrappingMenuBar* bar = menuBarOf(*m_main);
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));

        // Chosen with the keyboard: F10, Right to the item, Return.
        QTest::keyClick(main, Qt::Key_F10);
        QVERIFY(bar->hasFocus());
        for (int i = 0; i < 5 && bar->activeAction()->objectName() != info.item; ++i)
            QTest::keyClick(bar, Qt::Key_Right);
        QCOMPARE(bar->activeAction()->objectName(), info.item);
        QTimer closer;
        bool closed = false;
        connect(&closer, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (closed || !modal || modal->objectName() != info.form)
                return;
            closed = true;
            if (byCloseBox)
                modal->close();
            else
                modal->findChild<QPushButton*>(info.closer)->click();
        });
        closer.start(10);
        QTest::keyClick(bar, Qt::Key_Return);
        QTRY_VERIFY(closed && !formOf(*m_main, info).isLoaded());

        // The main window itself has the focus, not a bar that looks inactive.
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        QCOMPARE(QApplication::focusWidget(), main);
        QVERIFY(!bar->activeAction());
        const Heard* lastFocus = nullptr;
        for (const Heard& heard : g_heard) {
            if (heard.type == QAccessible::Focus)
                lastFocus = &heard;
        }
        QVERIFY(lastFocus);
        QCOMPARE(lastFocus->object, main);
        QCOMPARE(lastFocus->name, QStringLiteral("Dilmora 1.0"));
        // F10 opens the bar on its first item.
        QTest::keyClick(main, Qt::Key_F10);
        QVERIFY(bar->hasFocus());
        QCOMPARE(bar->activeAction(), bar->actions().constFirst());
    }

    void aboutWindowIsReadWhole()
    {
        const WindowInfo& info = windowInfo(QStringLiteral("Form2"));
        QVERIFY(whileOpenFromMenu(*m_main, info, [&](QWidget* modal) {
            QStringList texts;
            for (const runtime::LabelDesign& label : about::kAboutDesign.labels) {
                if (label.name != "Label7")
                    texts << fromView(label.caption);
            }
            QCOMPARE(accessibleOf(modal)->text(QAccessible::Description), texts.join('\n'));
            for (const QString& part : {"E-mail: ", " Web page: ", "Thank you!"})
                QVERIFY(texts.join('\n').contains(part));

            // The texts are no labels of their own that a screen reader would read instead.
            auto* hello = modal->findChild<QLabel*>(QStringLiteral("Label1"));
            QCOMPARE(accessibleOf(hello)->role(), QAccessible::Paragraph);

            // "  Exit" is a push button named by its caption that the keyboard cannot reach;
            // its press unloads the window once the request has been answered.
            auto* exitLabel = modal->findChild<QLabel*>(QStringLiteral("Label7"));
            QAccessibleInterface* exit = accessibleOf(exitLabel);
            QCOMPARE(exit->role(), QAccessible::Button);
            QCOMPARE(exit->text(QAccessible::Name), QStringLiteral("  Exit"));
            QVERIFY(!exit->state().focusable);
            exit->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QVERIFY(formOf(*m_main, info).isLoaded());
            QTRY_VERIFY(!formOf(*m_main, info).isLoaded());
        }));
    }

    void everyNumbersColumnHasItsHeader()
    {
        const std::unique_ptr<runtime::Form> numbers = reference::createNumbersWindow();
        QVERIFY(numbers->load() == runtime::Status::Ok);
        QAccessibleInterface* client =
            accessibleOf(static_cast<runtime::FormWindow*>(numbers->window())->clientArea());
        QAccessibleInterface* table = client->child(0);
        QVERIFY(table && table->tableInterface());
        const int columns = table->tableInterface()->columnCount();
        QCOMPARE(columns, 4);
        const QStringList headers{" Normal Numbers", "", " Numbers (st,nd,th)", ""};
        for (int column = 0; column < columns; ++column) {
            // The header child at a column's index is that column's header, as
            // AT-SPI maps it, and every cell of the column names it.
            QAccessibleInterface* header = table->child(column);
            QCOMPARE(header->role(), QAccessible::ColumnHeader);
            QCOMPARE(header->text(QAccessible::Name), headers.at(column));
            QCOMPARE(table->indexOfChild(header), column);
            QAccessibleInterface* cell = table->tableInterface()->cellAt(5, column);
            QCOMPARE(cell->tableCellInterface()->columnHeaderCells(),
                     QList<QAccessibleInterface*>{header});
        }
        QCOMPARE(table->child(1)->rect().left(),
                 table->tableInterface()->cellAt(0, 1)->rect().left());
        QVERIFY(table->child(1)->rect().bottom()
                <= table->tableInterface()->cellAt(0, 1)->rect().top());
    }

    void textsSayTheirLanguage_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("text"); // the run of one language at the offset
        QTest::addColumn<QString>("language");
        QTest::newRow("a Turkish meaning") << "Form3"
                                           << "Label6" << 3 << " ikâmet etmek"
                                           << "tr";
        QTest::newRow("an English verb") << "Form3"
                                         << "Label5" << 0 << " abide"
                                         << "en";
        QTest::newRow("an English header") << "Form3"
                                           << "Label2" << 1 << " Turkish"
                                           << "en";
        QTest::newRow("a phrasal verb's meaning") << "Form6"
                                                  << "Label4" << 0 << ""
                                                  << "tr";
        QTest::newRow("a number") << "Form5"
                                  << "Label5" << 0 << " 0 zero"
                                  << "en";
        QTest::newRow("about: the English of a line") << "Form2"
                                                      << "Label2" << 0 << "I'm from "
                                                      << "en";
        QTest::newRow("about: a Turkish place") << "Form2"
                                                << "Label2" << 10 << "İzmir/Türkiye"
                                                << "tr";
        QTest::newRow("about: a Turkish name") << "Form2"
                                               << "Label1" << 20 << "Ece Kaya"
                                               << "tr";
    }
    void textsSayTheirLanguage()
    {
        QFETCH(QString, form);
        QFETCH(QString, label);
        QFETCH(int, offset);
        QFETCH(QString, text);
        QFETCH(QString, language);
        const WindowInfo& info = windowInfo(form);
        QVERIFY(whileOpenFromMenu(*m_main, info, [&](QWidget* modal) {
            auto* widget = modal->findChild<QLabel*>(label);
            QVERIFY(widget);
            const auto [run, attributes] = languageAt(widget, offset);
            if (!text.isEmpty())
                QCOMPARE(run, text);
            else
                QCOMPARE(run, widget->text());
            QCOMPARE(attributes, "language:" + language + ";");
            // Every character of a label is drawn inside it.
            QAccessibleTextInterface* chars = accessibleOf(widget)->textInterface();
            const QRect inside(widget->mapToGlobal(QPoint()), widget->size());
            const QRect character = chars->characterRect(offset);
            QVERIFY(inside.contains(character));
            QCOMPARE(chars->offsetAtPoint(character.center()), offset);
        }));
    }
};

QTEST_MAIN(TestScreenReaderEvents)
#include "tst_screen_reader_events.moc"
