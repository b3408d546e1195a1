// The phrasal verbs window's content: English phrasal verbs with their Turkish meanings.
#pragma once

#include "reference/content_table.h"

namespace dilmora::reference {

/// The 304 rows of the phrasal verbs window, English phrasal verb then Turkish
/// meanings, in the order they are shown: ten pages, the last one holding 16 rows.
extern const ContentTable<2> kPhrasalVerbs;

} // namespace dilmora::reference
