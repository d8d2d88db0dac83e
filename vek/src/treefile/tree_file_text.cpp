// The texts of tree files: the library's 8-bit (Latin-1) and wide (UTF-16) texts
// meet the UTF-8 of JSON here.
#include "tree_file.h"

namespace vek::treefile {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void AppendCodePoint(std::string &out, uint32_t code_point) {
    if (code_point < 0x80) {
        out.push_back(static_cast<char>(code_point));
    } else if (code_point < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else if (code_point < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code_point >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    }
}

// Appends one code point as JSON string content.
void AppendEscaped(std::string &out, uint32_t code_point) {
    switch (code_point) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    if (code_point < 0x20) {
        out += "\\u00";
        out.push_back(kHex[code_point >> 4]);
        out.push_back(kHex[code_point & 0xF]);
        return;
    }
    AppendCodePoint(out, code_point);
}

// Decodes the code point that starts at `i` of valid UTF-8 and moves `i` past it.
uint32_t NextCodePoint(std::string_view utf8, size_t &i) {
    const auto lead = static_cast<unsigned char>(utf8[i++]);
    if (lead < 0x80)
        return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    uint32_t code_point = lead & (0x3F >> extra);
    for (int k = 0; k < extra && i < utf8.size(); ++k)
        code_point = (code_point << 6) | (static_cast<unsigned char>(utf8[i++]) & 0x3F);
    return code_point;
}

}  // namespace

bool Utf8ToLatin1(std::string_view utf8, std::string &latin1) {
    latin1.clear();
    latin1.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const uint32_t code_point = NextCodePoint(utf8, i);
        if (code_point > 0xFF)
            return false;
        latin1.push_back(static_cast<char>(code_point));
    }
    return true;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string units;
    units.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const uint32_t code_point = NextCodePoint(utf8, i);
        if (code_point < 0x10000) {
            units.push_back(static_cast<char16_t>(code_point));
        } else {
            units.push_back(static_cast<char16_t>(0xD800 + ((code_point - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((code_point - 0x10000) & 0x3FF)));
        }
    }
    return units;
}

void AppendJsonString(std::string &out, std::string_view latin1) {
    out.push_back('"');
    size_t plain = 0;  // start of the run of characters that need no change
    for (size_t i = 0; i < latin1.size(); ++i) {
        const auto c = static_cast<unsigned char>(latin1[i]);
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\')
            continue;
        out.append(latin1.substr(plain, i - plain));
        AppendEscaped(out, c);
        plain = i + 1;
    }
    out.append(latin1.substr(plain));
    out.push_back('"');
}

void AppendJsonString(std::string &out, const uint16_t *units, size_t count) {
    out.push_back('"');
    for (size_t i = 0; i < count; ++i) {
        uint32_t code_point = units[i];
        if (code_point >= 0xD800 && code_point < 0xDC00 && i + 1 < count &&
            units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            code_point = 0x10000 + ((code_point - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (code_point >= 0xD800 && code_point < 0xE000) {
            code_point = 0xFFFD;  // a lone surrogate has no UTF-8 form
        }
        AppendEscaped(out, code_point);
    }
    out.push_back('"');
}

}  // namespace vek::treefile
