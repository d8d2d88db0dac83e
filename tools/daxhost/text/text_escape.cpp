#include "text/text_escape.h"

namespace daxhost {

namespace {

bool IsPrintable(unsigned char byte) {
    return byte >= 0x20 && byte <= 0x7E;
}

void AppendControl(std::string &out, unsigned char byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    switch (byte) {
        case '\n':
            out += "\\n";
            return;
        case '\t':
            out += "\\t";
            return;
        case '\r':
            out += "\\r";
            return;
        default:
            out += "\\x";
            out += kDigits[byte >> 4];
            out += kDigits[byte & 0x0F];
    }
}

}  // namespace

std::string QuoteText(std::string_view bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (IsPrintable(byte)) {
            out += c;
        } else {
            AppendControl(out, byte);
        }
    }
    return out + '"';
}

std::string EscapeControls(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsPrintable(byte))
            out += c;
        else
            AppendControl(out, byte);
    }
    return out;
}

}  // namespace daxhost
