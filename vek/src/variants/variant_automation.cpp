// The library's variants as automation VARIANTs and back. Both directions build the
// new value completely before they touch the target, so a failure leaves it as it
// was.
#include <charconv>
#include <cmath>
#include <cstring>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "platform/com.h"
#include "text/date_text.h"
#include "text/text_view.h"
#include "variants/automation_number.h"
#include "variants/variant_ops.h"

namespace vek::variant {

namespace {

constexpr const char kToVariant[] = "VekVarToVARIANT";
constexpr const char kFromVariant[] = "VekVarFromVARIANT";
constexpr int kMaxIndirections = 4;  // a VARIANT by reference may hold a reference again

// Holds a safe array's data open for reading or writing.
class ArrayData {
  public:
    explicit ArrayData(SAFEARRAY *array) : array_(array) {
        if (FAILED(SafeArrayAccessData(array_, &data_)))
            data_ = nullptr;
    }
    ArrayData(const ArrayData &) = delete;
    ArrayData &operator=(const ArrayData &) = delete;
    ~ArrayData() {
        if (data_ != nullptr)
            SafeArrayUnaccessData(array_);
    }
    void *Get() const { return data_; }

  private:
    SAFEARRAY *array_;
    void *data_ = nullptr;
};

// ---- To VARIANT ---------------------------------------------------------------

int32_t OutOfMemory(const char *function) {
    return Fail(VEK_E_OUTOFMEMORY, function, "Not enough memory for the VARIANT");
}

int32_t ToBstr(const VEKVARIANT &value, VARIANT &out) {
    BSTR text = nullptr;
    if (value.type == VEK_VT_TEXT) {
        text = platform::BstrFromText(ViewOfCounted(value.value.text));
    } else {
        static const OLECHAR kNoUnits[1] = {0};
        const int32_t count = VekArrayCountEx_(value.value.wtext);
        text = SysAllocStringLen(
            count > 0 ? reinterpret_cast<const OLECHAR *>(value.value.wtext) : kNoUnits,
            static_cast<UINT>(count));
    }
    if (text == nullptr)
        return OutOfMemory(kToVariant);
    out.vt = VT_BSTR;
    out.bstrVal = text;
    return 0;
}

// A blob as a one-dimensional array of bytes counted from 0.
int32_t ToByteArray(const VEKVARIANT &value, VARIANT &out) {
    const int32_t count = VekArrayCountEx_(value.value.blob);
    SAFEARRAY *array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(count));
    if (array == nullptr)
        return OutOfMemory(kToVariant);
    if (count > 0) {
        const ArrayData data(array);
        if (data.Get() == nullptr) {
            SafeArrayDestroy(array);
            return Fail(VEK_E_UNEXPECTED, kToVariant, "Cannot write the bytes of a new array");
        }
        std::memcpy(data.Get(), value.value.blob, static_cast<size_t>(count));
    }
    out.vt = VT_ARRAY | VT_UI1;
    out.parray = array;
    return 0;
}

int32_t ToObject(const VEKVARIANT &value, VARIANT &out) {
    auto *object = static_cast<IUnknown *>(value.value.object);
    if (object != nullptr)
        object->AddRef();
    out.vt = value.type == VEK_VT_DISPATCH ? VT_DISPATCH : VT_UNKNOWN;
    out.punkVal = object;
    return 0;
}

int32_t ToAutomation(const VEKVARIANT &value, VARIANT &out) {
    switch (value.type) {
        case VEK_VT_EMPTY:
            out.vt = VT_EMPTY;
            return 0;
        case VEK_VT_NULL:
            out.vt = VT_NULL;
            return 0;
        case VEK_VT_INT32:
            out.vt = VT_I4;
            out.lVal = value.value.int32_value;
            return 0;
        case VEK_VT_INT:
            out.vt = VT_I8;
            out.llVal = value.value.int_value;
            return 0;
        case VEK_VT_R8:
            out.vt = VT_R8;
            out.dblVal = value.value.double_value;
            return 0;
        case VEK_VT_BOOL:
            out.vt = VT_BOOL;
            out.boolVal = value.value.bool_value != 0 ? VARIANT_TRUE : VARIANT_FALSE;
            return 0;
        case VEK_VT_DATE:
            out.vt = VT_DATE;
            out.date = value.value.date_value;
            return 0;
        case VEK_VT_TEXT:
        case VEK_VT_WTEXT:
            return ToBstr(value, out);
        case VEK_VT_BLOB:
            return ToByteArray(value, out);
        case VEK_VT_DISPATCH:
        case VEK_VT_UNKNOWN:
            return ToObject(value, out);
        default:
            return CannotConvert(VEK_E_TYPEMISMATCH, Describe(value), "a VARIANT", kToVariant);
    }
}

// ---- From VARIANT -------------------------------------------------------------

// A VARIANT holding the value that a VT_BYREF one points to. It owns nothing: texts,
// arrays and objects stay the referenced ones.
int32_t ReadReference(const VARIANT &in, VARIANT &plain) {
    if (in.byref == nullptr)
        return Fail(VEK_E_POINTER, kFromVariant, "The VARIANT refers to no value (type 0x%04X)",
                    in.vt);
    const auto vt = static_cast<VARTYPE>(in.vt & ~VT_BYREF);
    VariantInit(&plain);
    if (vt == VT_VARIANT) {
        plain = *static_cast<const VARIANT *>(in.byref);
        return 0;
    }
    if (vt == VT_DECIMAL) {
        // A decimal fills the whole VARIANT, its type word included.
        std::memcpy(&plain.decVal, in.byref, sizeof(DECIMAL));
    } else if ((vt & VT_ARRAY) != 0 || vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        std::memcpy(&plain.byref, in.byref, sizeof(void *));
    } else if (const size_t size = platform::ScalarValueSize(vt)) {
        std::memcpy(&plain.llVal, in.byref, size);
    } else {
        return Fail(VEK_E_TYPEMISMATCH, kFromVariant,
                    "Cannot convert a VARIANT of type 0x%04X to a variant", in.vt);
    }
    plain.vt = vt;
    return 0;
}

int32_t FromByteArray(SAFEARRAY *array, VEKVARIANT &result) {
    if (array == nullptr)
        return AssignBlob(result, {}, kFromVariant);
    if (SafeArrayGetDim(array) != 1 || SafeArrayGetElemsize(array) != 1)
        return Fail(VEK_E_TYPEMISMATCH, kFromVariant,
                    "Cannot convert a byte array of %u dimensions to a blob",
                    SafeArrayGetDim(array));
    const ULONG count = array->rgsabound[0].cElements;
    if (count == 0)
        return AssignBlob(result, {}, kFromVariant);
    const ArrayData data(array);
    if (data.Get() == nullptr)
        return Fail(VEK_E_TYPEMISMATCH, kFromVariant, "Cannot read the bytes of the array");
    return AssignBlob(result, std::string_view(static_cast<const char *>(data.Get()), count),
                      kFromVariant);
}

int32_t FromBstr(BSTR text, VEKVARIANT &result) {
    return AssignWideUnits(result, reinterpret_cast<const uint16_t *>(text), SysStringLen(text),
                           kFromVariant);
}

int32_t FromObject(IUnknown *object, uint32_t type, VEKVARIANT &result) {
    if (object != nullptr)
        object->AddRef();
    result.type = type;
    result.value.object = object;
    return 0;
}

int32_t FromUnsigned(uint64_t value, VEKVARIANT &result) {
    if (value > static_cast<uint64_t>(INT64_MAX))
        return CannotConvert(VEK_E_OVERFLOW, std::to_string(value), "a 64-bit integer",
                             kFromVariant);
    result.type = VEK_VT_INT;
    result.value.int_value = static_cast<int64_t>(value);
    return 0;
}

int32_t FromInt32(int32_t value, VEKVARIANT &result) {
    result.type = VEK_VT_INT32;
    result.value.int32_value = value;
    return 0;
}

int32_t FromDate(double date, VEKVARIANT &result) {
    if (!IsAutomationDateInRange(date))
        return Fail(VEK_E_OVERFLOW, kFromVariant, "Date %g is outside the years 100..9999", date);
    result.type = VEK_VT_DATE;
    result.value.date_value = date;
    return 0;
}

// A single as the double of its shortest decimal, so that 0.1f reads as 0.1.
int32_t FromSingle(float number, VEKVARIANT &result) {
    double value = number;
    if (std::isfinite(number)) {
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, number).ptr;
        std::from_chars(text, end, value);
    }
    result.type = VEK_VT_R8;
    result.value.double_value = value;
    return 0;
}

