// Conversions between 8-bit texts and wide (UTF-16) texts, as Latin-1.
#include "platform/com.h"

namespace platform {

BSTR BstrFromText(std::string_view text) {
    std::basic_string<OLECHAR> wide(text.size(), OLECHAR{});
    for (std::size_t i = 0; i < text.size(); ++i)
        wide[i] = static_cast<OLECHAR>(static_cast<unsigned char>(text[i]));
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string TextFromWide(const OLECHAR *text, std::size_t length) {
    std::string narrow(length, '\0');
    for (std::size_t i = 0; i < length; ++i) {
        auto unit = static_cast<uint32_t>(text[i]);
        narrow[i] = unit <= 0xFF ? static_cast<char>(unit) : '?';
    }
    return narrow;
}

std::string TextFromBstr(BSTR text) {
    return text == nullptr ? std::string() : TextFromWide(text, SysStringLen(text));
}

}  // namespace platform
