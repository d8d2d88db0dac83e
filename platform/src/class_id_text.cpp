// The text form of class identifiers: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
#include <cstdio>

#include "platform/class_registry.h"

namespace platform {

std::string ClassIdText(const GUID &guid) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

namespace {

bool HexDigits(std::string_view text, size_t at, size_t count, unsigned long long *value) {
    if (at + count > text.size())
        return false;
    *value = 0;
    for (size_t i = at; i < at + count; ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        *value = *value * 16 + static_cast<unsigned>(digit);
    }
    return true;
}

}  // namespace

bool ClassIdFromText(std::string_view text, GUID *guid) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}' || text[9] != '-' ||
        text[14] != '-' || text[19] != '-' || text[24] != '-')
        return false;
    unsigned long long value = 0;
    GUID parsed{};
    if (!HexDigits(text, 1, 8, &value))
        return false;
    parsed.Data1 = static_cast<decltype(parsed.Data1)>(value);
    if (!HexDigits(text, 10, 4, &value))
        return false;
    parsed.Data2 = static_cast<decltype(parsed.Data2)>(value);
    if (!HexDigits(text, 15, 4, &value))
        return false;
    parsed.Data3 = static_cast<decltype(parsed.Data3)>(value);
    constexpr size_t kByteAt[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (size_t i = 0; i < 8; ++i) {
        if (!HexDigits(text, kByteAt[i], 2, &value))
            return false;
        parsed.Data4[i] = static_cast<unsigned char>(value);
    }
    *guid = parsed;
    return true;
}

}  // namespace platform
