// The building blocks of the variant exports, shared by the conversions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vek64_store.h"

namespace vek::variant {

// Frees what the variant owns and leaves it empty.
void Release(VEKVARIANT &variant);

// A deep copy of `source` in `copy` (which owns nothing yet). 0 or a failure status.
int32_t Duplicate(const VEKVARIANT &source, VEKVARIANT &copy, const char *function);

// Replaces the value by an 8-bit text (null for the empty text). 0 or a status; the
// variant is untouched on failure.
int32_t AssignText(VEKVARIANT &variant, std::string_view text, const char *function);

// The characters of a text variant, wide text narrowed to Latin-1 (units above 0xFF
// become '?').
std::string NarrowText(const uint16_t *wide);

// The text form of any value: integers in decimal, Booleans "True"/"False", dates as
// "YYYY-MM-DD" or "YYYY-MM-DD hh:mm:ss", blobs their bytes. 0 or a status.
int32_t TextOf(const VEKVARIANT &value, std::string &text, const char *function);

// The integer types a value converts to, with the name used in failure messages.
struct IntegerTarget {
    int64_t minimum;
    int64_t maximum;
    const char *name;
};
inline constexpr IntegerTarget kInt32Target{INT32_MIN, INT32_MAX, "a 32-bit integer"};
inline constexpr IntegerTarget kInt64Target{INT64_MIN, INT64_MAX, "a 64-bit integer"};

// The value as an integer of the target's range. 0 or a status; `result` is written
// only on success.
int32_t IntegerOf(const VEKVARIANT &value, const IntegerTarget &target, const char *function,
                  int64_t &result);

// A short name of a type for failure messages ("a date", "a blob", ...).
const char *TypeName(uint32_t type);

}  // namespace vek::variant
