// Safe arrays where the system has no oleaut32. One block holds the element kind,
// the descriptor and the data, so creating and destroying an array are one
// allocation each; only arrays made here may be handed to these functions.
#include <cstdlib>
#include <cstring>

#include "platform/com.h"

namespace {

// The element kind sits before the descriptor, as FADF_HAVEVARTYPE promises.
struct ArrayPrefix {
    VARTYPE vt;
    uint16_t padding[7];
};

constexpr std::size_t kDataOffset = (sizeof(ArrayPrefix) + sizeof(SAFEARRAY) + 15) / 16 * 16;

// Bytes per element, 0 for a kind that arrays here do not hold.
ULONG ElementSize(VARTYPE vt) {
    if (const std::size_t size = platform::ScalarValueSize(vt))
        return static_cast<ULONG>(size);
    switch (vt) {
        case VT_DECIMAL:
            return sizeof(DECIMAL);
        case VT_BSTR:
        case VT_UNKNOWN:
        case VT_DISPATCH:
            return sizeof(void *);
        case VT_VARIANT:
            return sizeof(VARIANT);
        default:
            return 0;
    }
}

USHORT FeaturesOf(VARTYPE vt) {
    switch (vt) {
        case VT_BSTR:
            return FADF_HAVEVARTYPE | FADF_BSTR;
        case VT_UNKNOWN:
            return FADF_HAVEVARTYPE | FADF_UNKNOWN;
        case VT_DISPATCH:
            return FADF_HAVEVARTYPE | FADF_DISPATCH;
        case VT_VARIANT:
            return FADF_HAVEVARTYPE | FADF_VARIANT;
        default:
            return FADF_HAVEVARTYPE;
    }
}

ArrayPrefix *PrefixOf(SAFEARRAY *array) {
    return reinterpret_cast<ArrayPrefix *>(array) - 1;
}

ULONG ElementCount(const SAFEARRAY *array) {
    return array->cDims == 0 ? 0 : array->rgsabound[0].cElements;
}

// Releases what the elements own (texts, references, nested values).
void ReleaseElements(SAFEARRAY *array) {
    const ULONG count = ElementCount(array);
    if ((array->fFeatures & FADF_BSTR) != 0) {
        auto *texts = static_cast<BSTR *>(array->pvData);
        for (ULONG i = 0; i < count; ++i)
            SysFreeString(texts[i]);
    } else if ((array->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) != 0) {
        auto *objects = static_cast<IUnknown **>(array->pvData);
        for (ULONG i = 0; i < count; ++i) {
            if (objects[i] != nullptr)
                objects[i]->Release();
        }
    } else if ((array->fFeatures & FADF_VARIANT) != 0) {
        auto *values = static_cast<VARIANT *>(array->pvData);
        for (ULONG i = 0; i < count; ++i)
            VariantClear(&values[i]);
    }
}

// Copies the elements of `source` into the zeroed data of `copy` (same kind and count).
HRESULT CopyElements(SAFEARRAY *source, SAFEARRAY *copy) {
    const ULONG count = ElementCount(source);
    if ((source->fFeatures & FADF_BSTR) != 0) {
        auto *from = static_cast<BSTR *>(source->pvData);
        auto *to = static_cast<BSTR *>(copy->pvData);
        for (ULONG i = 0; i < count; ++i) {
            if (from[i] == nullptr)
                continue;
            to[i] = SysAllocStringLen(from[i], SysStringLen(from[i]));
            if (to[i] == nullptr)
                return E_OUTOFMEMORY;
        }
    } else if ((source->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) != 0) {
        auto *from = static_cast<IUnknown **>(source->pvData);
        auto *to = static_cast<IUnknown **>(copy->pvData);
        for (ULONG i = 0; i < count; ++i) {
            to[i] = from[i];
            if (to[i] != nullptr)
                to[i]->AddRef();
        }
    } else if ((source->fFeatures & FADF_VARIANT) != 0) {
        auto *from = static_cast<VARIANT *>(source->pvData);
        auto *to = static_cast<VARIANT *>(copy->pvData);
        for (ULONG i = 0; i < count; ++i) {
            const HRESULT status = VariantCopy(&to[i], &from[i]);
            if (FAILED(status))
                return status;
        }
    } else if (count > 0) {
        std::memcpy(copy->pvData, source->pvData, std::size_t{count} * source->cbElements);
    }
    return S_OK;
}

}  // namespace

