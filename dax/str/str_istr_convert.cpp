// IString services: conversions between IStrings, hexadecimal texts (two digits per
// byte) and bit texts (four bits per hexadecimal digit), and random IStrings. The
// IString side is the format library's; the hexadecimal and bit texts are NumStrs of
// base 16 and 2, so they admit upper-case digits only.
#include <cstdint>
#include <string>
#include <string_view>

#include "dax64.h"
#include "frame/error_model.h"
#include "frame/export_frame.h"
#include "imports/vek_imports.h"
#include "str/istring_ops.h"
#include "str/istring_walk.h"
#include "str/numstr_check.h"
#include "str/numstr_digits.h"
#include "str/numstr_random.h"
#include "str/random_digit.h"

namespace {

using namespace Ostrel::Zam;
using namespace Ostrel::Zam::istring;

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of a digit that CheckNumStr has admitted for base 16 (or 2).
uint32_t ValueOfDigit(char digit) {
    return digit <= '9' ? static_cast<uint32_t>(digit - '0')
                        : static_cast<uint32_t>(digit - 'A' + 10);
}

// Zeros put in front make the length a multiple of four; each group of four bits
// then becomes one hexadecimal digit, leading zero digits kept.
std::string BitsToHex(std::string_view bits) {
    const size_t zeros = (4 - bits.size() % 4) % 4;
    std::string hex;
    hex.reserve((bits.size() + zeros) / 4);
    uint32_t value = 0;
    for (size_t i = 0; i < bits.size(); ++i) {
        value = value * 2 + ValueOfDigit(bits[i]);
        if ((zeros + i + 1) % 4 == 0) {
            hex.push_back(kHexDigits[value]);
            value = 0;
        }
    }
    return hex;
}

std::string HexToBits(std::string_view hex) {
    std::string bits;
    bits.reserve(hex.size() * 4);
    for (const char digit : hex) {
        const uint32_t value = ValueOfDigit(digit);
        for (int shift = 3; shift >= 0; --shift)
            bits.push_back(((value >> shift) & 1u) != 0 ? '1' : '0');
    }
    return bits;
}

constexpr char kRandomSource[] = "Str.Str_IStr_Random";
constexpr int32_t kMaxDraws = 100000;
constexpr uint64_t kMaxTextBytes = 0x7FFFFFF0u;

// The two hexadecimal digits of a bound that must be exactly one IString character
// (`missing` when the bound is not given).
std::string HexOfBound(const AnsiString &bound, const char *missing) {
    const char *text = bound.Empty() ? missing : bound.CStr();
    const Measure measure = MeasureIString(text);
    if (measure.incomplete_escape != kNoIncompleteEscape || measure.characters != 1)
        RaiseError(kDataInvalid, kRandomSource, nullptr);
    return Convert(text, kToHex, kRandomSource).Str();
}

// Draws the bytes of random IStrings of one length and range. Without bounds every
// byte is two random hexadecimal digits; with bounds each byte is a two-digit
// base-16 NumStr between them.
class ByteDrawer {
  public:
    ByteDrawer(int32_t length, const AnsiString &min, const AnsiString &max)
        : length_(static_cast<size_t>(length)), bounded_(!min.Empty() || !max.Empty()) {
        if (!bounded_)
            return;
        low_ = HexOfBound(min, "#00");
        high_ = HexOfBound(max, "#FF");
        if (NumStrCompare(low_, high_) > 0)
            RaiseError(kMinAboveMax, kRandomSource, nullptr);
    }

    AnsiString Draw() const {
        std::string digits;
        digits.reserve(2 * length_);
        if (!bounded_) {
            AppendRandomDigits(digits, 2 * length_, 16);
        } else {
            for (size_t i = 0; i < length_; ++i)
                digits += low_ == high_ ? low_ : NumStrRandom(2, low_, high_, {}, 16);
        }
        return Convert(digits.c_str(), kFromHex, kRandomSource);
    }

  private:
    size_t length_;
    bool bounded_;
    std::string low_;
    std::string high_;
};

// The draws are canonical IStrings, so they equal the excluded value exactly when
// they equal its canonical form. An excluded value that the format library cannot
// read equals no draw: the first draw stands, with the failed conversion left as
// the thread's error information.
AnsiString DrawExcluding(const ByteDrawer &drawer, const AnsiString &exclude) {
    AnsiString drawn = drawer.Draw();
    AnsiString excluded;
    try {
        excluded = Convert(exclude.CStr(), kCanonical, "Str.IStrCmp");
    } catch (const EZamError &) {
        return drawn;
    }
    for (int32_t draws = 1; drawn.View() == excluded.View(); ++draws) {
        if (draws >= kMaxDraws)
            RaiseError(kInfiniteLoop, kRandomSource, "Infinite loop");
        drawn = drawer.Draw();
    }
    return drawn;
}

AnsiString RandomIString(int32_t length, const AnsiString &min, const AnsiString &max,
                         const AnsiString &exclude) {
    if (length < 0)
        RaiseErrorFormat(kDataInvalid, kRandomSource, "Invalid length: %d", length);
    if (2 * static_cast<uint64_t>(length) > kMaxTextBytes)
        RaiseOutOfMemory();
    const ByteDrawer drawer(length, min, max);
    return exclude.Empty() ? drawer.Draw() : DrawExcluding(drawer, exclude);
}

}  // namespace

DAX64_API char *DAX64_CALL Str_HexStrToIStrA(const char *hex) {
    return TextExport("dax/str_istr[537]", [&] {
        const AnsiString digits = TextArgument(hex);
        CheckNumStr(digits.View(), 16);
        return Convert(digits.CStr(), kFromHex, "Str.HexStrToIStr");
    });
}

DAX64_API char *DAX64_CALL Str_IStrToHexStrA(const char *istr) {
    return TextExport("dax/str_istr[572]", [&] {
        const AnsiString text = TextArgument(istr);
        return Convert(text.CStr(), kToHex, "Str.IStrToHexStr");
    });
}

DAX64_API char *DAX64_CALL Str_BitStrToHexStrA(const char *bits) {
    return TextExport("dax/str_numstr[707]", [&] {
        const AnsiString digits = TextArgument(bits);
        CheckNumStr(digits.View(), 2);
        return AnsiString(BitsToHex(digits.View()));
    });
}

DAX64_API char *DAX64_CALL Str_HexStrToBitStrA(const char *hex) {
    return TextExport("dax/str_numstr[752]", [&] {
        const AnsiString digits = TextArgument(hex);
        CheckNumStr(digits.View(), 16);
        return AnsiString(HexToBits(digits.View()));
    });
}

DAX64_API char *DAX64_CALL Str_IStr_RandomA(int32_t length, const char *min, const char *max,
                                            const char *exclude) {
    return TextExport("dax/str_istr[795]", [&] {
        const AnsiString low = TextArgument(min);
        const AnsiString high = TextArgument(max);
        const AnsiString excluded = TextArgument(exclude);
        return RandomIString(length, low, high, excluded);
    });
}
