// The irregular verbs window, Form3: four columns on four pages.
#pragma once

#include "reference/paged_window.h"

#include <memory>

namespace dilmora::reference {

extern const PagedWindowOutline kIrregularVerbsOutline;

std::unique_ptr<runtime::Form> createIrregularVerbsWindow();

} // namespace dilmora::reference
