// What the tests that drive the whole program know of its windows: the menu
// item that opens each one, its close control, its page buttons and the texts
// of every page, taken from the content tables. Also a click through the
// window system that, unlike testing::click(), never shows a hidden window.
#pragma once

#include "app/main_window.h"
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

#include <algorithm>
#include <optional>
#include <vector>

namespace testing {

struct PageButtonInfo {
    QString name;
    QString caption;
    int page = 0;
};

struct WindowInfo {
    QString row;                             ///< For the names of data rows: "irregular verbs".
    QString item;                            ///< The main window's menu item that opens it.
    QString form;                            ///< "Form3".
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
    auto window = [](const char* row, const char* item, const char* form, const char* closer,
                     int columns, std::vector<PageButtonInfo> buttons,
                     std::vector<QStringList> pages,
                     dilmora::runtime::InstanceSlot& (MainWindow::*slot)()) {
        WindowInfo info;
        info.row = QString::fromUtf8(row);
        info.item = QString::fromUtf8(item);
        info.form = QString::fromUtf8(form);
        info.closer = QString::fromUtf8(closer);
        info.columns = columns;
        info.pageButtons = std::move(buttons);
        info.pages = std::move(pages);
        info.slot = slot;
        return info;
    };
    static const std::vector<WindowInfo> windows{
        window("irregular verbs", "irregularverbs", "Form3", "Command3", 4,
               pageButtonsOf(kIrregularVerbsOutline), pagesOf(kIrregularVerbs),
               &MainWindow::irregularVerbs),
        window("phrasal verbs", "phrasalverbs", "Form6", "Command1", 2,
               pageButtonsOf(kPhrasalVerbsOutline), pagesOf(kPhrasalVerbs),
               &MainWindow::phrasalVerbs),
        window("particles", "particles", "Form4", "Command1", 2, pageButtonsOf(kParticlesOutline),
               pagesOf(kParticles), &MainWindow::particles),
        window("numbers", "numbers", "Form5", "Command1", 0, {}, {}, &MainWindow::numbers),
        window("about", "aboutprogrammer", "Form2", "Label7", 0, {}, {}, &MainWindow::about),
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

inline QString labelName(int number)
{
    return QStringLiteral("Label%1").arg(number);
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

/// The captions of the grid of a loaded paged window, in label-number order.
inline QStringList gridCaptions(dilmora::runtime::Form& form, const WindowInfo& info)
{
    QStringList texts;
    for (int k = 0; k < info.gridCells(); ++k)
        texts << captionOf(form, labelName(info.firstCell() + k));
    return texts;
}

} // namespace testing
