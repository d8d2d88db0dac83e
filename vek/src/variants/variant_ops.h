// The building blocks of the variant exports, shared by the conversions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "errors/failure.h"
#include "vek64_store.h"

namespace vek::variant {

// True for the two kinds that hold a counted object reference.
bool IsObjectType(uint32_t type);

// Frees what the variant owns (releases the object it references) and leaves it
// empty.
void Release(VEKVARIANT &variant);

// A deep copy of `source` in `copy` (which owns nothing yet); an object gets one more
// reference. 0 or a failure status.
int32_t Duplicate(const VEKVARIANT &source, VEKVARIANT &copy, const char *function);

// Copies a text or blob `source` into the block that `target`, of the same kind,
// owns already, when that block has room: rewriting a value then costs no
// allocation. False, with `target` untouched, when it cannot (other kinds, an
// empty value on either side, a block too small).
bool OverwriteInPlace(VEKVARIANT &target, const VEKVARIANT &source);

// Replace the value by an 8-bit text, by a wide text (each byte one unit, as Latin-1;
// or the given 16-bit units) or by a blob of bytes; null arrays for empty values. 0 or
// a status; the variant is untouched on failure.
int32_t AssignText(VEKVARIANT &variant, std::string_view text, const char *function);
int32_t AssignWideText(VEKVARIANT &variant, std::string_view latin1, const char *function);
int32_t AssignWideUnits(VEKVARIANT &variant, const uint16_t *units, size_t count,
                        const char *function);
int32_t AssignBlob(VEKVARIANT &variant, std::string_view bytes, const char *function);

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

// The value as a Boolean / a date (days since 1899-12-30). 0 or a status; `result` is
// written only on success.
int32_t BooleanOf(const VEKVARIANT &value, const char *function, bool &result);
int32_t DateOf(const VEKVARIANT &value, const char *function, double &result);

// The value as a double. 0 or a status; `result` is written only on success.
int32_t DoubleOf(const VEKVARIANT &value, const char *function, double &result);

// The shortest decimal text that reads back as `value` ("1.5", "1e+300"), "NaN",
// "Infinity" or "-Infinity".
std::string DoubleText(double value);

// A whole text as a double: a decimal number with optional sign, fraction and
// exponent, or one of the texts DoubleText writes for the special values. False for
// anything else (also for surrounding blanks).
bool ParseDouble(std::string_view text, double &value);

// A short name of a type for failure messages ("a date", "a blob", ...).
const char *TypeName(uint32_t type);

// A text in double quotes for a failure message, cut after 100 characters ("...").
std::string Quoted(std::string_view text);

// The value as a failure message names it: numbers and dates as text, texts quoted,
// other kinds by their type name.
std::string Describe(const VEKVARIANT &value);

// Fails with `code` and "Cannot convert <what> to <target>", adding ": out of range"
// for VEK_E_OVERFLOW. Returns the status.
int32_t CannotConvert(int32_t code, std::string_view what, const char *target,
                      const char *function);

// The body of the VekVarTo... exports: `read(value, function, result)` fills a
// `Value` that starts as what an empty variant reads as (a null variant is empty),
// and only a success writes it to `*out`. A null `out` is refused.
template <typename Value, typename Out, typename Read>
int32_t ReadInto(const char *function, const VEKVARIANT *variant, Out *out, Read read) {
    if (out == nullptr)
        return Fail(VEK_E_POINTER, function, "No result address given");
    Value result{};
    if (variant != nullptr) {
        if (const int32_t status = read(*variant, function, result))
            return status;
    }
    *out = static_cast<Out>(result);
    return 0;
}

}  // namespace vek::variant
