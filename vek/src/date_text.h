// Automation dates (days since 1899-12-30, the fraction being the time of day) as
// ISO 8601 texts.
#pragma once

#include <string>

namespace vek {

// "YYYY-MM-DD" when the value has no time part (after rounding to the second),
// otherwise "YYYY-MM-DD hh:mm:ss". False for a value outside the years 100..9999 or
// not a number.
bool FormatAutomationDate(double date, std::string &text);

}  // namespace vek
