// The numbers window, Form5: one fixed table of cardinal and ordinal numbers.
#pragma once

#include "reference/findable.h"
#include "runtime/design.h"
#include "runtime/form.h"

#include <memory>

namespace dilmora::reference {

extern const runtime::FormDesign kNumbersDesign;

/// Every number of the table as a find sees it, column by column from the
/// top: each cell is an entry of its own.
const FindableWindow& numbersFindable();

/// Creates Form5 for its instance slot; it finds its numbers when the user types.
std::unique_ptr<runtime::Form> createNumbersWindow();

} // namespace dilmora::reference
