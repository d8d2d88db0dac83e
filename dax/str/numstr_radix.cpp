#include "str/numstr_radix.h"

#include <algorithm>
#include <array>
#include <bit>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

#include "str/numstr_check.h"
#include "str/numstr_digits.h"
#include "str/numstr_limbs.h"

namespace Ostrel::Zam {

namespace {

namespace mp = boost::multiprecision;

// Blocks of this many limbs' worth of digits are converted word by word; longer
// texts and numbers are split into such blocks.
constexpr size_t kParseBlockLimbs = 16;
constexpr size_t kFormatBlockLimbs = 8;

// The largest power of the base that fits one limb, and its exponent.
struct LimbRadix {
    Limb power = 1;
    size_t digits = 0;
};

LimbRadix LimbRadixOf(uint32_t base) {
    LimbRadix radix;
    while (radix.power <= std::numeric_limits<Limb>::max() / base) {
        radix.power *= base;
        ++radix.digits;
    }
    return radix;
}

// ---- reading ----------------------------------------------------------------

Limb ChunkValue(std::string_view digits, uint32_t base) {
    Limb value = 0;
    for (const char c : digits)
        value = value * base + DigitValue(c);
    return value;
}

// limbs = limbs * factor + addend.
void MultiplyAdd(Limbs &limbs, Limb factor, Limb addend) {
    DoubleLimb carry = addend;
    for (Limb &limb : limbs) {
        const DoubleLimb product = static_cast<DoubleLimb>(limb) * factor + carry;
        limb = static_cast<Limb>(product);
        carry = product >> kLimbBits;
    }
    if (carry != 0)
        limbs.push_back(static_cast<Limb>(carry));
}

// Horner's rule over chunks of one limb's worth of digits; the first chunk takes
// the odd digits so that every following one is full.
BigNumber ParseBlock(std::string_view digits, uint32_t base, const LimbRadix &radix) {
    Limbs limbs;
    limbs.reserve(digits.size() / radix.digits + 1);
    size_t chunk = digits.size() % radix.digits;
    if (chunk == 0)
        chunk = radix.digits;
    for (size_t at = 0; at < digits.size(); at += chunk, chunk = radix.digits)
        MultiplyAdd(limbs, radix.power, ChunkValue(digits.substr(at, chunk), base));
    return FromLimbs(limbs);
}

// The blocks of the text, least significant first; all but the last are full.
std::vector<BigNumber> ParseBlocks(std::string_view digits, uint32_t base, const LimbRadix &radix,
                                   size_t block_digits) {
    std::vector<BigNumber> blocks;
    blocks.reserve(digits.size() / block_digits + 1);
    for (size_t end = digits.size(); end > 0;) {
        const size_t begin = end > block_digits ? end - block_digits : 0;
        blocks.push_back(ParseBlock(digits.substr(begin, end - begin), base, radix));
        end = begin;
    }
    return blocks;
}

// Joins neighbouring blocks level by level: high * scale + low, the scale squared
// from one level to the next.
BigNumber JoinBlocks(std::vector<BigNumber> blocks, BigNumber scale) {
    while (blocks.size() > 1) {
        std::vector<BigNumber> joined;
        joined.reserve(blocks.size() / 2 + 1);
        for (size_t i = 0; i < blocks.size(); i += 2) {
            BigNumber value = std::move(blocks[i]);
            if (i + 1 < blocks.size()) {
                blocks[i + 1] *= scale;
                value += blocks[i + 1];
            }
            joined.push_back(std::move(value));
        }
        blocks = std::move(joined);
        if (blocks.size() > 1)
            scale *= scale;
    }
    return blocks.empty() ? BigNumber() : std::move(blocks.front());
}

BigNumber ParseGeneral(std::string_view digits, uint32_t base) {
    const LimbRadix radix = LimbRadixOf(base);
    const size_t block_digits = radix.digits * kParseBlockLimbs;
    if (digits.size() <= 2 * block_digits)
        return ParseBlock(digits, base, radix);
    const BigNumber scale = mp::pow(BigNumber(radix.power), kParseBlockLimbs);
    return JoinBlocks(ParseBlocks(digits, base, radix, block_digits), scale);
}

BigNumber ParsePowerOfTwo(std::string_view digits, unsigned shift) {
    Limbs limbs((digits.size() * shift + kLimbBits - 1) / kLimbBits, 0);
    size_t bit = 0;
    for (size_t i = digits.size(); i-- > 0; bit += shift) {
        const Limb value = DigitValue(digits[i]);
        const size_t limb = bit / kLimbBits;
        const size_t offset = bit % kLimbBits;
        limbs[limb] |= value << offset;
        if (offset + shift > kLimbBits)
            limbs[limb + 1] |= value >> (kLimbBits - offset);
    }
    return FromLimbs(limbs);
}

// ---- writing ----------------------------------------------------------------

// Writes the digits of one chunk (a remainder below the limb's power of the base)
// leftwards from `end`, at most `digits` of them and never before `begin`. One
// instance per base, so that the divisions by the base become multiplications.
template <uint32_t Base>
char *WriteChunk(Limb chunk, char *end, const char *begin, size_t digits) {
    for (size_t i = 0; i < digits && end > begin; ++i, chunk /= Base)
        *--end = DigitChar(static_cast<uint32_t>(chunk % Base));
    return end;
}

using ChunkWriter = char *(*)(Limb, char *, const char *, size_t);

template <size_t... Index>
constexpr std::array<ChunkWriter, sizeof...(Index)> MakeChunkWriters(
    std::index_sequence<Index...>) {
    return {&WriteChunk<static_cast<uint32_t>(Index + kMinNumStrBase)>...};
}

// Indexed by base - 2.
constexpr auto kChunkWriters =
    MakeChunkWriters(std::make_index_sequence<kMaxNumStrBase - kMinNumStrBase + 1>());

// Writes the value into the `width` characters that end at `end`, zero-filled on
// the left; the value must fit.
void WriteBlock(Limbs limbs, uint32_t base, const LimbRadix &radix, char *end, size_t width) {
    char *const begin = end - width;
    const ChunkWriter write = kChunkWriters[base - kMinNumStrBase];
    while (!limbs.empty())
        end = write(DivideInPlace(limbs, radix.power), end, begin, radix.digits);
    std::fill(begin, end, '0');
}

// The powers scale^(2^j) that split the value, as limbs: the last one's square
// exceeds the value.
std::vector<Limbs> SplittingPowers(const BigNumber &value, BigNumber scale) {
    const auto top_bit = mp::msb(value);
    std::vector<Limbs> powers;
    while (true) {
        powers.push_back(ToLimbs(scale));
        if (2 * mp::msb(scale) >= top_bit + 1)
            return powers;
        scale *= scale;
    }
}

// Splits the value into blocks below scale, most significant first, by dividing
// every piece of one level by the power of that level.
std::vector<Limbs> SplitBlocks(const BigNumber &value, const BigNumber &scale) {
    std::vector<Limbs> powers = SplittingPowers(value, scale);
    std::vector<Limbs> pieces{ToLimbs(value)};
    while (!powers.empty()) {
        std::vector<Limbs> split(pieces.size() * 2);
        for (size_t i = 0; i < pieces.size(); ++i)
            DivideLimbs(pieces[i], powers.back(), split[2 * i], split[2 * i + 1]);
        pieces = std::move(split);
        powers.pop_back();
    }
    return pieces;
}

std::string WithoutLeadingZeros(std::string digits) {
    const size_t first = std::min(digits.find_first_not_of('0'), digits.size() - 1);
    digits.erase(0, first);
    return digits;
}

std::string FormatGeneral(const BigNumber &value, uint32_t base) {
    const LimbRadix radix = LimbRadixOf(base);
    const size_t block_digits = radix.digits * kFormatBlockLimbs;
    const bool split = mp::msb(value) >= 2 * kFormatBlockLimbs * kLimbBits;
    std::vector<Limbs> blocks =
        split ? SplitBlocks(value, mp::pow(BigNumber(radix.power), kFormatBlockLimbs))
              : std::vector<Limbs>{ToLimbs(value)};
    // An unsplit value gets room for bits / floor(log2(base)) + 1 digits, which is
    // never too few; the zeros in front are removed at the end.
    const auto whole_bits_per_digit = static_cast<size_t>(std::bit_width(base) - 1);
    const size_t first_digits =
        split ? block_digits : (mp::msb(value) + 1) / whole_bits_per_digit + 1;
    std::string digits(first_digits + (blocks.size() - 1) * block_digits, '0');
    char *end = digits.data() + first_digits;
    WriteBlock(std::move(blocks.front()), base, radix, end, first_digits);
    for (size_t i = 1; i < blocks.size(); ++i) {
        end += block_digits;
        WriteBlock(std::move(blocks[i]), base, radix, end, block_digits);
    }
    return WithoutLeadingZeros(std::move(digits));
}

std::string FormatPowerOfTwo(const BigNumber &value, unsigned shift) {
    const Limbs limbs = ToLimbs(value);
    const size_t bits = mp::msb(value) + 1;
    const size_t count = (bits + shift - 1) / shift;
    const Limb mask = (Limb{1} << shift) - 1;
    std::string digits(count, '0');
    for (size_t i = 0; i < count; ++i) {
        const size_t bit = i * shift;
        const size_t limb = bit / kLimbBits;
        const size_t offset = bit % kLimbBits;
        Limb part = limbs[limb] >> offset;
        if (offset + shift > kLimbBits && limb + 1 < limbs.size())
            part |= limbs[limb + 1] << (kLimbBits - offset);
        digits[count - 1 - i] = DigitChar(static_cast<uint32_t>(part & mask));
    }
    return digits;
}

}  // namespace

BigNumber ParseNumStr(std::string_view text, int32_t base) {
    const std::string_view digits = StripLeadingZeros(text);
    const auto radix = static_cast<uint32_t>(base);
    if (std::has_single_bit(radix))
        return ParsePowerOfTwo(digits, static_cast<unsigned>(std::countr_zero(radix)));
    return ParseGeneral(digits, radix);
}

std::string FormatNumStr(const BigNumber &value, int32_t base) {
    if (value <= 0)
        return "0";
    const auto radix = static_cast<uint32_t>(base);
    if (std::has_single_bit(radix))
        return FormatPowerOfTwo(value, static_cast<unsigned>(std::countr_zero(radix)));
    return FormatGeneral(value, radix);
}

}  // namespace Ostrel::Zam
