// The main window, Form1, and the instance slots of the windows it opens.
#pragma once

#include "runtime/form.h"
#include "runtime/instance_slot.h"

namespace dilmora::app {

/// The start-up window. Each of its five menu commands opens one window
/// modally; the window's instance is created into its slot on first use.
class MainWindow {
public:
    MainWindow();

    runtime::Form& form() { return m_form; }

    runtime::InstanceSlot& irregularVerbs() { return m_irregularVerbs; }
    runtime::InstanceSlot& phrasalVerbs() { return m_phrasalVerbs; }
    runtime::InstanceSlot& particles() { return m_particles; }
    runtime::InstanceSlot& numbers() { return m_numbers; }
    runtime::InstanceSlot& about() { return m_about; }

private:
    runtime::InstanceSlot m_irregularVerbs;
    runtime::InstanceSlot m_phrasalVerbs;
    runtime::InstanceSlot m_particles;
    runtime::InstanceSlot m_numbers;
    runtime::InstanceSlot m_about;
    runtime::Form m_form;
};

/// The menu command: fills the slot on first use and shows its window
/// modally; returns once the window has been unloaded.
void openWindow(runtime::InstanceSlot& slot);

/// Opens the window of `slot` as the menu command does, turned to the row
/// `target` and with that row marked, as if the user had found it there.
void openWindowAt(runtime::InstanceSlot& slot, const runtime::FindTarget& target);

} // namespace dilmora::app
