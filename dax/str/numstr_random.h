// Random NumStrs of a given length between bounds, optionally avoiding one value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Ostrel::Zam {

// The whole of Str_NumStr_RandomA behind the frame: checks the arguments and draws.
// Length 0 gives the empty text without looking at the other arguments. An empty
// minimum stands for `length` zeros, an empty maximum for `length` times the
// highest digit. A candidate is the minimum plus as many random digits as the span
// maximum - minimum has, padded with leading "0" to the length; candidates above
// the maximum are drawn again, at most 100000 times. Errors have the source
// "Str.Str_NumStr_Random" (the span's subtraction raises its own).
std::string NumStrRandom(int32_t length, std::string_view minimum, std::string_view maximum,
                         std::string_view excluded, int32_t base);

}  // namespace Ostrel::Zam
