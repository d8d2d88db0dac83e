// VariantChangeType(Ex) where the system has no oleaut32: the automation rules of
// conversion between the scalar kinds, texts and objects.
#include <cfloat>
#include <cmath>
#include <limits>

#include "variant_text_linux.h"

namespace {

using platform::variant_text::Int128;
using platform::variant_text::ParsedNumber;
using platform::variant_text::WideView;
namespace text = platform::variant_text;

constexpr VARTYPE kVtVoid = 24;
constexpr VARTYPE kVtRecord = 36;
constexpr VARTYPE kVtClsid = 72;
constexpr VARTYPE kVtVector = 0x1000;
constexpr VARTYPE kVtReserved = 0x8000;
constexpr VARTYPE kKindMask = 0x0FFF;

// An object whose default value is an object is read again, this many times at
// most: an object that answers with itself must not read on without end.
constexpr int kMaxObjectValueDepth = 16;

// The DATE values that name a day of the years 100 to 9999.
constexpr double kFirstDate = -657434.0;
constexpr double kLastDate = 2958465.0;

// A kind that a VARIANT may carry, with the modifiers it may carry it with.
bool IsValidKind(VARTYPE vt) {
    const VARTYPE modifiers = vt & ~kKindMask;
    const VARTYPE kind = vt & kKindMask;
    if ((modifiers & (kVtVector | kVtReserved)) != 0)
        return false;
    if ((modifiers & (VT_BYREF | VT_ARRAY)) != 0 && kind <= VT_NULL)
        return false;
    return (kind < kVtVoid && kind != 15) || kind == kVtRecord || kind == kVtClsid;
}

// A number read from a scalar VARIANT.
struct Number {
    enum class Kind { kSigned, kUnsigned, kReal, kCurrency } kind = Kind::kSigned;
    Int128 integer = 0;  // kSigned, kUnsigned, and kCurrency in ten-thousandths
    double real = 0.0;
    // The value is a bit pattern that fills the integer kinds of any width:
    // VARIANT_TRUE is all ones in every unsigned kind, &HFFFF is -1 as VT_I2.
    bool wraps = false;
};

bool ReadNumber(const VARIANT &value, Number &out) {
    using Kind = Number::Kind;
    switch (value.vt) {
        case VT_EMPTY:
            out = {Kind::kSigned, 0};
            return true;
        case VT_I1:
            out = {Kind::kSigned, static_cast<signed char>(value.cVal)};
            return true;
        case VT_I2:
            out = {Kind::kSigned, value.iVal};
            return true;
        case VT_I4:
        case VT_INT:
            out = {Kind::kSigned, value.lVal};
            return true;
        case VT_I8:
            out = {Kind::kSigned, value.llVal};
            return true;
        case VT_UI1:
            out = {Kind::kUnsigned, value.bVal};
            return true;
        case VT_UI2:
            out = {Kind::kUnsigned, value.uiVal};
            return true;
        case VT_UI4:
        case VT_UINT:
            out = {Kind::kUnsigned, value.ulVal};
            return true;
        case VT_UI8:
            out = {Kind::kUnsigned, value.ullVal};
            return true;
        case VT_R4:
            out = {Kind::kReal, 0, value.fltVal};
            return true;
        case VT_R8:
            out = {Kind::kReal, 0, value.dblVal};
            return true;
        case VT_DATE:
            out = {Kind::kReal, 0, value.date};
            return true;
        case VT_CY:
            out = {Kind::kCurrency, value.cyVal.int64};
            return true;
        case VT_BOOL:
            out = {Kind::kSigned, value.boolVal != 0 ? -1 : 0, 0.0, true};
            return true;
        default:
            return false;
    }
}

// Half to even, as the automation rounds: 2.5 is 2, 3.5 is 4, -2.5 is -2.
double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double rest = value - floor;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(floor, 2.0) != 0.0))
        return floor + 1.0;
    return floor;
}

// Ten-thousandths to a whole number, half to even.
Int128 RoundCurrency(Int128 ten_thousandths) {
    Int128 whole = ten_thousandths / 10000;
    const Int128 rest = ten_thousandths % 10000;
    const Int128 magnitude = rest < 0 ? -rest : rest;
    const int step = ten_thousandths < 0 ? -1 : 1;
    if (magnitude > 5000 || (magnitude == 5000 && whole % 2 != 0))
        whole += step;
    return whole;
}

