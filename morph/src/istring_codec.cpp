#include "istring_codec.h"

#include <utility>

#include "morph64.h"

namespace morph {

namespace {

// Bytes of the offending text quoted in a description; with the fixed words and a
// 20-digit position the longest description stays below 256 characters.
constexpr size_t kExcerptLimit = 150;

constexpr char kUpperDigits[] = "0123456789ABCDEF";

// The value of a hexadecimal digit of either case, or -1.
int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool IsPlainInIString(unsigned char byte) {
    return byte >= 0x20 && byte <= 0x7E && byte != '#';
}

std::string Quoted(std::string_view text) {
    std::string quoted = "'";
    quoted += Excerpt(text, kExcerptLimit);
    quoted += "'";
    return quoted;
}

CodecResult Failure(int32_t code, std::string description) {
    return CodecResult{{}, CodecError{code, std::move(description)}};
}

CodecResult BadEscape(std::string_view istring, size_t index) {
    return Failure(MORPH_E_BAD_ISTRING, "Invalid IString " + Quoted(istring) + ": '#' at byte " +
                                            std::to_string(index + 1) +
                                            " is not followed by two hexadecimal digits");
}

CodecResult BadHexDigit(std::string_view hex, size_t index) {
    const auto byte = static_cast<unsigned char>(hex[index]);
    const char code[] = {'0', 'x', kUpperDigits[byte >> 4], kUpperDigits[byte & 0xF], '\0'};
    return Failure(MORPH_E_BAD_HEX, std::string("Invalid hexadecimal digit ") + code + " at byte " +
                                        std::to_string(index + 1) + " of " + Quoted(hex));
}

// The byte of the two digits at `digits`, or -1 when either is no hex digit.
int HexPair(const char *digits) {
    const int high = HexValue(digits[0]);
    const int low = HexValue(digits[1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

void AppendHexByte(std::string &out, unsigned char byte) {
    out += kUpperDigits[byte >> 4];
    out += kUpperDigits[byte & 0xF];
}

}  // namespace

std::string_view Excerpt(std::string_view text, size_t limit) {
    return text.substr(0, limit);
}

CodecResult DecodeIString(std::string_view istring) {
    CodecResult result;
    result.bytes.reserve(istring.size());
    for (size_t i = 0; i < istring.size(); ++i) {
        if (istring[i] != '#') {
            result.bytes += istring[i];
            continue;
        }
        // Both digits must lie inside the view before either is looked at.
        const int byte = istring.size() - i > 2 ? HexPair(istring.data() + i + 1) : -1;
        if (byte < 0)
            return BadEscape(istring, i);
        result.bytes += static_cast<char>(byte);
        i += 2;
    }
    return result;
}

std::string EncodeIString(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsPlainInIString(byte)) {
            out += c;
            continue;
        }
        out += '#';
        AppendHexByte(out, byte);
    }
    return out;
}

CodecResult DecodeHex(std::string_view hex) {
    for (size_t i = 0; i < hex.size(); ++i) {
        if (HexValue(hex[i]) < 0)
            return BadHexDigit(hex, i);
    }
    if (hex.size() % 2 != 0)
        return Failure(MORPH_E_ODD_HEX, "Odd number of hexadecimal digits (" +
                                            std::to_string(hex.size()) + ") in " + Quoted(hex));
    CodecResult result;
    result.bytes.resize(hex.size() / 2);
    for (size_t i = 0; i < result.bytes.size(); ++i)
        result.bytes[i] = static_cast<char>(HexPair(hex.data() + 2 * i));
    return result;
}

std::string EncodeHex(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes)
        AppendHexByte(out, static_cast<unsigned char>(c));
    return out;
}

}  // namespace morph
