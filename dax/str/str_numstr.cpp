// The NumStr exports: arithmetic and digit-wise logic, comparison, random numbers
// between bounds and base conversion. Each checks its base (2..36) and its NumStr
// arguments before anything else, then hands the texts to the operations of
// numstr_digits (linear, digit by digit) or numstr_big (exact whole numbers).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "dax64.h"
#include "frame/ansi_string.h"
#include "frame/ascii_case.h"
#include "frame/error_model.h"
#include "frame/export_frame.h"
#include "imports/vek_imports.h"
#include "str/numstr_big.h"
#include "str/numstr_check.h"
#include "str/numstr_digits.h"
#include "str/numstr_random.h"

namespace Ostrel::Zam {

namespace {

constexpr const char *kArithmOpFrame = "dax/str_numstr[316]";
constexpr const char *kCmpFrame = "dax/str_numstr[379]";
constexpr const char *kRandomFrame = "dax/str_numstr[543]";
constexpr const char *kConvFrame = "dax/str_numstr[612]";

constexpr const char *kArithmOpSource = "Str.Str_NumStr_ArithmOp";
constexpr const char *kCmpSource = "Str.Str_NumStr_Cmp";
constexpr const char *kConvSource = "Str.Str_NumStr_Conv";

constexpr uint32_t kIntegerDivisionByZero = 0xC0000094u;

// The arguments as the body reads them: a null pointer is the empty text.
std::string_view ArgumentView(const char *text) {
    return text != nullptr ? std::string_view(text) : std::string_view();
}

// The 1-based position of the operator in the list (ignoring case), or a raise of
// 0xE209000A naming it.
template <size_t kCount>
int32_t MatchOperator(const char *op, const std::array<std::string_view, kCount> &operators,
                      const char *source) {
    const char *text = op != nullptr ? op : "";
    const std::string_view view(text);
    for (size_t i = 0; i < kCount; ++i) {
        if (Same_Ignoring_Ascii_Case(view, operators[i]))
            return static_cast<int32_t>(i) + 1;
    }
    RaiseErrorFormat(0xE209000A, source, "Unknown operator: \"%.235s\"", text);
}

enum class ArithmOp { kAdd = 1, kSub, kMul, kDiv, kMod, kAnd, kOr, kXor };

constexpr std::array<std::string_view, 8> kArithmOperators = {"ADD", "SUB", "MUL", "DIV",
                                                              "MOD", "AND", "OR",  "XOR"};

std::string Calculate(ArithmOp op, std::string_view a, std::string_view b, int32_t base) {
    switch (op) {
        case ArithmOp::kAdd:
            return NumStrAdd(a, b, base);
        case ArithmOp::kSub:
            return NumStrSub(a, b, base);
        case ArithmOp::kMul:
            return NumStrMul(a, b, base);
        case ArithmOp::kDiv:
            return NumStrDiv(a, b, base);
        case ArithmOp::kMod:
            return NumStrMod(a, b, base);
        case ArithmOp::kAnd:
            return NumStrAnd(a, b, base);
        case ArithmOp::kOr:
            return NumStrOr(a, b, base);
        case ArithmOp::kXor:
            return NumStrXor(a, b, base);
    }
    return {};
}

std::string ArithmOperation(std::string_view a, const char *op_text, std::string_view b,
                            int32_t base) {
    CheckNumStrBase(base, kArithmOpSource);
    CheckNumStr(a, base);
    CheckNumStr(b, base);
    const auto op =
        static_cast<ArithmOp>(MatchOperator(op_text, kArithmOperators, kArithmOpSource));
    // A zero divisor fails as the hardware division would, but is never attempted.
    if ((op == ArithmOp::kDiv || op == ArithmOp::kMod) && NumStrIsZero(b))
        RaiseOSException(kIntegerDivisionByZero, kArithmOpFrame);
    return Calculate(op, a, b, base);
}

// Relations by (position + 1) / 2 of the matched operator.
constexpr std::array<std::string_view, 12> kCmpOperators = {"<",  "LT", "<=", "LE", "=", "EQ",
                                                            "<>", "NE", ">=", "GE", ">", "GT"};

bool Holds(int32_t relation, int order) {
    switch (relation) {
        case 1:
            return order < 0;
        case 2:
            return order <= 0;
        case 3:
            return order == 0;
        case 4:
            return order != 0;
        case 5:
            return order >= 0;
        default:
            return order > 0;
    }
}

int32_t Compare(std::string_view a, const char *op_text, std::string_view b, int32_t base) {
    CheckNumStrBase(base, kCmpSource);
    CheckNumStr(a, base);
    CheckNumStr(b, base);
    const int32_t relation = (MatchOperator(op_text, kCmpOperators, kCmpSource) + 1) / 2;
    return Holds(relation, NumStrCompare(a, b)) ? 1 : 0;
}

// The conversion of a checked text, padded to `length` (-1: as long as it is).
std::string Convert(std::string_view text, int32_t from, int32_t to, int32_t length) {
    std::string converted = NumStrConvert(text, from, to);
    if (length == -1)
        return converted;
    if (length < 0 || converted.size() > static_cast<size_t>(length))
        RaiseError(0xE2090008, kConvSource, nullptr);
    if (static_cast<size_t>(length) > kLongestText)
        RaiseOutOfMemory();
    return PadWithZeros(converted, static_cast<size_t>(length));
}

// The export's result: a value that fits a word, unpadded (most calls), goes from
// its digits straight into the returned text.
AnsiString ConvertedText(std::string_view text, int32_t from, int32_t to, int32_t length) {
    CheckNumStrBase(from, kConvSource);
    CheckNumStrBase(to, kConvSource);
    CheckNumStr(text, from);
    if (length == -1) {
        char room[kWordDigitsRoom];
        const std::string_view digits = NumStrConvertWord(text, from, to, room);
        if (!digits.empty())
            return AnsiString(digits);
    }
    return AnsiString(Convert(text, from, to, length));
}

}  // namespace

}  // namespace Ostrel::Zam

using namespace Ostrel::Zam;

DAX64_API char *DAX64_CALL Str_NumStr_ArithmOpA(const char *a, const char *op, const char *b,
                                                int32_t base) {
    return TextExport(kArithmOpFrame, [&] {
        return AnsiString(ArithmOperation(ArgumentView(a), op, ArgumentView(b), base));
    });
}

DAX64_API int32_t DAX64_CALL Str_NumStr_CmpA(const char *a, const char *op, const char *b,
                                             int32_t base) {
    return IntegerExport(kCmpFrame,
                         [&] { return Compare(ArgumentView(a), op, ArgumentView(b), base); });
}

DAX64_API char *DAX64_CALL Str_NumStr_RandomA(int32_t length, const char *minimum,
                                              const char *maximum, const char *excluded,
                                              int32_t base) {
    return TextExport(kRandomFrame, [&] {
        return AnsiString(NumStrRandom(length, ArgumentView(minimum), ArgumentView(maximum),
                                       ArgumentView(excluded), base));
    });
}

DAX64_API char *DAX64_CALL Str_NumStr_ConvA(const char *text, int32_t from_base, int32_t to_base,
                                            int32_t length) {
    return TextExport(
        kConvFrame, [&] { return ConvertedText(ArgumentView(text), from_base, to_base, length); });
}
