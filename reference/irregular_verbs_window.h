// The irregular verbs window, Form3: four columns on four pages.
#pragma once

#include "reference/paged_window.h"

namespace dilmora::reference {

/// Columns, headers, buttons and content of Form3.
extern const PagedWindowOutline kIrregularVerbsOutline;

/// Creates Form3 for its instance slot.
inline constexpr auto createIrregularVerbsWindow = &createPagedWindow<kIrregularVerbsOutline>;

} // namespace dilmora::reference
