#include "str/numstr_limbs.h"

#include <bit>
#include <iterator>

namespace Ostrel::Zam {

namespace {

namespace mp = boost::multiprecision;

void Trim(Limbs &limbs) {
    while (!limbs.empty() && limbs.back() == 0)
        limbs.pop_back();
}

bool Less(const Limbs &a, const Limbs &b) {
    if (a.size() != b.size())
        return a.size() < b.size();
    for (size_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i])
            return a[i] < b[i];
    }
    return false;
}

// The limbs shifted left by `shift` bits (below kLimbBits), with one limb more for
// the bits shifted out at the top when `extra` is set.
Limbs ShiftedLeft(const Limbs &limbs, unsigned shift, bool extra) {
    Limbs shifted(limbs.size() + (extra ? 1 : 0), 0);
    Limb carry = 0;
    for (size_t i = 0; i < limbs.size(); ++i) {
        shifted[i] = (limbs[i] << shift) | carry;
        carry = shift == 0 ? 0 : limbs[i] >> (kLimbBits - shift);
    }
    if (extra)
        shifted.back() = carry;
    return shifted;
}

void ShiftRightInPlace(Limbs &limbs, unsigned shift) {
    if (shift == 0)
        return;
    for (size_t i = 0; i < limbs.size(); ++i) {
        const Limb high = i + 1 < limbs.size() ? limbs[i + 1] << (kLimbBits - shift) : 0;
        limbs[i] = (limbs[i] >> shift) | high;
    }
}

// The estimate of one quotient limb from the top three limbs of the partial
// remainder and the top two of the normalised divisor: the true limb or one more.
Limb EstimateQuotient(Limb u2, Limb u1, Limb u0, Limb v1, Limb v0) {
    const DoubleLimb base = DoubleLimb{1} << kLimbBits;
    const DoubleLimb numerator = (static_cast<DoubleLimb>(u2) << kLimbBits) | u1;
    DoubleLimb estimate = numerator / v1;
    DoubleLimb rest = numerator - estimate * v1;
    while (estimate >= base || estimate * v0 > ((rest << kLimbBits) | u0)) {
        --estimate;
        rest += v1;
        if (rest >= base)
            break;
    }
    return static_cast<Limb>(estimate);
}

// u[0..n] -= estimate * v; when that goes below zero, v is added back once. Returns
// the quotient limb.
Limb SubtractMultiple(Limb *u, const Limbs &v, Limb estimate) {
    const size_t n = v.size();
    // The high part of each product plus the borrow of the subtraction. It always
    // fits one limb: the high part of estimate * v[i] + carry reaches the limb's
    // maximum only with a low part of 0, which borrows nothing.
    Limb carry = 0;
    for (size_t i = 0; i < n; ++i) {
        const DoubleLimb product = static_cast<DoubleLimb>(estimate) * v[i] + carry;
        const auto low = static_cast<Limb>(product);
        carry = static_cast<Limb>(product >> kLimbBits);
        const Limb before = u[i];
        u[i] = before - low;
        carry += before < low ? 1 : 0;
    }
    const bool negative = u[n] < carry;
    u[n] -= carry;
    if (!negative)
        return estimate;
    Limb add_carry = 0;
    for (size_t i = 0; i < n; ++i) {
        const DoubleLimb sum = static_cast<DoubleLimb>(u[i]) + v[i] + add_carry;
        u[i] = static_cast<Limb>(sum);
        add_carry = static_cast<Limb>(sum >> kLimbBits);
    }
    u[n] += add_carry;
    return estimate - 1;
}

}  // namespace

BigNumber FromLimbs(const Limbs &limbs) {
    BigNumber value;
    if (!limbs.empty())
        mp::import_bits(value, limbs.begin(), limbs.end(), kLimbBits, false);
    return value;
}

Limbs ToLimbs(const BigNumber &value) {
    Limbs limbs;
    if (value != 0)
        mp::export_bits(value, std::back_inserter(limbs), kLimbBits, false);
    return limbs;
}

Limb DivideInPlace(Limbs &limbs, Limb divisor) {
    DoubleLimb remainder = 0;
    for (size_t i = limbs.size(); i-- > 0;) {
        const DoubleLimb current = (remainder << kLimbBits) | limbs[i];
        const DoubleLimb quotient = current / divisor;
        remainder = current - quotient * divisor;
        limbs[i] = static_cast<Limb>(quotient);
    }
    Trim(limbs);
    return static_cast<Limb>(remainder);
}

void DivideLimbs(const Limbs &u, const Limbs &v, Limbs &quotient, Limbs &remainder) {
    if (Less(u, v)) {
        quotient.clear();
        remainder = u;
        return;
    }
    if (v.size() == 1) {
        quotient = u;
        remainder.assign(1, DivideInPlace(quotient, v[0]));
        Trim(remainder);
        return;
    }
    // Normalised so that the divisor's top bit is set, which keeps every estimate
    // within one of the true quotient limb.
    const auto shift = static_cast<unsigned>(std::countl_zero(v.back()));
    const Limbs divisor = ShiftedLeft(v, shift, false);
    Limbs rest = ShiftedLeft(u, shift, true);
    const size_t n = v.size();
    quotient.assign(u.size() - n + 1, 0);
    for (size_t j = quotient.size(); j-- > 0;) {
        const Limb estimate = EstimateQuotient(rest[j + n], rest[j + n - 1], rest[j + n - 2],
                                               divisor[n - 1], divisor[n - 2]);
        quotient[j] = SubtractMultiple(&rest[j], divisor, estimate);
    }
    Trim(quotient);
    rest.resize(n);
    ShiftRightInPlace(rest, shift);
    Trim(rest);
    remainder = std::move(rest);
}

}  // namespace Ostrel::Zam
