// The option arguments of the T store's exports: the Error_Handling values that
// several exports share, and the one failure every refused option value gives.
#pragma once

#include <cstdint>

namespace Ostrel::Zam::tstore {

inline constexpr int32_t kReportErrors = 25;  // 0x19: a failed lookup is an error
inline constexpr int32_t kSilentErrors = 27;  // 0x1B: a failed lookup gives the empty result

// Raises 0xE204000E "Invalid argument: <name><value in hexadecimal>h". `name`
// carries the equals sign as the export's message writes it ("Mode=" or
// "Node_Type = ").
[[noreturn]] void Raise_Invalid_Argument(const char *source, const char *name, int32_t value);

}  // namespace Ostrel::Zam::tstore