SAFEARRAY *SafeArrayCreateVector(VARTYPE vt, LONG lower_bound, ULONG count) {
    const ULONG size = ElementSize(vt);
    if (size == 0)
        return nullptr;
    const std::size_t bytes = std::size_t{count} * size;
    if (count > 0x7FFFFFF0u / size)
        return nullptr;
    auto *block = static_cast<char *>(std::calloc(1, kDataOffset + bytes));
    if (block == nullptr)
        return nullptr;
    auto *prefix = reinterpret_cast<ArrayPrefix *>(block);
    prefix->vt = vt;
    auto *array = reinterpret_cast<SAFEARRAY *>(prefix + 1);
    array->cDims = 1;
    array->fFeatures = FeaturesOf(vt);
    array->cbElements = size;
    array->cLocks = 0;
    array->pvData = block + kDataOffset;
    array->rgsabound[0].cElements = count;
    array->rgsabound[0].lLbound = lower_bound;
    return array;
}

HRESULT SafeArrayDestroy(SAFEARRAY *array) {
    if (array == nullptr)
        return S_OK;
    if (array->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    ReleaseElements(array);
    std::free(PrefixOf(array));
    return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY *source, SAFEARRAY **copy) {
    if (copy == nullptr)
        return E_INVALIDARG;
    *copy = nullptr;
    if (source == nullptr)
        return S_OK;
    if (source->cDims != 1)
        return E_INVALIDARG;
    SAFEARRAY *fresh = SafeArrayCreateVector(PrefixOf(source)->vt, source->rgsabound[0].lLbound,
                                             source->rgsabound[0].cElements);
    if (fresh == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT status = CopyElements(source, fresh);
    if (FAILED(status)) {
        SafeArrayDestroy(fresh);
        return status;
    }
    *copy = fresh;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY *array, void **data) {
    if (array == nullptr || data == nullptr)
        return E_INVALIDARG;
    ++array->cLocks;
    *data = array->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY *array) {
    if (array == nullptr)
        return E_INVALIDARG;
    if (array->cLocks == 0)
        return E_UNEXPECTED;
    --array->cLocks;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY *array) {
    return array == nullptr ? 0 : array->cDims;
}

UINT SafeArrayGetElemsize(SAFEARRAY *array) {
    return array == nullptr ? 0 : array->cbElements;
}

HRESULT SafeArrayGetVartype(SAFEARRAY *array, VARTYPE *vt) {
    if (array == nullptr || vt == nullptr || (array->fFeatures & FADF_HAVEVARTYPE) == 0)
        return E_INVALIDARG;
    *vt = PrefixOf(array)->vt;
    return S_OK;
}

// Bounds are stored last dimension first, as on Windows.
HRESULT SafeArrayGetLBound(SAFEARRAY *array, UINT dimension, LONG *bound) {
    if (array == nullptr || bound == nullptr || dimension < 1 || dimension > array->cDims)
        return E_INVALIDARG;
    *bound = array->rgsabound[array->cDims - dimension].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY *array, UINT dimension, LONG *bound) {
    if (array == nullptr || bound == nullptr || dimension < 1 || dimension > array->cDims)
        return E_INVALIDARG;
    const SAFEARRAYBOUND &range = array->rgsabound[array->cDims - dimension];
    *bound = static_cast<LONG>(range.lLbound + static_cast<int64_t>(range.cElements) - 1);
    return S_OK;
}
