// The instance slot of a window: empty at start, filled on first use and
// then kept for the rest of the run.
#pragma once

#include "runtime/form.h"

#include <memory>

namespace dilmora::runtime {

class InstanceSlot {
public:
    using Factory = std::unique_ptr<Form> (*)();

    explicit InstanceSlot(Factory factory) : m_factory(factory) {}

    bool isEmpty() const { return !m_form; }

    /// Creates the instance into the empty slot.
    void create() { m_form = m_factory(); }

    /// The instance the slot holds; the slot must not be empty.
    Form& form() const { return *m_form; }

private:
    Factory m_factory;
    std::unique_ptr<Form> m_form;
};

} // namespace dilmora::runtime
