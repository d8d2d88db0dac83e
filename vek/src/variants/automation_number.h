// The numbers of automation VARIANTs that the library's variants do not hold as
// such (single and double floats, currency, decimals), brought to integers or
// decimal text.
#pragma once

#include <cstdint>

#include "platform/com.h"
#include "vek64_store.h"

namespace vek::variant {

// A VT_R4, VT_R8, VT_CY or VT_DECIMAL `number` as a variant: a whole number that fits
// 64 bits becomes an integer (a 32-bit one when it fits that), any other its decimal
// text ("1.5", "-0.0001", "1e+300"). Not-a-number, infinities and malformed decimals
// fail with VEK_E_TYPEMISMATCH. 0 or a status; `result` is written only on success.
int32_t AssignAutomationNumber(VEKVARIANT &result, const VARIANT &number, const char *function);

// An integer as the narrowest integer variant: 32 bits when it fits, else 64.
void AssignInteger(VEKVARIANT &result, int64_t value);

}  // namespace vek::variant
