// What the tests that drive the whole program know of its windows: the menu
// item that opens each one, its title, its close control, its page buttons and
// the texts of every page, taken from the content tables. Also the main window
// shown as at start, its menu items clicked where they are drawn, a window
// opened from the menu and handled while it is the modal one, the fixture of
// the tests of one window, and a click through the window system that, unlike
// testing::click(), never shows a hidden window.
#pragma once

#include "app/identity.h"
#include "app/main_window.h"
#include "app/program.h"
#include "form_testing.h"
#include "reference/irregular_verbs_table.h"
#include "reference/irregular_verbs_window.h"
#include "reference/paged_window.h"
#include "reference/particles_table.h"
#include "reference/particles_window.h"
#include "reference/phrasal_verbs_table.h"
#include "reference/phrasal_verbs_window.h"
#include "runtime/menu_bar.h"

#include <QAction>
#include <QPointer>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace testing {

/// The main window's title: the product's name.
inline QString productName()
{
    return fromView(dilmora::app::identity::kProductName);
}

struct PageButtonInfo {
    QString name;
    QString caption;
    int page = 0;
};

struct WindowInfo {
    QString row;                             ///< For the names of data rows: "irregular verbs".
    QString item;                            ///< The main window's menu item that opens it.
    QString form;                            ///< "Form3".
    QString title;                           ///< "Irregular Verbs".
    QString closer;                          ///< "Main Page", or "  Exit" in the About window.
    int columns = 0;                         ///< 0 for the windows that are not paged.
    std::vector<PageButtonInfo> pageButtons; ///< In page order.
    std::vector<QStringList> pages; ///< pages[p - 1]: the texts of grid labels N + 1 to N + 32 N.
    dilmora::runtime::InstanceSlot& (dilmora::app::MainWindow::*slot)() = nullptr;

    bool paged() const { return columns > 0; }
    int gridCells() const { return 32 * columns; }
    /// The first grid label's number.
    int firstCell() const { return columns + 1; }
};

template <std::size_t N>
std::vector<QStringList> pagesOf(const dilmora::reference::ContentTable<N>& table)
{
    std::vector<QStringList> pages;
    for (int p = 1; p <= table.pageCount(); ++p) {
        QStringList texts;
        for (int k = 1; k <= table.kTextsPerPage; ++k)
            texts << fromView(table.text(p, k));
        pages.push_back(texts);
    }
    return pages;
}

inline std::vector<PageButtonInfo>
pageButtonsOf(const dilmora::reference::PagedWindowOutline& outline)
{
    std::vector<PageButtonInfo> buttons;
    for (const dilmora::reference::PageButton& button : outline.buttons) {
        if (button.page != dilmora::reference::kMainPage)
            buttons.push_back({fromView(button.name), fromView(button.caption), button.page});
    }
    std::ranges::sort(buttons, {}, &PageButtonInfo::page);
    return buttons;
}

/// The five windows in the order of the menu.
inline const std::vector<WindowInfo>& programWindows()
{
    using namespace dilmora::reference;
    using dilmora::app::MainWindow;
    auto window = [](const char* row, const char* item, const char* form, const char* title,
                     const char* closer, int columns, std::vector<PageButtonInfo> buttons,
                     std::vector<QStringList> pages,
                     dilmora::runtime::InstanceSlot& (MainWindow::*slot)()) {
        WindowInfo info;
        info.row = QString::fromUtf8(row);
        info.item = QString::fromUtf8(item);
        info.form = QString::fromUtf8(form);
        info.title = QString::fromUtf8(title);
        info.closer = QString::fromUtf8(closer);
        info.columns = columns;
        info.pageButtons = std::move(buttons);
        info.pages = std::move(pages);
        info.slot = slot;
        return info;
    };
    static const std::vector<WindowInfo> windows{
        window("irregular verbs", "irregularverbs", "Form3", "Irregular Verbs", "Command3", 4,
               pageButtonsOf(kIrregularVerbsOutline), pagesOf(kIrregularVerbs),
               &MainWindow::irregularVerbs),
        window("phrasal verbs", "phrasalverbs", "Form6", "Phrasal Verbs", "Command1", 2,
               pageButtonsOf(kPhrasalVerbsOutline), pagesOf(kPhrasalVerbs),
               &MainWindow::phrasalVerbs),
        window("particles", "particles", "Form4", "Particles", "Command1", 2,
               pageButtonsOf(kParticlesOutline), pagesOf(kParticles), &MainWindow::particles),
        window("numbers", "numbers", "Form5", "Numbers", "Command1", 0, {}, {},
               &MainWindow::numbers),
        window("about", "aboutprogrammer", "Form2", "About Programmer", "Label7", 0, {}, {},
               &MainWindow::about),
    };
    return windows;
}

inline const WindowInfo& windowInfo(const QString& form)
{
    for (const WindowInfo& info : programWindows()) {
        if (info.form == form)
            return info;
    }
    qFatal("no window %s", qPrintable(form));
}

/// A left click at `local` in `widget` (its middle by default), delivered to
/// its window as the window system delivers it; nothing when the window is hidden.
inline bool clickAt(QWidget* widget, std::optional<QPoint> local = std::nullopt)
{
    QWidget* window = widget ? widget->window() : nullptr;
    if (!window || !window->isVisible() || !window->windowHandle())
        return false;
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(window, local.value_or(widget->rect().center())));
    return true;
}

