// Automation dates (days since 1899-12-30, the fraction being the time of day) as
// ISO 8601 texts.
#pragma once

#include <string>
#include <string_view>

namespace vek {

// "YYYY-MM-DD" when the value has no time part (after rounding to the second),
// otherwise "YYYY-MM-DD hh:mm:ss". False for a value outside the years 100..9999 or
// not a number.
bool FormatAutomationDate(double date, std::string &text);

// True for a number that stands for a moment of the years 100..9999.
bool IsAutomationDateInRange(double date);

// The date of an ISO 8601 text "YYYY-MM-DD" or "YYYY-MM-DD hh:mm:ss" (' ' or 'T'
// before the time) of the years 100..9999; every field must have its digits and be
// a real calendar value (no 2026-02-30, no 24:00:00). False for anything else.
bool ParseAutomationDate(std::string_view text, double &date);

}  // namespace vek