// A real as an integer, or false when it is not finite or far beyond any kind.
bool RealToInteger(double real, double scale, Int128 &out) {
    const double rounded = RoundHalfEven(real * scale);
    if (!std::isfinite(rounded) || std::fabs(rounded) >= 0x1p100)
        return false;
    out = static_cast<Int128>(rounded);
    return true;
}

struct IntegerKind {
    int bits;
    bool is_signed;
};

bool IntegerKindOf(VARTYPE vt, IntegerKind &out) {
    switch (vt) {
        case VT_I1:
            out = {8, true};
            return true;
        case VT_UI1:
            out = {8, false};
            return true;
        case VT_I2:
            out = {16, true};
            return true;
        case VT_UI2:
            out = {16, false};
            return true;
        case VT_I4:
        case VT_INT:
            out = {32, true};
            return true;
        case VT_UI4:
        case VT_UINT:
            out = {32, false};
            return true;
        case VT_I8:
            out = {64, true};
            return true;
        case VT_UI8:
            out = {64, false};
            return true;
        default:
            return false;
    }
}

// Checks `value` against the range of the kind and stores it.
HRESULT StoreInteger(Int128 value, bool wraps, VARTYPE vt, VARIANT &out) {
    IntegerKind kind{};
    IntegerKindOf(vt, kind);
    const Int128 span = Int128{1} << kind.bits;
    if (wraps && value < 0 && !kind.is_signed)
        value += span;
    else if (wraps && kind.is_signed && value >= span / 2 && value < span)
        value -= span;
    const Int128 min = kind.is_signed ? -span / 2 : 0;
    const Int128 max = kind.is_signed ? span / 2 - 1 : span - 1;
    if (value < min || value > max)
        return DISP_E_OVERFLOW;
    out.vt = vt;
    switch (vt) {
        case VT_I1:
            out.cVal = static_cast<CHAR>(static_cast<signed char>(value));
            break;
        case VT_UI1:
            out.bVal = static_cast<BYTE>(value);
            break;
        case VT_I2:
            out.iVal = static_cast<SHORT>(value);
            break;
        case VT_UI2:
            out.uiVal = static_cast<USHORT>(value);
            break;
        case VT_I4:
        case VT_INT:
            out.lVal = static_cast<LONG>(value);
            break;
        case VT_UI4:
        case VT_UINT:
            out.ulVal = static_cast<ULONG>(value);
            break;
        case VT_I8:
            out.llVal = static_cast<LONGLONG>(value);
            break;
        default:
            out.ullVal = static_cast<ULONGLONG>(value);
            break;
    }
    return S_OK;
}

HRESULT StoreReal(double real, VARTYPE vt, VARIANT &out) {
    if (vt == VT_R4) {
        if (std::fabs(real) > FLT_MAX)
            return DISP_E_OVERFLOW;
        out.fltVal = static_cast<float>(real);
    } else if (vt == VT_DATE) {
        if (!(real > kFirstDate - 1.0 && real < kLastDate + 1.0))
            return DISP_E_OVERFLOW;
        out.date = real;
    } else {
        out.dblVal = real;
    }
    out.vt = vt;
    return S_OK;
}

HRESULT StoreCurrency(Int128 ten_thousandths, VARIANT &out) {
    if (ten_thousandths < std::numeric_limits<int64_t>::min() ||
        ten_thousandths > std::numeric_limits<int64_t>::max())
        return DISP_E_OVERFLOW;
    out.vt = VT_CY;
    out.cyVal.int64 = static_cast<LONGLONG>(ten_thousandths);
    return S_OK;
}

double RealOf(const Number &number) {
    switch (number.kind) {
        case Number::Kind::kReal:
            return number.real;
        case Number::Kind::kCurrency:
            return static_cast<double>(number.integer) / 10000.0;
        default:
            return static_cast<double>(number.integer);
    }
}

