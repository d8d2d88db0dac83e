// Whole numbers as plain vectors of machine words (limbs, least significant
// first, no zero limb at the top), for the loops that need direct access to the
// words: long division and the word-wise reading and writing of digit blocks.
// The limb is Boost.Multiprecision's, so that BigNumber converts without a change
// of word size (64 bits on 64-bit targets, 32 bits on 32-bit ones).
#pragma once

#include <limits>
#include <vector>

#include <boost/multiprecision/cpp_int.hpp>

namespace Ostrel::Zam {

using BigNumber = boost::multiprecision::cpp_int;
using Limb = boost::multiprecision::limb_type;
using DoubleLimb = boost::multiprecision::double_limb_type;
using Limbs = std::vector<Limb>;

inline constexpr unsigned kLimbBits = std::numeric_limits<Limb>::digits;

BigNumber FromLimbs(const Limbs &limbs);
Limbs ToLimbs(const BigNumber &value);

// limbs /= divisor (not zero); returns the remainder.
Limb DivideInPlace(Limbs &limbs, Limb divisor);

// Long division (Knuth's algorithm D): quotient = u / v and remainder = u % v;
// v must not be zero. Time proportional to the product of the lengths.
void DivideLimbs(const Limbs &u, const Limbs &v, Limbs &quotient, Limbs &remainder);

}  // namespace Ostrel::Zam
