// How the support library reports its own failures.
#pragma once

#include <cstdint>

namespace vek {

// Sets the calling thread's error information (code, source "Vek.<function>",
// a description formatted printf-style and cut to 255 characters) and returns the
// code with both top bits set.
int32_t Fail(int32_t code, const char *function, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

}  // namespace vek
