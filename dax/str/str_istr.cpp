// IString services: the editing exports. Positions and lengths count IString
// characters, 1-based (see str/istring_walk.h). Every function works in time linear
// in its texts: padding and swapping build their result in one pass instead of
// re-cutting the text once per inserted copy or group.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dax64.h"
#include "frame/error_model.h"
#include "frame/export_frame.h"
#include "imports/vek_imports.h"
#include "str/istring_ops.h"
#include "str/istring_walk.h"

namespace {

using namespace Ostrel::Zam;
using namespace Ostrel::Zam::istring;

constexpr char kPaddSource[] = "Str.Str_IStr_Padd";
constexpr char kTrimSource[] = "Str.Str_IStr_Trim";
constexpr char kInstrSource[] = "Str.Str_IStr_Instr";
constexpr char kCmpSource[] = "Str.Str_IStr_Cmp";
constexpr char kSwapSource[] = "Str.Str_IStr_Swap";

// The largest text a counted text can hold.
constexpr uint64_t kMaxTextBytes = 0x7FFFFFF0u;

// prefix + `copies` times padding + suffix.
AnsiString Joined(std::string_view prefix, std::string_view padding, uint64_t copies,
                  std::string_view suffix) {
    const uint64_t size = prefix.size() + copies * padding.size() + suffix.size();
    if (size > kMaxTextBytes)
        RaiseOutOfMemory();
    std::string text;
    text.reserve(static_cast<size_t>(size));
    text.append(prefix);
    for (uint64_t i = 0; i < copies; ++i)
        text.append(padding);
    text.append(suffix);
    return AnsiString(text);
}

// Inserting padding before the character at `position` until the text has `length`
// characters puts (length - L) / P copies there, each in front of the earlier ones;
// as the copies are all equal, they are joined at once.
AnsiString Padd(std::string_view istr, std::string_view padding, int32_t position, int32_t length) {
    const int64_t have = Length(istr);
    const int64_t unit = Length(padding);
    if (position < -1 || position == 0 || position > have + 1)
        RaiseError(kIndexInvalid, kPaddSource, nullptr);
    if (position == -1)
        position = static_cast<int32_t>(have + 1);
    if (length < have || unit == 0 || (length - have) % unit != 0)
        RaiseError(kDataInvalid, kPaddSource, nullptr);
    const size_t split = Middle(istr, 1, position - 1).size();
    return Joined(istr.substr(0, split), padding, static_cast<uint64_t>((length - have) / unit),
                  istr.substr(split));
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           VekStrnCompA(a.data(), static_cast<int32_t>(a.size()), b.data(),
                        static_cast<int32_t>(b.size()), VEK_IGNORE_CASE) == 0;
}

// Characters [from, to) of a text whose character starts are `starts`.
std::string_view Characters(std::string_view text, const std::vector<size_t> &starts, size_t from,
                            size_t to) {
    return text.substr(starts[from], starts[to] - starts[from]);
}

// Removes whole repetitions of `piece` (T characters) from one end of a canonical
// IString. Both texts are canonical, so equal characters are equal bytes.
std::string_view TrimCanonical(std::string_view text, std::string_view piece, size_t piece_length,
                               int32_t side) {
    const std::vector<size_t> starts = CharacterStarts(text);
    size_t first = 0;
    size_t last = starts.size() - 1;
    if (side == 1) {
        while (last - first >= piece_length &&
               EqualIgnoringCase(Characters(text, starts, first, first + piece_length), piece))
            first += piece_length;
    } else {
        while (last - first >= piece_length &&
               EqualIgnoringCase(Characters(text, starts, last - piece_length, last), piece))
            last -= piece_length;
    }
    return Characters(text, starts, first, last);
}

AnsiString Trim(const AnsiString &istr, const AnsiString &trimmed, int32_t side) {
    AnsiString text = Convert(istr.CStr(), kCanonical, kTrimSource);
    const AnsiString piece = Convert(trimmed.CStr(), kCanonical, kTrimSource);
    const int32_t text_length = Length(text.View());
    const int32_t piece_length = Length(piece.View());
    if (piece_length == 0 || piece_length > text_length)
        return text;
    if (side != 1 && side != -1)
        RaiseError(kDataInvalid, kTrimSource, nullptr);
    return AnsiString(
        TrimCanonical(text.View(), piece.View(), static_cast<size_t>(piece_length), side));
}

// The fully escaped form: every byte as '#' and two hexadecimal digits, so that
// every character is exactly three bytes.
std::string Escaped(const AnsiString &istr) {
    const AnsiString hex = Convert(istr.CStr(), kToHex, kInstrSource);
    const std::string_view digits = hex.View();
    std::string escaped;
    escaped.reserve(digits.size() / 2 * 3);
    for (size_t i = 0; i + 1 < digits.size(); i += 2) {
        escaped.push_back('#');
        escaped.append(digits.substr(i, 2));
    }
    return escaped;
}

// In the escaped forms '#' stands only at character starts and never among the
// digits, so a match found in the text can only begin at a character start.
int32_t Instr(const AnsiString &istr, const AnsiString &searched, int32_t start) {
    const int32_t length = Length(istr.View());
    if (length == 0)
        return 0;
    if (start <= 0 || start > length)
        RaiseError(kIndexInvalid, kInstrSource, nullptr);
    const std::string text = Escaped(istr);
    const std::string pattern = Escaped(searched);
    const size_t found = FindIgnoringCase(Middle(text, start, -1), pattern);
    if (found == std::string_view::npos)
        return 0;
    return static_cast<int32_t>(found / 3) + start;
}

int32_t Cmp(const AnsiString &istr1, const AnsiString &op, const AnsiString &istr2,
            bool case_sensitive) {
    static const char *const kOperators[] = {"=", "EQ", "<>", "NE", nullptr};
    const int32_t match = _strimatch(op.CStr(), kOperators);
    if (match == 0)
        RaiseErrorFormat(kUnknownOperator, kCmpSource, "Unknown operator: \"%.235s\"", op.CStr());
    const bool equal = Compare(istr1.CStr(), istr2.CStr(), case_sensitive) == 0;
    const bool wants_equal = (match + 1) / 2 == 1;
    return equal == wants_equal ? 1 : 0;
}

// The groups of `group` characters in reverse order. A text whose length is no
// whole multiple of the group fails as cutting its last group would (a Mid past
// the end), and so does an incomplete escape.
AnsiString Swap(std::string_view istr, int32_t group) {
    if (group <= 0)
        RaiseErrorFormat(kDataInvalid, kSwapSource, "Invalid group: %d", group);
    if (istr.empty())
        return {};
    CheckComplete(istr, kMidSource);
    const std::vector<size_t> starts = CharacterStarts(istr);
    const size_t characters = starts.size() - 1;
    const size_t width = static_cast<size_t>(group);
    if (characters % width != 0)
        RaiseError(kLengthExceeded, kMidSource, nullptr);
    std::string swapped;
    swapped.reserve(istr.size());
    for (size_t end = characters; end > 0; end -= width)
        swapped.append(Characters(istr, starts, end - width, end));
    return AnsiString(swapped);
}

}  // namespace

