// Random digits for the string services. The library never seeds its generator:
// every process draws the same sequence, as the scripts that use these services
// expect. Safe to call from any thread (the draws of concurrent threads interleave).
#pragma once

#include <cstdint>
#include <string>

namespace Ostrel::Zam {

// The next value of the process-wide generator: uniform over 0..0x7FFFFFFF.
uint32_t NextRandom31();

// One digit of the base: the character of NextRandom31() modulo the base. A base
// outside 2..36 gives '0'.
char RandomDigit(int32_t base);

// Appends `count` digits of the base (each as RandomDigit gives it), drawing them
// under one lock.
void AppendRandomDigits(std::string &text, size_t count, int32_t base);

}  // namespace Ostrel::Zam
