// The phrasal verbs window, Form6: English and Turkish on ten pages.
#pragma once

#include "reference/paged_window.h"

#include <memory>

namespace dilmora::reference {

extern const PagedWindowOutline kPhrasalVerbsOutline;

std::unique_ptr<runtime::Form> createPhrasalVerbsWindow();

} // namespace dilmora::reference
