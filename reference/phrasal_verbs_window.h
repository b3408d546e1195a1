// The phrasal verbs window, Form6: English and Turkish on ten pages.
#pragma once

#include "reference/paged_window.h"

namespace dilmora::reference {

/// Columns, headers, buttons and content of Form6.
extern const PagedWindowOutline kPhrasalVerbsOutline;

/// Creates Form6 for its instance slot.
inline constexpr auto createPhrasalVerbsWindow = &createPagedWindow<kPhrasalVerbsOutline>;

} // namespace dilmora::reference
