#include "str/numstr_check.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "frame/error_model.h"

namespace Ostrel::Zam {

namespace {

// Whether the eight bytes at `text` are all decimal digits: each byte's high half
// must be 3, and still 3 after adding 6 (so its low half is at most 9). A byte whose
// sum carries into its neighbour has a high half other than 3 itself, so a carry can
// only make a failing word fail; the test holds whatever the byte order.
bool EightDecimalDigitsAt(const char *text) {
    uint64_t word = 0;
    std::memcpy(&word, text, sizeof word);
    constexpr uint64_t kHighHalves = 0xF0F0F0F0F0F0F0F0u;
    const uint64_t high = word & kHighHalves;
    const uint64_t raised = (word + 0x0606060606060606u) & kHighHalves;
    return (high | (raised >> 4)) == 0x3333333333333333u;
}

}  // namespace

void CheckNumStr(std::string_view text, int32_t base) {
    // Decimal texts, the usual ones, pass eight digits a step; the first word with
    // anything else in it is looked at byte by byte.
    size_t checked = 0;
    if (base == 10) {
        while (checked + 8 <= text.size() && EightDecimalDigitsAt(text.data() + checked))
            checked += 8;
    }
    for (const char c : text.substr(checked)) {
        // kNoDigit lies above every base, so one comparison refuses both.
        if (DigitValue(c) >= base) {
            const std::string shown(text.substr(0, 242));
            RaiseErrorFormat(0xE2090003, "Str.CheckNumStr", "\"%.242s\" is invalid", shown.c_str());
        }
    }
}

void CheckNumStrBase(int32_t base, const char *source) {
    if (base < kMinNumStrBase || base > kMaxNumStrBase)
        RaiseErrorFormat(0xE2090003, source, "Invalid base: %d", static_cast<int>(base));
}

}  // namespace Ostrel::Zam
