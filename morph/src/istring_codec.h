// Conversions between byte strings, IStrings and hexadecimal text.
//
// These are plain C++ functions without side effects: a failure comes back as a
// CodecError holding a MORPH_E_* code and a description that names the offending
// text (cut so that the description stays under 256 characters). Every function
// runs in time linear in its input and never reads outside the given view.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morph {

struct CodecError {
    int32_t code = 0;  // 0 when there is no error, else a MORPH_E_* code
    std::string description;
};

// A byte string, or the error that prevented it.
struct CodecResult {
    std::string bytes;
    CodecError error;

    bool ok() const { return error.code == 0; }
};

// The bytes that an IString denotes: "#XX" (hex digits of either case) is the byte
// 0xXX, every other character is itself. A '#' without two hex digits after it is
// MORPH_E_BAD_ISTRING.
CodecResult DecodeIString(std::string_view istring);

// The canonical IString of `bytes`: 0x20..0x7E except '#' plain, all else "#XX".
std::string EncodeIString(std::string_view bytes);

// The bytes written by hexadecimal text: an even number of digits of either case.
// MORPH_E_BAD_HEX for a character that is no digit, MORPH_E_ODD_HEX for an odd count.
CodecResult DecodeHex(std::string_view hex);

// Two upper-case hex digits per byte.
std::string EncodeHex(std::string_view bytes);

// The first `limit` bytes of `text`, for naming it in a description.
std::string_view Excerpt(std::string_view text, size_t limit);

}  // namespace morph
