// BSTR functions where the system has no oleaut32. A BSTR points just past a
// 32-bit byte count; the block begins at the count and the text is followed by a
// zero OLECHAR, so a BSTR can be read as a zero-terminated wide text.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/com.h"

namespace {

constexpr std::size_t kMaxBytes = 0x7FFFFFF0u;

uint32_t *BlockOf(BSTR text) {
    return reinterpret_cast<uint32_t *>(text) - 1;
}

// A BSTR of `bytes` bytes copied from `data` (zeroed when null), or null.
BSTR AllocBytes(const void *data, std::size_t bytes) {
    if (bytes > kMaxBytes)
        return nullptr;
    auto *block = static_cast<uint32_t *>(std::malloc(sizeof(uint32_t) + bytes + sizeof(OLECHAR)));
    if (block == nullptr)
        return nullptr;
    block[0] = static_cast<uint32_t>(bytes);
    auto *bytes_out = reinterpret_cast<unsigned char *>(block + 1);
    if (data != nullptr)
        std::memcpy(bytes_out, data, bytes);
    else
        std::memset(bytes_out, 0, bytes);
    std::memset(bytes_out + bytes, 0, sizeof(OLECHAR));
    return reinterpret_cast<BSTR>(bytes_out);
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR *text, UINT length) {
    // Checked before multiplying: with a 32-bit size_t, 2^31 characters and more
    // would wrap to a small byte count.
    if (length > kMaxBytes / sizeof(OLECHAR))
        return nullptr;
    return AllocBytes(text, std::size_t{length} * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(const char *data, UINT bytes) {
    return AllocBytes(data, bytes);
}

BSTR SysAllocString(const OLECHAR *text) {
    if (text == nullptr)
        return nullptr;
    UINT length = 0;
    while (text[length] != 0)
        ++length;
    return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text) {
    if (text != nullptr)
        std::free(BlockOf(text));
}

UINT SysStringLen(BSTR text) {
    return text == nullptr ? 0 : *BlockOf(text) / sizeof(OLECHAR);
}

UINT SysStringByteLen(BSTR text) {
    return text == nullptr ? 0 : *BlockOf(text);
}

// The new text is built before the old one is freed, so `source` may point into it.
INT SysReAllocStringLen(BSTR *text, const OLECHAR *source, UINT length) {
    if (text == nullptr)
        return 0;
    BSTR fresh = nullptr;
    if (source != nullptr) {
        fresh = SysAllocStringLen(source, length);
    } else {
        fresh = SysAllocStringLen(nullptr, length);
        if (fresh != nullptr && *text != nullptr) {
            const UINT kept = std::min(length, SysStringLen(*text));
            std::memcpy(fresh, *text, std::size_t{kept} * sizeof(OLECHAR));
        }
    }
    if (fresh == nullptr)
        return 0;
    SysFreeString(*text);
    *text = fresh;
    return 1;
}

INT SysReAllocString(BSTR *text, const OLECHAR *source) {
    if (text == nullptr)
        return 0;
    BSTR fresh = SysAllocString(source);
    if (fresh == nullptr && source != nullptr)
        return 0;
    SysFreeString(*text);
    *text = fresh;
    return 1;
}
