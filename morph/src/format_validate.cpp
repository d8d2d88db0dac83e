// FormatValidateA: checks a value against an input format mask (input_mask.h).
#include <string>

#include "export_status.h"
#include "input_mask.h"
#include "istring_codec.h"
#include "morph64.h"

namespace {

constexpr char kFormatValidate[] = "Morph.FormatValidateA";

int32_t Validate(std::string_view value, int32_t value_flags, std::string_view mask,
                 int32_t mask_flags) {
    if (value_flags != 0 || mask_flags != 0)
        return morph::Fail(MORPH_E_BAD_ARGUMENT, kFormatValidate, "Flags must be 0");
    switch (morph::MatchInputMask(value, mask)) {
        case morph::MaskOutcome::kMatch:
            return 0;
        case morph::MaskOutcome::kMismatch:
            return MORPH_S_MASK_MISMATCH;
        case morph::MaskOutcome::kMalformed:
            break;
    }
    return morph::Fail(MORPH_E_BAD_MASK, kFormatValidate,
                       "Invalid input format mask \"" + std::string(morph::Excerpt(mask, 150)) +
                           "\": a trailing '\\' escapes nothing");
}

}  // namespace

MORPH_API int32_t MORPH_CALL FormatValidateA(const char *value, int32_t value_flags,
                                             const char *mask, int32_t mask_flags) {
    return morph::Guarded(kFormatValidate, [&] {
        return Validate(morph::TextOf(value), value_flags, morph::TextOf(mask), mask_flags);
    });
}
