// The particles window, Form4: prepositions and particles on three pages.
#pragma once

#include "reference/paged_window.h"

#include <memory>

namespace dilmora::reference {

extern const PagedWindowOutline kParticlesOutline;

std::unique_ptr<runtime::Form> createParticlesWindow();

} // namespace dilmora::reference