HRESULT NumberToScalar(const Number &number, VARTYPE vt, VARIANT &out) {
    using Kind = Number::Kind;
    if (vt == VT_BOOL) {
        const bool is_true = number.kind == Kind::kReal ? number.real != 0.0 : number.integer != 0;
        out.vt = VT_BOOL;
        out.boolVal = is_true ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    if (vt == VT_R4 || vt == VT_R8 || vt == VT_DATE)
        return StoreReal(RealOf(number), vt, out);
    Int128 value = 0;
    if (vt == VT_CY) {
        if (number.kind == Kind::kReal)
            return RealToInteger(number.real, 10000.0, value) ? StoreCurrency(value, out)
                                                              : DISP_E_OVERFLOW;
        value = number.kind == Kind::kCurrency ? number.integer : number.integer * 10000;
        return StoreCurrency(value, out);
    }
    if (number.kind == Kind::kReal) {
        if (!RealToInteger(number.real, 1.0, value))
            return DISP_E_OVERFLOW;
    } else {
        value = number.kind == Kind::kCurrency ? RoundCurrency(number.integer) : number.integer;
    }
    return StoreInteger(value, number.wraps, vt, out);
}

WideView TextOf(const VARIANT &value) {
    return value.bstrVal == nullptr ? WideView()
                                    : WideView(value.bstrVal, SysStringLen(value.bstrVal));
}

HRESULT TextToScalar(WideView source, VARTYPE vt, VARIANT &out) {
    if (vt == VT_DATE) {
        DATE date = 0.0;
        if (!text::ParseDate(source, date))
            return DISP_E_TYPEMISMATCH;
        out.vt = VT_DATE;
        out.date = date;
        return S_OK;
    }
    if (vt == VT_BOOL) {
        VARIANT_BOOL word = VARIANT_FALSE;
        if (text::ParseBooleanWord(source, word)) {
            out.vt = VT_BOOL;
            out.boolVal = word;
            return S_OK;
        }
    }
    ParsedNumber number;
    if (!text::ParseNumber(source, number))
        return DISP_E_TYPEMISMATCH;
    if (vt == VT_BOOL || vt == VT_R4 || vt == VT_R8) {
        double real = 0.0;
        if (!text::ToDouble(number, real))
            return DISP_E_OVERFLOW;
        return NumberToScalar({Number::Kind::kReal, 0, real}, vt, out);
    }
    Int128 value = 0;
    if (!text::RoundedScaled(number, vt == VT_CY ? 4 : 0, value))
        return DISP_E_OVERFLOW;
    if (vt == VT_CY)
        return StoreCurrency(value, out);
    return StoreInteger(value, number.has_bit_pattern, vt, out);
}

HRESULT StoreText(const std::string &value, VARIANT &out) {
    BSTR text = platform::BstrFromText(value);
    if (text == nullptr)
        return E_OUTOFMEMORY;
    out.vt = VT_BSTR;
    out.bstrVal = text;
    return S_OK;
}

HRESULT ToText(const VARIANT &value, USHORT flags, VARIANT &out) {
    switch (value.vt) {
        case VT_EMPTY:
            return StoreText("", out);
        case VT_BOOL:
            if ((flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL)) != 0)
                return StoreText(value.boolVal != 0 ? "True" : "False", out);
            return StoreText(value.boolVal != 0 ? "-1" : "0", out);
        case VT_R4:
            return StoreText(text::FormatReal(value.fltVal, 7), out);
        case VT_R8:
            return StoreText(text::FormatReal(value.dblVal, 15), out);
        case VT_CY:
            return StoreText(text::FormatCurrency(value.cyVal.int64), out);
        case VT_DATE: {
            std::string date;
            if (!text::FormatDate(value.date, date))
                return E_INVALIDARG;
            return StoreText(date, out);
        }
        default:
            break;
    }
    Number number;
    if (!ReadNumber(value, number))
        return DISP_E_TYPEMISMATCH;
    if (number.kind == Number::Kind::kUnsigned)
        return StoreText(text::FormatUnsigned(static_cast<uint64_t>(number.integer)), out);
    return StoreText(text::FormatSigned(static_cast<int64_t>(number.integer)), out);
}

HRESULT ToScalar(const VARIANT &value, VARTYPE vt, VARIANT &out) {
    if (value.vt == VT_BSTR)
        return TextToScalar(TextOf(value), vt, out);
    Number number;
    if (!ReadNumber(value, number))
        return DISP_E_TYPEMISMATCH;
    return NumberToScalar(number, vt, out);
}

// Another interface of the same object; a null object stays null.
HRESULT ToInterface(const VARIANT &value, VARTYPE vt, VARIANT &out) {
    if (value.vt != VT_DISPATCH && value.vt != VT_UNKNOWN)
        return DISP_E_TYPEMISMATCH;
    out.vt = vt;
    out.punkVal = nullptr;
    if (value.punkVal == nullptr)
        return S_OK;
    const GUID &iid = vt == VT_DISPATCH ? platform::kIID_IDispatch : platform::kIID_IUnknown;
    void *object = nullptr;
    const HRESULT status = value.punkVal->QueryInterface(iid, &object);
    if (FAILED(status) || object == nullptr) {
        out.vt = VT_EMPTY;
        return FAILED(status) ? status : E_NOINTERFACE;
    }
    out.punkVal = static_cast<IUnknown *>(object);
    return S_OK;
}