int32_t FromAutomation(const VARIANT &in, VEKVARIANT &result) {
    switch (in.vt) {
        case VT_EMPTY:
        case VT_NULL:
            result.type = in.vt;
            return 0;
        case VT_I1:
            return FromInt32(static_cast<int8_t>(in.bVal), result);
        case VT_UI1:
            return FromInt32(in.bVal, result);
        case VT_I2:
            return FromInt32(in.iVal, result);
        case VT_UI2:
            return FromInt32(static_cast<uint16_t>(in.iVal), result);
        case VT_I4:
            return FromInt32(in.lVal, result);
        case VT_INT:
            return FromInt32(in.intVal, result);
        case VT_UI4:
            return FromUnsigned(in.ulVal, result);
        case VT_UINT:
            return FromUnsigned(in.uintVal, result);
        case VT_I8:
            result.type = VEK_VT_INT;
            result.value.int_value = in.llVal;
            return 0;
        case VT_UI8:
            return FromUnsigned(in.ullVal, result);
        case VT_R4:
            return FromSingle(in.fltVal, result);
        case VT_R8:
            result.type = VEK_VT_R8;
            result.value.double_value = in.dblVal;
            return 0;
        case VT_CY:
        case VT_DECIMAL:
            return AssignAutomationNumber(result, in, kFromVariant);
        case VT_DATE:
            return FromDate(in.date, result);
        case VT_BOOL:
            result.type = VEK_VT_BOOL;
            result.value.bool_value = in.boolVal != 0 ? 1 : 0;
            return 0;
        case VT_BSTR:
            return FromBstr(in.bstrVal, result);
        case VT_DISPATCH:
            return FromObject(in.punkVal, VEK_VT_DISPATCH, result);
        case VT_UNKNOWN:
            return FromObject(in.punkVal, VEK_VT_UNKNOWN, result);
        case VT_ARRAY | VT_UI1:
            return FromByteArray(in.parray, result);
        default:
            return Fail(VEK_E_TYPEMISMATCH, kFromVariant,
                        "Cannot convert a VARIANT of type 0x%04X to a variant", in.vt);
    }
}

