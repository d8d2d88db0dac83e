#include "str/istring_ops.h"

#include <string>

#include "frame/error_model.h"
#include "imports/morph_imports.h"
#include "imports/vek_imports.h"
#include "str/istring_walk.h"

namespace Ostrel::Zam::istring {

namespace {

[[noreturn]] void RaiseLengthExceeded() {
    RaiseError(kLengthExceeded, kMidSource, nullptr);
}

// The byte offset of character `start` (>= 1). Stepping onto or past the end fails,
// as a start beyond the last character has nothing to take.
size_t OffsetOfStart(std::string_view istr, int32_t start) {
    size_t offset = 0;
    for (int32_t i = 1; i < start; ++i) {
        if (offset < istr.size())
            offset = StepCharacter(istr, offset);
        if (offset >= istr.size())
            RaiseLengthExceeded();
    }
    return offset;
}

// The byte offset just after `count` characters from `first`.
size_t OffsetOfEnd(std::string_view istr, size_t first, int32_t count) {
    if (count == -1)
        return istr.size();
    size_t offset = first;
    for (int32_t i = 0; i < count; ++i) {
        if (offset >= istr.size())
            RaiseLengthExceeded();
        offset = StepCharacter(istr, offset);
    }
    return offset;
}

}  // namespace

void CheckComplete(std::string_view text, const char *source) {
    const size_t at = MeasureIString(text).incomplete_escape;
    if (at == kNoIncompleteEscape)
        return;
    const std::string tail(text.substr(at));
    RaiseErrorFormat(kDataInvalid, source, "Incomplete escape \"%.2s\" at byte %u of the IString",
                     tail.c_str(), static_cast<unsigned>(at + 1));
}

int32_t Length(std::string_view istr) {
    CheckComplete(istr, kLenSource);
    return static_cast<int32_t>(MeasureIString(istr).characters);
}

std::string_view Middle(std::string_view istr, int32_t start, int32_t count) {
    if (start <= 0)
        RaiseError(kStartOutOfRange, kMidSource, "IStr_Mid: Start value out of range");
    CheckComplete(istr, kMidSource);
    // Nothing is taken for count 0, so no start is too far: the result is empty.
    if (count == 0)
        return {};
    const size_t first = OffsetOfStart(istr, start);
    return istr.substr(first, OffsetOfEnd(istr, first, count) - first);
}

AnsiString Convert(const char *text, const char *conversion, const char *source) {
    AnsiString output;
    const int32_t status = FormatOutputA(text, conversion, output.Out(), 0);
    if (status != 0)
        RaiseError(status, source, nullptr);
    return output;
}

int32_t Compare(const char *a, const char *b, bool case_sensitive) {
    static constexpr char kSource[] = "Str.IStrCmp";
    const AnsiString left = Convert(a, kCanonical, kSource);
    const AnsiString right = Convert(b, kCanonical, kSource);
    return VekStrnCompA(left.CStr(), static_cast<int32_t>(left.Length()), right.CStr(),
                        static_cast<int32_t>(right.Length()),
                        case_sensitive ? 0u : VEK_IGNORE_CASE);
}

}  // namespace Ostrel::Zam::istring
