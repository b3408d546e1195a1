// The content of the irregular verbs window: 125 verbs, four texts each.
#pragma once

#include "reference/content_table.h"

namespace dilmora::reference {

/// The irregular verbs in the order they are shown, 32 to a page on four pages:
/// base form, Turkish meaning, simple past, past participle.
extern const ContentTable<4> kIrregularVerbs;

} // namespace dilmora::reference
