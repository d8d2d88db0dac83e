// BSTR and VARIANT functions where the system has no oleaut32.
#include <cstdlib>
#include <cstring>

#include "platform/com.h"

namespace {

// A BSTR points just past a 32-bit byte count; the block begins at the count.
uint32_t *BlockOf(BSTR text) {
    return reinterpret_cast<uint32_t *>(text) - 1;
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR *text, UINT length) {
    // Checked before multiplying: with a 32-bit size_t, 2^31 characters and more
    // would wrap to a small byte count.
    if (length > 0x7FFFFFF0u / sizeof(OLECHAR))
        return nullptr;
    const std::size_t bytes = std::size_t{length} * sizeof(OLECHAR);
    auto *block = static_cast<uint32_t *>(std::malloc(sizeof(uint32_t) + bytes + sizeof(OLECHAR)));
    if (block == nullptr)
        return nullptr;
    block[0] = static_cast<uint32_t>(bytes);
    auto *chars = reinterpret_cast<OLECHAR *>(block + 1);
    if (text != nullptr)
        std::memcpy(chars, text, bytes);
    else
        std::memset(chars, 0, bytes);
    chars[length] = 0;
    return chars;
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

void VariantInit(VARIANT *variant) {
    std::memset(variant, 0, sizeof *variant);
    variant->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT *variant) {
    if (variant == nullptr)
        return E_INVALIDARG;
    if ((variant->vt & (VT_BYREF | VT_ARRAY)) == VT_ARRAY) {
        // A locked array stays where it is, and so does the variant.
        const HRESULT status = SafeArrayDestroy(variant->parray);
        if (FAILED(status))
            return status;
    } else if ((variant->vt & VT_BYREF) == 0) {
        switch (variant->vt) {
            case VT_BSTR:
                SysFreeString(variant->bstrVal);
                break;
            case VT_UNKNOWN:
            case VT_DISPATCH:
                if (variant->punkVal != nullptr)
                    variant->punkVal->Release();
                break;
            default:
                break;
        }
    }
    VariantInit(variant);
    return S_OK;
}

HRESULT VariantCopy(VARIANT *destination, const VARIANT *source) {
    if (destination == nullptr || source == nullptr)
        return E_INVALIDARG;
    if (destination == source)
        return S_OK;
    VARIANT copy = *source;
    if ((source->vt & (VT_BYREF | VT_ARRAY)) == VT_ARRAY) {
        const HRESULT status = SafeArrayCopy(source->parray, &copy.parray);
        if (FAILED(status))
            return status;
    } else if ((source->vt & VT_BYREF) == 0) {
        switch (source->vt) {
            case VT_BSTR:
                if (source->bstrVal != nullptr) {
                    copy.bstrVal =
                        SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
                    if (copy.bstrVal == nullptr)
                        return E_OUTOFMEMORY;
                }
                break;
            case VT_UNKNOWN:
            case VT_DISPATCH:
                if (copy.punkVal != nullptr)
                    copy.punkVal->AddRef();
                break;
            default:
                break;
        }
    }
    VariantClear(destination);
    *destination = copy;
    return S_OK;
}
