// Exact conversions between NumStr texts and whole numbers of any size.
//
// Bases that are powers of two are packed and unpacked bit by bit (linear time).
// Other bases go through blocks of digits that fit one machine word and then
// divide and conquer: a long text is read as blocks joined pairwise by multiplying
// with powers of the base (Karatsuba multiplication for large numbers), and a
// large number is written by splitting it with divisions by the same powers down
// to blocks, which are written one word at a time. Both directions run as loops
// over levels, never as recursion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "str/numstr_limbs.h"

namespace Ostrel::Zam {

// The value of a text of digits of the base (2..36; CheckNumStr has passed); the
// empty text is 0.
BigNumber ParseNumStr(std::string_view text, int32_t base);

// The digits of a non-negative value in the base (2..36), without leading zeros;
// 0 gives "0".
std::string FormatNumStr(const BigNumber &value, int32_t base);

}  // namespace Ostrel::Zam