DAX64_API int32_t DAX64_CALL Str_IStr_LenA(const char *istr) {
    return IntegerExport("dax/str_istr[139]", [&] { return Length(TextArgument(istr).View()); });
}

DAX64_API char *DAX64_CALL Str_IStr_MidA(const char *istr, int32_t start, int32_t count) {
    return TextExport("dax/str_istr[220]", [&] {
        const AnsiString text = TextArgument(istr);
        return AnsiString(Middle(text.View(), start, count));
    });
}

DAX64_API char *DAX64_CALL Str_IStr_PaddA(const char *istr, const char *padding, int32_t position,
                                          int32_t length) {
    return TextExport("dax/str_istr[300]", [&] {
        const AnsiString text = TextArgument(istr);
        const AnsiString piece = TextArgument(padding);
        return Padd(text.View(), piece.View(), position, length);
    });
}

DAX64_API char *DAX64_CALL Str_IStr_TrimA(const char *istr, const char *trimmed, int32_t side) {
    return TextExport("dax/str_istr[414]", [&] {
        const AnsiString text = TextArgument(istr);
        const AnsiString piece = TextArgument(trimmed);
        return Trim(text, piece, side);
    });
}

DAX64_API int32_t DAX64_CALL Str_IStr_InstrA(const char *istr, const char *searched,
                                             int32_t start) {
    return IntegerExport("dax/str_istr[499]", [&] {
        const AnsiString text = TextArgument(istr);
        const AnsiString pattern = TextArgument(searched);
        return Instr(text, pattern, start);
    });
}

DAX64_API int32_t DAX64_CALL Str_IStr_CmpA(const char *istr1, const char *op, const char *istr2,
                                           int32_t case_sensitive) {
    return IntegerExport("dax/str_istr[616]", [&] {
        const AnsiString left = TextArgument(istr1);
        const AnsiString relation = TextArgument(op);
        const AnsiString right = TextArgument(istr2);
        return Cmp(left, relation, right, (case_sensitive & 0xFF) != 0);
    });
}

DAX64_API char *DAX64_CALL Str_IStr_SwapA(const char *istr, int32_t group) {
    return TextExport("dax/str_istr[662]", [&] {
        const AnsiString text = TextArgument(istr);
        return Swap(text.View(), group);
    });
}
