// The exported conversions. Each export checks its arguments, runs the codec and
// hands the result out as a counted array of the support library. A failure sets
// the thread's error information and returns the code; the output argument then
// keeps what it held. No exception leaves an export.
#include <string>
#include <string_view>

#include "export_status.h"
#include "istring_codec.h"
#include "morph64.h"
#include "vek64.h"

namespace {

using morph::CodecResult;
using morph::Fail;
using morph::Guarded;
using morph::Store;
using morph::TextOf;

constexpr char kFormatOutput[] = "Morph.FormatOutput";
constexpr char kIStrToRaw[] = "Morph.FormatIStrToRaw";
constexpr char kRawToIStr[] = "Morph.CFormatRawToIStr";

// ---- Conversions of FormatOutputA ----------------------------------------------

using Conversion = CodecResult (*)(std::string_view);

CodecResult IStringToHex(std::string_view istring) {
    CodecResult result = morph::DecodeIString(istring);
    if (result.ok())
        result.bytes = morph::EncodeHex(result.bytes);
    return result;
}

CodecResult HexToIString(std::string_view hex) {
    CodecResult result = morph::DecodeHex(hex);
    if (result.ok())
        result.bytes = morph::EncodeIString(result.bytes);
    return result;
}

CodecResult CanonicalIString(std::string_view istring) {
    CodecResult result = morph::DecodeIString(istring);
    if (result.ok())
        result.bytes = morph::EncodeIString(result.bytes);
    return result;
}

struct NamedConversion {
    std::string_view name;
    Conversion convert;
};

constexpr NamedConversion kConversions[] = {
    {"RAW2HEX", IStringToHex},
    {"HEX2RAW", HexToIString},
    {"RAW2HEX.HEX2RAW", CanonicalIString},
};

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i]))
            return false;
    }
    return true;
}

Conversion FindConversion(std::string_view name) {
    for (const NamedConversion &conversion : kConversions) {
        if (EqualIgnoringCase(conversion.name, name))
            return conversion.convert;
    }
    return nullptr;
}

// Hands a codec result out through *output, or fails with the codec's error.
template <class Output>
int32_t Deliver(const CodecResult &result, Output *output, const char *source) {
    if (!result.ok())
        return Fail(result.error.code, source, result.error.description);
    return Store(output, result.bytes, source);
}

int32_t FormatOutput(std::string_view input, std::string_view conversion_name, char **output,
                     int32_t flags) {
    if (output == nullptr)
        return Fail(MORPH_E_BAD_ARGUMENT, kFormatOutput, "No output address given");
    if (flags != 0)
        return Fail(MORPH_E_BAD_ARGUMENT, kFormatOutput,
                    "Flags must be 0, not " + std::to_string(flags));
    const Conversion convert = FindConversion(conversion_name);
    if (convert == nullptr)
        return Fail(MORPH_E_UNKNOWN_FORMAT, kFormatOutput,
                    "Unknown conversion '" + std::string(morph::Excerpt(conversion_name, 150)) +
                        "' (known: RAW2HEX, HEX2RAW, RAW2HEX.HEX2RAW)");
    return Deliver(convert(input), output, kFormatOutput);
}

int32_t IStringToRaw(std::string_view istring, void **buffer) {
    if (buffer == nullptr)
        return Fail(MORPH_E_BAD_ARGUMENT, kIStrToRaw, "No buffer address given");
    return Deliver(morph::DecodeIString(istring), buffer, kIStrToRaw);
}

int32_t RawToIString(const void *buffer, char **output) {
    if (output == nullptr)
        return Fail(MORPH_E_BAD_ARGUMENT, kRawToIStr, "No output address given");
    const int32_t count = VekArrayCountEx_(buffer);
    const std::string_view bytes =
        count > 0 ? std::string_view(static_cast<const char *>(buffer), static_cast<size_t>(count))
                  : std::string_view();
    return Store(output, morph::EncodeIString(bytes), kRawToIStr);
}

}  // namespace

MORPH_API int32_t MORPH_CALL FormatOutputA(const char *input, const char *conversion, char **output,
                                           int32_t flags) {
    return Guarded(kFormatOutput,
                   [&] { return FormatOutput(TextOf(input), TextOf(conversion), output, flags); });
}

MORPH_API int32_t MORPH_CALL FormatIStrToRawA(const char *istr, void **buffer) {
    return Guarded(kIStrToRaw, [&] { return IStringToRaw(TextOf(istr), buffer); });
}

MORPH_API int32_t MORPH_CALL CFormatRawToIStr(const void *buffer, char **output) {
    return Guarded(kRawToIStr, [&] { return RawToIString(buffer, output); });
}
