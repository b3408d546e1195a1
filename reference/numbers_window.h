// The numbers window, Form5: one fixed table of cardinal and ordinal numbers.
#pragma once

#include "runtime/design.h"
#include "runtime/form.h"

#include <memory>

namespace dilmora::reference {

extern const runtime::FormDesign kNumbersDesign;

std::unique_ptr<runtime::Form> createNumbersWindow();

} // namespace dilmora::reference
