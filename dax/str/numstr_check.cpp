#include "str/numstr_check.h"

#include <string>

#include "frame/error_model.h"

namespace Ostrel::Zam {

void CheckNumStr(std::string_view text, int32_t base) {
    for (const char c : text) {
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
