// The menu commands of the main window.
#include "app/main_window.h"

#include "about/about_window.h"
#include "app/main_window_design.h"
#include "reference/irregular_verbs_window.h"
#include "reference/numbers_window.h"
#include "reference/particles_window.h"
#include "reference/phrasal_verbs_window.h"

namespace dilmora::app {

namespace {

/// The windows whose rows the main window finds, in the menu's order;
/// gathered when the user first types.
std::span<const reference::FindableWindow* const> findableWindows()
{
    static const reference::FindableWindow* const windows[] = {
        &reference::pagedDesign<reference::kIrregularVerbsOutline>().findable(),
        &reference::pagedDesign<reference::kPhrasalVerbsOutline>().findable(),
        &reference::pagedDesign<reference::kParticlesOutline>().findable(),
        &reference::numbersFindable(),
    };
    return windows;
}

} // namespace

using runtime::Form;
using runtime::InstanceSlot;

MainWindow::MainWindow()
    : m_irregularVerbs(reference::createIrregularVerbsWindow),
      m_phrasalVerbs(reference::createPhrasalVerbsWindow),
      m_particles(reference::createParticlesWindow), m_numbers(reference::createNumbersWindow),
      m_about(about::createAboutWindow), m_form(kMainWindowDesign)
{
    const std::pair<std::string_view, InstanceSlot*> commands[] = {
        {"irregularverbs", &m_irregularVerbs}, {"phrasalverbs", &m_phrasalVerbs},
        {"particles", &m_particles},           {"numbers", &m_numbers},
        {"aboutprogrammer", &m_about},
    };
    for (const auto& [item, slot] : commands)
        m_form.onClick(item, [slot = slot](Form&) { openWindow(*slot); });

    // Typing in the main window lists the rows of the reference windows, in
    // the menu's order; choosing one opens its window there.
    m_form.onFind({.search =
                       [](const QString& typed) {
                           return reference::findEverywhere(findableWindows(), typed);
                       },
                   .open =
                       [this](const runtime::FindTarget& target) {
                           InstanceSlot* opened[] = {&m_irregularVerbs, &m_phrasalVerbs,
                                                     &m_particles, &m_numbers};
                           openWindowAt(*opened[target.window], target);
                       }});
}

void openWindow(InstanceSlot& slot)
{
    if (slot.isEmpty())
        slot.create();
    Form& window = slot.form();
    runtime::check(window.show(runtime::Modality::Modal), window.name(), runtime::Interface::Form,
                   runtime::Operation::Show);
}

} // namespace dilmora::app

namespace dilmora::app {

void openWindowAt(InstanceSlot& slot, const runtime::FindTarget& target)
{
    if (slot.isEmpty())
        slot.create();
    Form& window = slot.form();
    runtime::check(window.load(), window.name(), runtime::Interface::Form,
                   runtime::Operation::Show);
    window.reveal(target);
    runtime::check(window.show(runtime::Modality::Modal), window.name(), runtime::Interface::Form,
                   runtime::Operation::Show);
}

} // namespace dilmora::app
