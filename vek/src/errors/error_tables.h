// The registered error-message tables, one per family of codes.
#pragma once

#include <cstdint>
#include <string>

namespace vek {

// The text that the table of the code's family gives for the code; empty when no
// table is registered for the family or the table has no text for it.
std::string RegisteredMessageFor(uint32_t code);

}  // namespace vek