// Replaces an object in `value` by its default value (DISPID_VALUE read as a
// property), until the value is no object.
HRESULT ReadObjectValue(VARIANT &value, LCID lcid) {
    for (int depth = 0; value.vt == VT_DISPATCH; ++depth) {
        // A null object has no kind to read a value from.
        if (value.pdispVal == nullptr)
            return DISP_E_BADVARTYPE;
        if (depth == kMaxObjectValueDepth)
            return DISP_E_TYPEMISMATCH;
        DISPPARAMS no_arguments{nullptr, nullptr, 0, 0};
        VARIANT result;
        VariantInit(&result);
        const HRESULT status =
            value.pdispVal->Invoke(DISPID_VALUE, platform::kGUID_NULL, lcid, DISPATCH_PROPERTYGET,
                                   &no_arguments, &result, nullptr, nullptr);
        if (FAILED(status)) {
            VariantClear(&result);
            return DISP_E_TYPEMISMATCH;
        }
        // A value handed back by reference is read through as well.
        VARIANT read;
        VariantInit(&read);
        const HRESULT copied = VariantCopyInd(&read, &result);
        VariantClear(&result);
        if (FAILED(copied))
            return DISP_E_TYPEMISMATCH;
        VariantClear(&value);
        value = read;
    }
    return S_OK;
}

HRESULT Convert(VARIANT &value, LCID lcid, USHORT flags, VARTYPE vt, VARIANT &out) {
    if (value.vt == vt)
        return VariantCopy(&out, &value);
    if (((value.vt | vt) & (VT_ARRAY | VT_BYREF)) != 0)
        return DISP_E_TYPEMISMATCH;
    switch (vt) {
        case VT_EMPTY:
        case VT_NULL:
            // Every plain value may be dropped, but a null is no empty value.
            if ((vt == VT_EMPTY && value.vt == VT_NULL) || value.vt > VT_UINT || value.vt == 15 ||
                value.vt == VT_ERROR)
                return DISP_E_TYPEMISMATCH;
            out.vt = vt;
            return S_OK;
        case VT_DISPATCH:
        case VT_UNKNOWN:
            return ToInterface(value, vt, out);
        default:
            break;
    }
    if (value.vt == VT_DISPATCH) {
        if ((flags & VARIANT_NOVALUEPROP) != 0)
            return DISP_E_TYPEMISMATCH;
        const HRESULT status = ReadObjectValue(value, lcid);
        if (FAILED(status))
            return status;
        if (value.vt == vt)
            return VariantCopy(&out, &value);
    }
    if (vt == VT_BSTR)
        return ToText(value, flags, out);
    IntegerKind integer{};
    if (IntegerKindOf(vt, integer) || vt == VT_R4 || vt == VT_R8 || vt == VT_CY || vt == VT_DATE ||
        vt == VT_BOOL)
        return ToScalar(value, vt, out);
    return DISP_E_TYPEMISMATCH;
}

}  // namespace

HRESULT VariantChangeTypeEx(VARIANT *destination, const VARIANT *source, LCID lcid, USHORT flags,
                            VARTYPE vt) {
    if (destination == nullptr || source == nullptr)
        return E_INVALIDARG;
    if (vt == kVtClsid || !IsValidKind(source->vt) || !IsValidKind(vt))
        return DISP_E_BADVARTYPE;
    if ((source->vt & VT_BYREF) != 0 && source->byref == nullptr)
        return DISP_E_TYPEMISMATCH;
    // The source is read into a value of its own and the result built aside, so
    // that converting in place works and a failure leaves the destination as it was.
    VARIANT value;
    VariantInit(&value);
    HRESULT status = VariantCopyInd(&value, source);
    if (FAILED(status))
        return status;
    VARIANT result;
    VariantInit(&result);
    status = Convert(value, lcid, flags, vt, result);
    VariantClear(&value);
    if (SUCCEEDED(status))
        status = VariantClear(destination);
    if (FAILED(status)) {
        VariantClear(&result);
        return status;
    }
    *destination = result;
    return S_OK;
}

HRESULT VariantChangeType(VARIANT *destination, const VARIANT *source, USHORT flags, VARTYPE vt) {
    return VariantChangeTypeEx(destination, source, LOCALE_USER_DEFAULT, flags, vt);
}
