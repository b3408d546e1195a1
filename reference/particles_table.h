// The particles window's content: English prepositions and particles with their Turkish meanings.
#pragma once

#include "reference/content_table.h"

namespace dilmora::reference {

/// The 75 rows of the particles window, English entry then Turkish meaning,
/// in the order they are shown: three pages, the last one holding 11 rows.
extern const ContentTable<2> kParticles;

} // namespace dilmora::reference