int32_t FromAutomationThroughReferences(const VARIANT &in, VEKVARIANT &result) {
    VARIANT current = in;
    for (int depth = 0; (current.vt & VT_BYREF) != 0; ++depth) {
        if (depth == kMaxIndirections)
            return Fail(VEK_E_TYPEMISMATCH, kFromVariant,
                        "Too many references in a row in the VARIANT");
        VARIANT plain;
        if (const int32_t status = ReadReference(current, plain))
            return status;
        current = plain;
    }
    return FromAutomation(current, result);
}

}  // namespace

}  // namespace vek::variant

VEK_API int32_t VEK_CALL VekVarToVARIANT(const VEKVARIANT *variant, void *out) {
    using namespace vek::variant;
    return vek::GuardStatus(kToVariant, [&]() -> int32_t {
        if (out == nullptr)
            return vek::Fail(VEK_E_POINTER, kToVariant, "No VARIANT given");
        VARIANT fresh;
        VariantInit(&fresh);
        const VEKVARIANT empty{};
        if (const int32_t status = ToAutomation(variant != nullptr ? *variant : empty, fresh))
            return status;
        auto *target = static_cast<VARIANT *>(out);
        const HRESULT cleared = VariantClear(target);
        if (FAILED(cleared)) {
            VariantClear(&fresh);
            return vek::Fail(VEK_E_INVALIDARG, kToVariant,
                             "The VARIANT's old value cannot be cleared (0x%08X)",
                             static_cast<unsigned>(cleared));
        }
        *target = fresh;
        return 0;
    });
}

VEK_API int32_t VEK_CALL VekVarFromVARIANT(VEKVARIANT *variant, const void *in) {
    using namespace vek::variant;
    return vek::GuardStatus(kFromVariant, [&]() -> int32_t {
        if (variant == nullptr)
            return vek::Fail(VEK_E_POINTER, kFromVariant, "No variant given");
        if (in == nullptr)
            return vek::Fail(VEK_E_POINTER, kFromVariant, "No VARIANT given");
        VEKVARIANT result{};
        if (const int32_t status =
                FromAutomationThroughReferences(*static_cast<const VARIANT *>(in), result)) {
            Release(result);
            return status;
        }
        Release(*variant);
        *variant = result;
        return 0;
    });
}
