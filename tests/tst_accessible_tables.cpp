// What assistive technology reads in the reference windows, asked through
// QAccessible as a screen reader asks: each grid is one table with its
// column headers and cells, the cells follow a page turn, the table names
// the page shown, and every button of the windows says what it does.
#include "form_testing.h"
#include "reference/irregular_verbs_window.h"
#include "reference/numbers_window.h"
#include "reference/particles_window.h"
#include "reference/phrasal_verbs_window.h"

#include <QAccessible>

using namespace dilmora;
using namespace testing;

namespace {

struct ReferenceWindow {
    const char* form;
    std::unique_ptr<runtime::Form> (*create)();
    const reference::PagedWindowOutline* outline; ///< Null for the numbers window.
};

const ReferenceWindow kWindows[] = {
    {"Form3", reference::createIrregularVerbsWindow, &reference::kIrregularVerbsOutline},
    {"Form6", reference::createPhrasalVerbsWindow, &reference::kPhrasalVerbsOutline},
    {"Form4", reference::createParticlesWindow, &reference::kParticlesOutline},
    {"Form5", reference::createNumbersWindow, nullptr},
};

const ReferenceWindow& windowNamed(const QString& form)
{
    for (const ReferenceWindow& window : kWindows) {
        if (form == QLatin1String(window.form))
            return window;
    }
    qFatal("no window %s", qPrintable(form));
}

/// What a screen reader finds under a window: the first table, depth first.
QAccessibleInterface* findTable(QAccessibleInterface* node)
{
    if (!node || node->role() == QAccessible::Table)
        return node;
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* table = findTable(node->child(i)))
            return table;
    }
    return nullptr;
}

QAccessibleInterface* tableOf(runtime::Form& form)
{
    return findTable(QAccessible::queryAccessibleInterface(form.window()));
}

QString cellText(QAccessibleInterface* table, int row, int column)
{
    QAccessibleInterface* cell = table->tableInterface()->cellAt(row, column);
    return cell ? cell->text(QAccessible::Name) : QStringLiteral("<no cell>");
}

/// The texts of page `page` as the table shows them, row by row.
QStringList pageTexts(const reference::PagedContent& content, int page)
{
    QStringList texts;
    for (int k = 1; k <= reference::kRowsPerPage * content.columns(); ++k)
        texts << fromView(content.text(page, k));
    return texts;
}

QStringList tableTexts(QAccessibleInterface* table)
{
    QStringList texts;
    for (int row = 0; row < table->tableInterface()->rowCount(); ++row) {
        for (int column = 0; column < table->tableInterface()->columnCount(); ++column)
            texts << cellText(table, row, column);
    }
    return texts;
}

void addWindows()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QList<int>>("headed"); // the columns with a header cell
    QTest::addColumn<QString>("opened");    // the table's description at first
    // The irregular verbs window opens with a design caption (" burst ")
    // that page 1 writes without its trailing blank: still page 1.
    QTest::newRow("irregular verbs")
        << "Form3" << 32 << 4 << QList<int>{0, 1, 2, 3} << "Page 1 of 4";
    QTest::newRow("phrasal verbs") << "Form6" << 32 << 2 << QList<int>{0, 1} << "Page 1 of 10";
    QTest::newRow("particles") << "Form4" << 32 << 2 << QList<int>{0, 1} << "Page 1 of 3";
    QTest::newRow("numbers") << "Form5" << 22 << 4 << QList<int>{0, 2} << "";
}

} // namespace

