// The menu commands of the main window.
#include "app/main_window.h"

#include "about/about_window.h"
#include "app/main_window_design.h"
#include "reference/irregular_verbs_window.h"
#include "reference/numbers_window.h"
#include "reference/particles_window.h"
#include "reference/phrasal_verbs_window.h"

namespace dilmora::app {

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
