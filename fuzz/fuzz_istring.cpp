// IStrings and their conversions. Every export runs on the fuzzed texts (the frame
// invariants must hold); where a round trip holds it is checked against a small
// decoder and encoder written here:
// - bytes -> hex -> IString is the canonical IString, and IString -> hex gives the
//   hex text back; hex -> bits -> hex gives the hex text back;
// - the length of an IString is the number of bytes it stands for;
// - an IString equals itself and its canonical form; a middle part inside the text has
//   the length asked for and is found where it was taken; swapping whole groups twice gives
//   the same bytes.
//
// Input: byte 0 and 1 give numbers (start, count, group, side), the rest holds up to
// three texts split at zero bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The bytes an IString stands for; nullopt when a '#' lacks two hex digits.
std::optional<std::string> Decode(std::string_view istring) {
    std::string bytes;
    for (size_t i = 0; i < istring.size(); ++i) {
        if (istring[i] != '#') {
            bytes += istring[i];
            continue;
        }
        if (i + 2 >= istring.size())
            return std::nullopt;
        const int high = HexValue(istring[i + 1]), low = HexValue(istring[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

std::string Canonical(std::string_view bytes) {
    std::string text;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c <= 0x7E && c != '#') {
            text += static_cast<char>(c);
        } else {
            text += '#';
            text += kHex[c >> 4];
            text += kHex[c & 15];
        }
    }
    return text;
}

std::string Hex(std::string_view bytes) {
    std::string text;
    for (unsigned char c : bytes) {
        text += kHex[c >> 4];
        text += kHex[c & 15];
    }
    return text;
}

std::string Bits(std::string_view hex) {
    std::string bits;
    for (char c : hex) {
        const int value = HexValue(c);
        for (int bit = 3; bit >= 0; --bit)
            bits += (value >> bit) & 1 ? '1' : '0';
    }
    return bits;
}

bool SameBytes(const std::string &a, const std::string &b) {
    return fuzz::CheckedInteger("Str_IStr_CmpA",
                                [&] { return Str_IStr_CmpA(a.c_str(), "EQ", b.c_str(), 1); }) == 1;
}

void CheckConversions(const std::string &raw) {
    const std::string hex = Hex(raw);
    const fuzz::TextOutcome istring =
        fuzz::CheckedText("HexStrToIStr", [&] { return Str_HexStrToIStrA(hex.c_str()); });
    fuzz::Check(istring.Ok() && istring.Value() == Canonical(raw),
                "HexStrToIStr(" + hex + ") gave " + istring.Value());
    const fuzz::TextOutcome back = fuzz::CheckedText(
        "IStrToHexStr", [&] { return Str_IStrToHexStrA(istring.Value().c_str()); });
    fuzz::Check(back.Ok() && back.Value() == hex, "IStrToHexStr(" + istring.Value() + ")");
    const fuzz::TextOutcome bits =
        fuzz::CheckedText("HexStrToBitStr", [&] { return Str_HexStrToBitStrA(hex.c_str()); });
    fuzz::Check(bits.Ok() && bits.Value() == Bits(hex), "HexStrToBitStr(" + hex + ")");
    const fuzz::TextOutcome hex_again = fuzz::CheckedText(
        "BitStrToHexStr", [&] { return Str_BitStrToHexStrA(bits.Value().c_str()); });
    fuzz::Check(hex_again.Ok() && hex_again.Value() == hex, "BitStrToHexStr of " + hex);
    fuzz::Check(
        fuzz::CheckedInteger("Len", [&] { return Str_IStr_LenA(istring.Value().c_str()); }) ==
            static_cast<int32_t>(raw.size()),
        "length of " + istring.Value());
}

void CheckEditing(const std::string &text, const std::string &other, int32_t a, int32_t b) {
    const char *t = text.c_str();
    const int32_t length = fuzz::CheckedInteger("Len", [&] { return Str_IStr_LenA(t); });
    const std::optional<std::string> bytes = Decode(text);
    const fuzz::TextOutcome mid = fuzz::CheckedText("MidA", [&] { return Str_IStr_MidA(t, a, b); });
    fuzz::CheckedText("PaddA", [&] { return Str_IStr_PaddA(t, other.c_str(), a, b); });
    fuzz::CheckedText("TrimA", [&] { return Str_IStr_TrimA(t, other.c_str(), b % 2 ? 1 : -1); });
    fuzz::CheckedInteger("InstrA", [&] { return Str_IStr_InstrA(t, other.c_str(), a); });
    fuzz::CheckedInteger("CmpA", [&] { return Str_IStr_CmpA(t, "<>", other.c_str(), b); });
    const fuzz::TextOutcome swapped =
        fuzz::CheckedText("SwapA", [&] { return Str_IStr_SwapA(t, b); });
    fuzz::CheckedText("IStrToHexStr", [&] { return Str_IStrToHexStrA(t); });
    fuzz::CheckedText("BitStrToHexStr", [&] { return Str_BitStrToHexStrA(t); });
    fuzz::CheckedText("HexStrToBitStr", [&] { return Str_HexStrToBitStrA(t); });
    fuzz::CheckedText("HexStrToIStr", [&] { return Str_HexStrToIStrA(t); });
    if (!bytes.has_value() || length < 0)
        return;
    fuzz::Check(length == static_cast<int32_t>(bytes->size()), "Len(" + text + ")");
    fuzz::Check(SameBytes(text, text) && SameBytes(text, Canonical(*bytes)),
                "an IString unequal to itself: " + text);
    if (a >= 1 && b >= 1 && a + b - 1 <= length) {
        fuzz::Check(mid.Ok() && Str_IStr_LenA(mid.Value().c_str()) == b,
                    "Mid(" + text + ") has the wrong length");
        const int32_t found = Str_IStr_InstrA(t, mid.Value().c_str(), 1);
        fuzz::Check(found >= 1 && found <= a, "Mid(" + text + ") not found where it was taken");
    }
    if (b >= 1 && length % b == 0 && swapped.Ok()) {
        const fuzz::TextOutcome twice =
            fuzz::CheckedText("SwapA", [&] { return Str_IStr_SwapA(swapped.Value().c_str(), b); });
        fuzz::Check(twice.Ok() && SameBytes(twice.Value(), text), "Swap twice of " + text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2 || size > 4096)
        return 0;
    const int32_t a = static_cast<int8_t>(data[0]);
    const int32_t b = static_cast<int8_t>(data[1]);
    const std::string_view rest(reinterpret_cast<const char *>(data + 2), size - 2);
    const std::string text = fuzz::Part(rest, 0);
    const std::string other = fuzz::Part(rest, 1);
    CheckConversions(std::string(rest.substr(0, 256)));
    CheckEditing(text, other, a, b);
    return 0;
}
