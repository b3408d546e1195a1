// The paged reference windows: their designs derived from grid, header and
// buttons; showPage writing every grid cell in label order and nothing
// else; a failure in the middle of a page; opening always on page 1.
#include "app/main_window.h"
#include "app/program.h"
#include "form_testing.h"
#include "reference/irregular_verbs_table.h"
#include "reference/irregular_verbs_window.h"
#include "reference/particles_table.h"
#include "reference/particles_window.h"
#include "reference/phrasal_verbs_table.h"
#include "reference/phrasal_verbs_window.h"

#include <QAction>
#include <QMenuBar>

using namespace dilmora;
using namespace testing;
using reference::ContentTable;

namespace {

/// One paged window with its table, so that a test can run over all three.
struct PagedWindow {
    const reference::PagedWindowOutline& outline;
    std::unique_ptr<runtime::Form> (*create)();
    int columns;
    int pages;
    std::function<std::string_view(int page, int k)> text;
    std::function<void(runtime::Form&, int page)> showPage;
};

template <std::size_t N>
PagedWindow paged(const reference::PagedWindowOutline& outline,
                  std::unique_ptr<runtime::Form> (*create)(), const ContentTable<N>& table)
{
    return {outline,
            create,
            int(N),
            table.pageCount(),
            [&table](int page, int k) { return table.text(page, k); },
            [&table](runtime::Form& form, int page) { reference::showPage(form, table, page); }};
}

PagedWindow windowNamed(const QString& name)
{
    if (name == "Form3")
        return paged(reference::kIrregularVerbsOutline, reference::createIrregularVerbsWindow,
                     reference::kIrregularVerbs);
    if (name == "Form6")
        return paged(reference::kPhrasalVerbsOutline, reference::createPhrasalVerbsWindow,
                     reference::kPhrasalVerbs);
    return paged(reference::kParticlesOutline, reference::createParticlesWindow,
                 reference::kParticles);
}

/// Everything a page turn must leave alone: headers, buttons, the title.
QStringList fixedTexts(runtime::Form& form, int columns)
{
    QStringList texts{form.window()->windowTitle()};
    for (int c = 1; c <= columns; ++c)
        texts << captionOf(form, labelName(c))
              << form.window()->findChild<QLabel*>(labelName(c))->toolTip();
    for (auto* button : form.window()->findChildren<QPushButton*>())
        texts << button->objectName() + '=' + button->text() + (button->isEnabled() ? "" : "!");
    return texts;
}

void addWindows()
{
    QTest::addColumn<QString>("form");
    QTest::newRow("irregular verbs") << "Form3";
    QTest::newRow("phrasal verbs") << "Form6";
    QTest::newRow("particles") << "Form4";
}

} // namespace

class TestPagedWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { app::configureProgram(); }
    void cleanup()
    {
        runtime::clearFault();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void gridFollowsTheLayout_data() { addWindows(); }
    void gridFollowsTheLayout()
    {
        QFETCH(QString, form);
        const PagedWindow window = windowNamed(form);
        auto instance = window.create();
        QVERIFY(instance->load() == runtime::Status::Ok);
        const int n = window.columns;
        QCOMPARE(instance->window()->findChildren<QLabel*>().size(), n + 32 * n);
        for (int row = 0; row <= 32; ++row) {
            for (int c = 1; c <= n; ++c) {
                const int number = row == 0 ? c : n + n * (row - 1) + c;
                auto* cell = instance->window()->findChild<QLabel*>(labelName(number));
                QVERIFY2(cell, qPrintable(labelName(number)));
                const reference::Column column = window.outline.columns[c - 1];
                const int top = row == 0 ? 240 : 480 + 240 * (row - 1);
                QCOMPARE(cell->geometry(),
                         QRect(column.left / 15, top / 15, column.width / 15, 17));
                QCOMPARE(cell->frameShape(), QFrame::Box);
                QCOMPARE(cell->palette().color(QPalette::Window),
                         row == 0 ? QColor(0xFF, 0xC0, 0xC0) : QColor(0xC0, 0xC0, 0xFF));
                QCOMPARE(cell->focusPolicy(), Qt::NoFocus);
                if (row > 0)
                    QVERIFY(cell->toolTip().isEmpty());
            }
        }
        QCOMPARE(instance->window()->findChild<QWidget*>("clientArea")->size(), QSize(417, 585));
    }

    void buttonsStandInOneRowInTabOrder_data() { addWindows(); }
    void buttonsStandInOneRowInTabOrder()
    {
        QFETCH(QString, form);
        const PagedWindow window = windowNamed(form);
        auto instance = window.create();
        QVERIFY(instance->load() == runtime::Status::Ok);
        QWidget* previous = nullptr;
        for (const reference::PageButton& design : window.outline.buttons) {
            auto* button = instance->window()->findChild<QPushButton*>(fromView(design.name));
            QVERIFY(button);
            QCOMPARE(button->text(), fromView(design.caption));
            QCOMPARE(button->geometry(), QRect(design.left / 15, 552, design.width / 15, 25));
            QCOMPARE(button->palette().color(QPalette::Button), QColor(0xFF, 0xC0, 0xC0));
            QVERIFY(!button->isDefault() && !button->autoDefault());
            if (previous)
                QCOMPARE(previous->nextInFocusChain(), button);
            else
                QCOMPARE(instance->window()->focusWidget(), button);
            previous = button;
        }
        // The last button ends under the grid's right edge.
        QCOMPARE(window.outline.buttons.back().left + window.outline.buttons.back().width, 6015);
    }

    void everyPageWritesEveryCellInLabelOrder_data() { addWindows(); }
    void everyPageWritesEveryCellInLabelOrder()
    {
        // The k-th Caption of a page turn is made to fail; the error names
        // the label it was meant for. Unchanged and empty cells count too.
        QFETCH(QString, form);
        const PagedWindow window = windowNamed(form);
        auto instance = window.create();
        QVERIFY(instance->load() == runtime::Status::Ok);
        ErrorRecorder recorder;
        const int cells = 32 * window.columns;
        for (int page : {1, window.pages}) {
            for (int k = 1; k <= cells; ++k) {
                runtime::injectFault({.operation = runtime::Operation::Caption, .skip = k - 1});
                runtime::runHandler([&] { window.showPage(*instance, page); });
                QCOMPARE(recorder.errors.size(), std::size_t(1));
                QCOMPARE(QString::fromStdString(recorder.errors[0].object),
                         form + '.' + labelName(window.columns + k));
                recorder.errors.clear();
            }
        }
        runtime::injectFault({.operation = runtime::Operation::Caption, .skip = cells});
        window.showPage(*instance, window.pages);
        QVERIFY2(runtime::faultArmed(), "a page turn made more Caption calls than it has cells");
    }

    void everyPageShowsItsTexts_data() { addWindows(); }
    void everyPageShowsItsTexts()
    {
        QFETCH(QString, form);
        const PagedWindow window = windowNamed(form);
        auto instance = window.create();
        QVERIFY(instance->load() == runtime::Status::Ok);
        const QStringList fixed = fixedTexts(*instance, window.columns);
        // Last page first, so that the earlier pages must fill its empty rows again.
        for (int page = window.pages; page >= 1; --page) {
            window.showPage(*instance, page);
            for (int k = 1; k <= 32 * window.columns; ++k)
                QCOMPARE(captionOf(*instance, labelName(window.columns + k)),
                         fromView(window.text(page, k)));
            QCOMPARE(fixedTexts(*instance, window.columns), fixed);
        }
    }

    void firstPageRightAfterOpeningChangesNothingVisible_data() { addWindows(); }
    void firstPageRightAfterOpeningChangesNothingVisible()
    {
        QFETCH(QString, form);
        const PagedWindow window = windowNamed(form);
        auto instance = window.create();
        QVERIFY(instance->load() == runtime::Status::Ok);
        const QImage opened = instance->window()->grab().toImage();
        window.showPage(*instance, 1);
        QCOMPARE(instance->window()->grab().toImage(), opened);
    }

    void designOpensOnPageOne_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("design");
        QTest::newRow("abide") << "Form3"
                               << "Label5"
                               << " abide";
        QTest::newRow("burst with its blank") << "Form3"
                                              << "Label81"
                                              << " burst ";
        QTest::newRow("drawn") << "Form3"
                               << "Label132"
                               << " drawn";
        QTest::newRow("add up") << "Form6"
                                << "Label3"
                                << " add up";
        QTest::newRow("bring on meaning with its blank") << "Form6"
                                                         << "Label62"
                                                         << " istenmedik bir şeye yol açmak ";
        QTest::newRow("büyütmek") << "Form6"
                                  << "Label66"
                                  << " büyütmek, yetiştirmek";
        QTest::newRow("about") << "Form4"
                               << "Label3"
                               << " about";
        QTest::newRow("during") << "Form4"
                                << "Label66"
                                << " esnasında, boyunca";
    }

    void designOpensOnPageOne()
    {
        QFETCH(QString, form);
        QFETCH(QString, label);
        QFETCH(QString, design);
        const PagedWindow window = windowNamed(form);
        auto instance = window.create();
        QVERIFY(instance->load() == runtime::Status::Ok);
        QCOMPARE(captionOf(*instance, label), design);
        // Every cell but the window's one designed deviation opens with its page-1 text.
        const QString deviation = form == "Form3" ? "Label81" : form == "Form6" ? "Label62" : "";
        for (int k = 1; k <= 32 * window.columns; ++k) {
            const QString name = labelName(window.columns + k);
            if (name != deviation)
                QCOMPARE(captionOf(*instance, name), fromView(window.text(1, k)));
        }
        window.showPage(*instance, 1);
        QCOMPARE(captionOf(*instance, label), design.endsWith(' ') ? design.chopped(1) : design);
    }

    void headersAndTheirTooltips_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("present") << "Form3"
                                 << "Label1"
                                 << " Present"
                                 << "Düzensiz Fiilin Mastar Hali";
        QTest::newRow("turkish meaning") << "Form3"
                                         << "Label2"
                                         << " Turkish"
                                         << "Düzensiz Fiilin Türkçesi";
        QTest::newRow("simple past") << "Form3"
                                     << "Label3"
                                     << " Simple Past"
                                     << "Düzensiz Fiilin 2. Hali";
        QTest::newRow("past participle") << "Form3"
                                         << "Label4"
                                         << " Past Participle"
                                         << "Düzensiz Fiilin 3. Hali";
        QTest::newRow("phrasal english") << "Form6"
                                         << "Label1"
                                         << " English"
                                         << "İngilizce Deyimsel Fiiler";
        QTest::newRow("phrasal turkish") << "Form6"
                                         << "Label2"
                                         << " Turkish"
                                         << "İngilizce Deyimsel Fiillerin Türkçesi";
        QTest::newRow("particles english")
            << "Form4"
            << "Label1"
            << " English"
            << "İngilizce Edatlar (Edatlar, tek başına anlamı olmayıp isim veya zamirlerle anlam "
               "kazanan kelimelerdir.) ";
        QTest::newRow("particles turkish") << "Form4"
                                           << "Label2"
                                           << " Turkish"
                                           << "İngilizce Edatların Türkçesi";
    }

    void headersAndTheirTooltips()
    {
        QFETCH(QString, form);
        QFETCH(QString, label);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        auto instance = windowNamed(form).create();
        QVERIFY(instance->load() == runtime::Status::Ok);
        auto* header = instance->window()->findChild<QLabel*>(label);
        QCOMPARE(header->text(), caption);
        QCOMPARE(header->toolTip(), toolTip);
        if (form == "Form4" && label == "Label1")
            QCOMPARE(toolTip.size(), 104);
        for (auto* button : instance->window()->findChildren<QPushButton*>())
            QVERIFY(button->toolTip().isEmpty());
    }

    void failureInTheMiddleOfAPage()
    {
        auto instance = reference::createIrregularVerbsWindow();
        QVERIFY(instance->load() == runtime::Status::Ok);
        reference::showPage(*instance, reference::kIrregularVerbs, 4);
        ErrorRecorder recorder;
        runtime::injectFault({.operation = runtime::Operation::Caption, .object = "Form3.Label40"});
        click(instance->window()->findChild<QPushButton*>("Command2")); // "Page 2"
        QCOMPARE(recorder.errors.size(), std::size_t(1));
        QCOMPARE(recorder.errors[0].object, std::string("Form3.Label40"));
        QVERIFY(recorder.errors[0].interface == runtime::Interface::Label);
        QVERIFY(recorder.errors[0].operation == runtime::Operation::Caption);
        // The head of page 2 over the tail of page 4.
        for (int number = 5; number <= 132; ++number) {
            const int page = number < 40 ? 2 : 4;
            QCOMPARE(captionOf(*instance, labelName(number)),
                     fromView(reference::kIrregularVerbs.text(page, number - 4)));
        }
        // The window stays usable.
        click(instance->window()->findChild<QPushButton*>("Command2"));
        QCOMPARE(captionOf(*instance, "Label132"), QStringLiteral(" lain"));
        QCOMPARE(recorder.errors.size(), std::size_t(1));
    }

    void buttonShowsItsPage_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("page");
        for (const QString form : {"Form3", "Form6", "Form4"}) {
            for (const reference::PageButton& button : windowNamed(form).outline.buttons) {
                if (button.page != reference::kMainPage)
                    QTest::addRow("%s %s", qPrintable(form), button.caption.data())
                        << form << fromView(button.name) << button.page;
            }
        }
    }

    void buttonShowsItsPage()
    {
        QFETCH(QString, form);
        QFETCH(QString, button);
        QFETCH(int, page);
        const PagedWindow window = windowNamed(form);
        auto instance = window.create();
        QVERIFY(instance->load() == runtime::Status::Ok);
        // Start from another page, then press the button twice: same page.
        window.showPage(*instance, page == window.pages ? 1 : window.pages);
        for (int press = 0; press < 2; ++press) {
            click(instance->window()->findChild<QPushButton*>(button));
            for (int k = 1; k <= 32 * window.columns; ++k)
                QCOMPARE(captionOf(*instance, labelName(window.columns + k)),
                         fromView(window.text(page, k)));
        }
    }

    void reopeningShowsPageOne_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("lastPage");
        QTest::addColumn<QString>("mainPage");
        QTest::addColumn<QString>("firstCell");
        QTest::addColumn<bool>("titleBarClose");
        QTest::newRow("irregular verbs, main page") << "irregularverbs"
                                                    << "Command5"
                                                    << "Command3"
                                                    << " abide" << false;
        QTest::newRow("irregular verbs, title bar") << "irregularverbs"
                                                    << "Command5"
                                                    << "Command3"
                                                    << " abide" << true;
        QTest::newRow("phrasal verbs, main page") << "phrasalverbs"
                                                  << "Command11"
                                                  << "Command1"
                                                  << " add up" << false;
        QTest::newRow("phrasal verbs, title bar") << "phrasalverbs"
                                                  << "Command11"
                                                  << "Command1"
                                                  << " add up" << true;
        QTest::newRow("particles, main page") << "particles"
                                              << "Command4"
                                              << "Command1"
                                              << " about" << false;
        QTest::newRow("particles, title bar") << "particles"
                                              << "Command4"
                                              << "Command1"
                                              << " about" << true;
    }

    void reopeningShowsPageOne()
    {
        QFETCH(QString, item);
        QFETCH(QString, lastPage);
        QFETCH(QString, mainPage);
        QFETCH(QString, firstCell);
        QFETCH(bool, titleBarClose);
        app::MainWindow main;
        QVERIFY(main.form().show(runtime::Modality::Modeless) == runtime::Status::Ok);
        auto* bar = main.form().window()->findChild<QMenuBar*>();
        QAction* command = nullptr;
        for (QAction* action : bar->actions())
            if (action->objectName() == item)
                command = action;
        whileModal(
            [&] {
                QWidget* modal = QApplication::activeModalWidget();
                click(modal->findChild<QPushButton*>(lastPage));
                QVERIFY(captionOf(*formOf(main, item), "Label3") != firstCell);
                if (titleBarClose)
                    modal->close();
                else
                    click(modal->findChild<QPushButton*>(mainPage));
            },
            [&] { command->trigger(); });
        runtime::Form* form = formOf(main, item);
        QVERIFY(!form->isLoaded());
        whileModal(
            [&] {
                const int first = item == "irregularverbs" ? 5 : 3;
                QCOMPARE(captionOf(*form, labelName(first)), firstCell);
                QApplication::activeModalWidget()->close();
            },
            [&] { command->trigger(); });
    }

private:
    static runtime::Form* formOf(app::MainWindow& main, const QString& item)
    {
        if (item == "irregularverbs")
            return &main.irregularVerbs().form();
        if (item == "phrasalverbs")
            return &main.phrasalVerbs().form();
        return &main.particles().form();
    }
};

QTEST_MAIN(TestPagedWindows)
#include "tst_paged_windows.moc"
