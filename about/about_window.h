// The About window, Form2: a note from the author and the "  Exit" label.
#pragma once

#include "runtime/design.h"
#include "runtime/form.h"

#include <memory>

namespace dilmora::about {

extern const runtime::FormDesign kAboutDesign;

std::unique_ptr<runtime::Form> createAboutWindow();

} // namespace dilmora::about
