// VARIANT lifetime functions where the system has no oleaut32.
#include <cstdlib>
#include <cstring>

#include "platform/com.h"

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

namespace {

// Copies the value that a by-reference VARIANT points to into `out` (an empty
// VARIANT), owning a fresh copy of texts, references and arrays. A VARIANT that
// refers to a VARIANT is read through one more time, but never to a second VARIANT
// reference: that would let a chain of references run on without end.
HRESULT CopyReferredValue(VARIANT *out, const VARIANT *source) {
    const auto vt = static_cast<VARTYPE>(source->vt & ~VT_BYREF);
    if (source->byref == nullptr)
        return E_INVALIDARG;
    if ((vt & VT_ARRAY) != 0) {
        if ((vt & ~VT_ARRAY) == 0 || (vt & ~VT_ARRAY) == VT_NULL)
            return E_INVALIDARG;
        out->vt = vt;
        if (*source->pparray == nullptr)
            return S_OK;
        return SafeArrayCopy(*source->pparray, &out->parray);
    }
    switch (vt) {
        case VT_VARIANT: {
            const VARIANT *inner = source->pvarVal;
            if (inner->vt == (VT_VARIANT | VT_BYREF))
                return E_INVALIDARG;
            return VariantCopyInd(out, inner);
        }
        case VT_BSTR: {
            const BSTR text = *source->pbstrVal;
            out->vt = VT_BSTR;
            if (text == nullptr)
                return S_OK;
            out->bstrVal =
                SysAllocStringByteLen(reinterpret_cast<const char *>(text), SysStringByteLen(text));
            if (out->bstrVal == nullptr) {
                out->vt = VT_EMPTY;
                return E_OUTOFMEMORY;
            }
            return S_OK;
        }
        case VT_UNKNOWN:
        case VT_DISPATCH:
            out->vt = vt;
            out->punkVal = *source->ppunkVal;
            if (out->punkVal != nullptr)
                out->punkVal->AddRef();
            return S_OK;
        case VT_DECIMAL: {
            // The DECIMAL overlays the whole VARIANT: its first field is the type.
            out->decVal = *source->pdecVal;
            out->vt = VT_DECIMAL;
            return S_OK;
        }
        default: {
            const std::size_t size = platform::ScalarValueSize(vt);
            if (size == 0)
                return E_INVALIDARG;
            out->vt = vt;
            std::memcpy(&out->llVal, source->byref, size);
            return S_OK;
        }
    }
}

}  // namespace

HRESULT VariantCopyInd(VARIANT *destination, const VARIANT *source) {
    if (destination == nullptr || source == nullptr)
        return E_INVALIDARG;
    if ((source->vt & VT_BYREF) == 0)
        return VariantCopy(destination, source);
    // Built aside first, so that a failure leaves the destination as it was and a
    // source that refers into the destination is read before it is cleared.
    VARIANT copy;
    VariantInit(&copy);
    const HRESULT status = CopyReferredValue(&copy, source);
    if (FAILED(status)) {
        VariantClear(&copy);
        return status;
    }
    const HRESULT cleared = VariantClear(destination);
    if (FAILED(cleared)) {
        VariantClear(&copy);
        return cleared;
    }
    *destination = copy;
    return S_OK;
}