inline dilmora::runtime::WrappingMenuBar* menuBarOf(dilmora::app::MainWindow& main)
{
    return main.form().window()->findChild<dilmora::runtime::WrappingMenuBar*>();
}

/// Clicks a menu item of the main window where it is drawn.
inline void clickMenuItem(dilmora::app::MainWindow& main, const QString& item)
{
    dilmora::runtime::WrappingMenuBar* bar = menuBarOf(main);
    clickAt(bar, bar->itemRect(bar->item(item)).center());
}

/// Shows the main window as the program does at start and waits until it is
/// drawn; false if it could not be shown.
[[nodiscard]] inline bool showMainWindow(dilmora::app::MainWindow& main)
{
    return main.form().show(dilmora::runtime::Modality::Modeless) == dilmora::runtime::Status::Ok
           && QTest::qWaitForWindowExposed(main.form().window());
}

/// Makes the main window and shows it as the program does at start; false if it
/// could not be shown.
[[nodiscard]] inline bool openMainWindow(std::unique_ptr<dilmora::app::MainWindow>& main)
{
    main = std::make_unique<dilmora::app::MainWindow>();
    return showMainWindow(*main);
}

/// Disarms a fault a test left armed, closes any modal window it left open, then
/// the main window, and deletes the widgets they discarded.
inline void discardMainWindow(std::unique_ptr<dilmora::app::MainWindow>& main)
{
    dilmora::runtime::clearFault();
    while (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
    main.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// The main window's instance slot for a window, and the form in it.
inline dilmora::runtime::InstanceSlot& slotOf(dilmora::app::MainWindow& main,
                                              const WindowInfo& info)
{
    return (main.*info.slot)();
}

inline dilmora::runtime::Form& formOf(dilmora::app::MainWindow& main, const WindowInfo& info)
{
    return slotOf(main, info).form();
}

/// Opens the window from the main window's menu and runs `inside` while it is
/// the modal window; whatever `inside` leaves open is closed afterwards. False
/// if the menu item did not open that window.
inline bool whileOpenFromMenu(dilmora::app::MainWindow& main, const WindowInfo& info,
                              const std::function<void(QWidget*)>& inside)
{
    bool opened = false;
    whileModal(
        [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal->objectName() != info.form)
                return;
            opened = true;
            inside(modal);
        },
        [&] { clickMenuItem(main, info.item); });
    return opened;
}

/// The captions of the grid of a loaded paged window, in label-number order.
inline QStringList gridCaptions(dilmora::runtime::Form& form, const WindowInfo& info)
{
    QStringList texts;
    for (int k = 0; k < info.gridCells(); ++k)
        texts << captionOf(form, labelName(info.firstCell() + k));
    return texts;
}

/// The fixture of the tests of one window: the window loaded once from its
/// design and never shown, for the tests of what it looks like, and the main
/// window, for the tests that open it from the menu as a user does.
class WindowTest : public QObject {
protected:
    WindowTest(const QString& form, std::unique_ptr<dilmora::runtime::Form> (*create)())
        : m_formName(form), m_create(create)
    {
    }

    std::unique_ptr<dilmora::runtime::Form> m_form; // loaded, never shown
    std::unique_ptr<dilmora::app::MainWindow> m_main;

    const WindowInfo& info() const { return windowInfo(m_formName); }
    QWidget* window() const { return m_form->window(); }
    QLabel* label(const QString& name) const { return window()->findChild<QLabel*>(name); }

    /// Sets the application up as the program does and loads the window.
    void loadWindow()
    {
        dilmora::app::configureProgram();
        m_form = m_create();
        QVERIFY(m_form->load() == dilmora::runtime::Status::Ok);
        QVERIFY(window());
    }

    void unloadWindow()
    {
        m_form.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void openMainWindow() { QVERIFY(testing::openMainWindow(m_main)); }

    /// Chooses the window's item in the main window's menu bar, as a user clicks it,
    /// and runs `inside` while the window it opened is the modal window.
    void withWindow(const std::function<void(QWidget*)>& inside)
    {
        QVERIFY2(whileOpenFromMenu(*m_main, info(), inside),
                 qPrintable(m_formName + " did not open from the menu"));
    }

    /// Opens the window from the menu and closes it with its own control, which must
    /// unload it and give the input back to the main window; `texts` gets every
    /// caption it showed.
    void readAndClose(QHash<QString, QString>& texts)
    {
        const bool opened = whileOpenFromMenu(*m_main, info(), [&](QWidget* opening) {
            // The window is deleted while the click's events are processed.
            const QPointer<QWidget> modal = opening;
            texts = allCaptions(modal);
            click(modal->findChild<QWidget*>(info().closer));
            QVERIFY(!formOf(*m_main, info()).isLoaded());
            QVERIFY(!modal || !modal->isVisible());
        });
        QVERIFY(opened);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!formOf(*m_main, info()).isLoaded());
    }

    /// Opens and closes the window twice from the menu (see readAndClose()): the second
    /// time it shows the same captions as the first, which `first` gets.
    void reopenWithTheSameTexts(QHash<QString, QString>& first)
    {
        readAndClose(first);
        // The main window takes input again: its menu opens the window once more.
        QHash<QString, QString> second;
        readAndClose(second);
        QCOMPARE(second, first);
    }

private:
    QString m_formName;
    std::unique_ptr<dilmora::runtime::Form> (*m_create)();
};

} // namespace testing