class TestAccessibleTables : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { runtime::configureApplication(); }
    void cleanup()
    {
        runtime::clearFault();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void gridIsOneTableOfTheDesignsLabels_data() { addWindows(); }
    void gridIsOneTableOfTheDesignsLabels()
    {
        QFETCH(QString, form);
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(QList<int>, headed);
        QFETCH(QString, opened);
        auto window = windowNamed(form).create();
        QVERIFY(window->load() == runtime::Status::Ok);
        QAccessibleInterface* table = tableOf(*window);
        QVERIFY(table && table->tableInterface());
        QCOMPARE(table->tableInterface()->rowCount(), rows);
        QCOMPARE(table->tableInterface()->columnCount(), columns);
        QCOMPARE(table->childCount(), columns + rows * columns);
        QCOMPARE(table->text(QAccessible::Description), opened);

        // Every label of the window stands in the table exactly once, as a
        // cell that knows its place and header, or as a header.
        QSet<QObject*> seen;
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                QAccessibleInterface* cell = table->tableInterface()->cellAt(row, column);
                QVERIFY(cell && cell->tableCellInterface());
                auto* label = qobject_cast<QLabel*>(cell->object());
                QVERIFY(label && !seen.contains(label));
                seen.insert(label);
                QCOMPARE(cell->role(), QAccessible::Cell);
                QCOMPARE(cell->parent(), table);
                QCOMPARE(cell->text(QAccessible::Name), label->text());
                QCOMPARE(cell->tableCellInterface()->rowIndex(), row);
                QCOMPARE(cell->tableCellInterface()->columnIndex(), column);
                QCOMPARE(cell->tableCellInterface()->table(), table);
                // Every column has its header at its own index, an empty one where
                // no label heads it.
                const QList<QAccessibleInterface*> header =
                    cell->tableCellInterface()->columnHeaderCells();
                QCOMPARE(header, QList<QAccessibleInterface*>{table->child(column)});
                QCOMPARE(header.first()->role(), QAccessible::ColumnHeader);
                QCOMPARE(header.first()->object() != nullptr, headed.contains(column));
                if (header.first()->object())
                    seen.insert(header.first()->object());
            }
        }
        // A header is named by its caption and described by its Turkish tooltip.
        for (int column : headed) {
            QAccessibleInterface* header = table->child(column);
            auto* label = qobject_cast<QLabel*>(header->object());
            QVERIFY(label && !label->toolTip().isEmpty());
            QCOMPARE(header->role(), QAccessible::ColumnHeader);
            QCOMPARE(header->text(QAccessible::Name), label->text());
            QCOMPARE(header->text(QAccessible::Description), label->toolTip());
            QCOMPARE(table->tableInterface()->columnDescription(column), label->text());
        }
        const QList<QLabel*> labels = window->window()->findChildren<QLabel*>();
        QCOMPARE(seen.size(), labels.size());

        // The buttons stand beside the table, not in it.
        QAccessibleInterface* client = table->parent();
        QCOMPARE(client->child(0), table);
        QCOMPARE(client->childCount(), 1 + int(window->design().buttons.size()));
        for (int i = 1; i < client->childCount(); ++i)
            QCOMPARE(client->child(i)->role(), QAccessible::Button);
    }

    void cellsAndDescriptionFollowThePage_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("shown"); // the table's description after the turn
        QTest::newRow("irregular verbs, Page 3") << "Form3"
                                                 << "Command4" << 3 << "Page 3 of 4";
        QTest::newRow("phrasal verbs, LP") << "Form6"
                                           << "Command11" << 10 << "Page 10 of 10";
        QTest::newRow("particles, Page 2") << "Form4"
                                           << "Command3" << 2 << "Page 2 of 3";
    }
    void cellsAndDescriptionFollowThePage()
    {
        QFETCH(QString, form);
        QFETCH(QString, button);
        QFETCH(int, page);
        QFETCH(QString, shown);
        const ReferenceWindow& reference = windowNamed(form);
        auto window = reference.create();
        QVERIFY(window->load() == runtime::Status::Ok);
        QAccessibleInterface* table = tableOf(*window);
        QVERIFY(table);
        const reference::PagedContent& content = reference.outline->content;
        const QStringList firstPage = pageTexts(content, 1);
        QCOMPARE(cellText(table, 0, 0), firstPage.first());
        QCOMPARE(cellText(table, 31, content.columns() - 1), firstPage.last());

        child<QPushButton>(*window, qPrintable(button))->click();
        QCOMPARE(tableTexts(table), pageTexts(content, page));
        QCOMPARE(table->text(QAccessible::Description), shown);
    }

    void aHalfTurnedPageIsNoPage()
    {
        ErrorRecorder recorder;
        auto window = reference::createIrregularVerbsWindow();
        QVERIFY(window->load() == runtime::Status::Ok);
        QAccessibleInterface* table = tableOf(*window);
        QVERIFY(table);
        runtime::injectFault({.operation = runtime::Operation::Caption, .object = "Form3.Label70"});
        child<QPushButton>(*window, "Command2")->click();
        QCOMPARE(recorder.errors.size(), std::size_t(1));
        QCOMPARE(table->text(QAccessible::Description), QString());
        child<QPushButton>(*window, "Command2")->click();
        QCOMPARE(table->text(QAccessible::Description), "Page 2 of 4");
    }

    void buttonsSayWhatTheyDo_data()
    {
        QTest::addColumn<QString>("button"); // form.control
        QTest::addColumn<QString>("description");
        const char* const close = "Close this window and return to the main window";
        const std::pair<const char*, const char*> rows[] = {
            {"Form3.Command3", close},
            {"Form3.Command1", "Show page 1"},
            {"Form3.Command4", "Show page 3"},
            {"Form3.Command5", "Show the last page (page 4)"},
            {"Form6.Command3", "Show page 2"},
            {"Form6.Command11", "Show the last page (page 10)"},
            {"Form4.Command4", "Show the last page (page 3)"},
            {"Form5.Command1", close},
        };
        for (const auto& [button, description] : rows)
            QTest::newRow(button) << button << description;
    }
    void buttonsSayWhatTheyDo()
    {
        QFETCH(QString, button);
        QFETCH(QString, description);
        const QStringList name = button.split('.');
        auto window = windowNamed(name[0]).create();
        QVERIFY(window->load() == runtime::Status::Ok);
        QAccessibleInterface* face =
            QAccessible::queryAccessibleInterface(child<QPushButton>(*window, qPrintable(name[1])));
        QVERIFY(face);
        QCOMPARE(face->text(QAccessible::Description), description);
    }
};

QTEST_MAIN(TestAccessibleTables)
#include "tst_accessible_tables.moc"
