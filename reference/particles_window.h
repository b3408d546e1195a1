// The particles window, Form4: prepositions and particles on three pages.
#pragma once

#include "reference/paged_window.h"

namespace dilmora::reference {

/// Columns, headers, buttons and content of Form4.
extern const PagedWindowOutline kParticlesOutline;

/// Creates Form4 for its instance slot.
inline constexpr auto createParticlesWindow = &createPagedWindow<kParticlesOutline>;

} // namespace dilmora::reference
