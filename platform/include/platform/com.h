// The subset of COM and OLE automation that the libraries use.
//
// On Windows these are the system's own definitions (ole32, oleaut32). Elsewhere
// the same names are defined here with the same memory layout for the same pointer
// size, and the functions follow the documented Windows behaviour. Wide text
// (OLECHAR) is UTF-16: wchar_t on Windows, char16_t elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api.h"

#if PLATFORM_WINDOWS
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <oaidl.h>
#include <oleauto.h>
#include <unknwn.h>
#include <windows.h>
// After the automation headers: the interfaces of expando objects and services.
#include <dispex.h>
#include <servprov.h>
// VariantCopy never changes its source; the headers here declare it without const.
inline HRESULT VariantCopy(VARIANT *destination, const VARIANT *source) {
    return ::VariantCopy(destination, const_cast<VARIANT *>(source));
}
#else

#define STDMETHODCALLTYPE
#define WINAPI

using HRESULT = int32_t;
using SCODE = int32_t;
using ULONG = uint32_t;
using LONG = int32_t;
using DWORD = uint32_t;
using WORD = uint16_t;
using BYTE = uint8_t;
using SHORT = int16_t;
using USHORT = uint16_t;
using UINT = uint32_t;
using INT = int32_t;
using LONGLONG = int64_t;
using ULONGLONG = uint64_t;
using FLOAT = float;
using DOUBLE = double;
using DATE = double;
using LCID = uint32_t;
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR *;
using LPCOLESTR = const OLECHAR *;
using BSTR = OLECHAR *;
using VARTYPE = uint16_t;
using VARIANT_BOOL = int16_t;
using DISPID = int32_t;
using MEMBERID = int32_t;
using PVOID = void *;
using CHAR = char;

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID &;
using REFGUID = const GUID &;
using REFCLSID = const CLSID &;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
           __builtin_memcmp(a.Data4, b.Data4, 8) == 0;
}
inline bool operator==(REFGUID a, REFGUID b) {
    return IsEqualGUID(a, b);
}

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
constexpr HRESULT DISP_E_OVERFLOW = static_cast<HRESULT>(0x8002000A);
constexpr HRESULT DISP_E_BADVARTYPE = static_cast<HRESULT>(0x80020008);
constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

  protected:
    ~IUnknown() = default;
};

struct IErrorInfo : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetGUID(GUID *guid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSource(BSTR *source) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDescription(BSTR *description) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR *help_file) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD *help_context) = 0;

  protected:
    ~IErrorInfo() = default;
};

struct ICreateErrorInfo : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetGUID(REFGUID guid) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSource(LPOLESTR source) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDescription(LPOLESTR description) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHelpFile(LPOLESTR help_file) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD help_context) = 0;

  protected:
    ~ICreateErrorInfo() = default;
};

struct SAFEARRAYBOUND {
    ULONG cElements;
    LONG lLbound;
};

struct SAFEARRAY {
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    PVOID pvData;
    SAFEARRAYBOUND rgsabound[1];
};

struct IDispatch;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_DECIMAL = 14,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
};

// Currency: a 64-bit integer counting ten-thousandths.
union CY {
    __extension__ struct {
        ULONG Lo;
        LONG Hi;
    };
    LONGLONG int64;
};

struct DECIMAL {
    USHORT wReserved;
    BYTE scale;
    BYTE sign;
    ULONG Hi32;
    ULONGLONG Lo64;
};

// Anonymous members as in the Windows headers (__extension__: they are a common
// extension of C++ compilers, not ISO C++).
struct VARIANT {
    __extension__ union {
        __extension__ struct {
            VARTYPE vt;
            WORD wReserved1;
            WORD wReserved2;
            WORD wReserved3;
            __extension__ union {
                LONGLONG llVal;
                LONG lVal;
                BYTE bVal;
                SHORT iVal;
                FLOAT fltVal;
                DOUBLE dblVal;
                VARIANT_BOOL boolVal;
                SCODE scode;
                CY cyVal;
                DATE date;
                BSTR bstrVal;
                IUnknown *punkVal;
                IDispatch *pdispVal;
                SAFEARRAY *parray;
                CHAR cVal;
                USHORT uiVal;
                INT intVal;
                UINT uintVal;
                ULONG ulVal;
                ULONGLONG ullVal;
                BYTE *pbVal;
                SHORT *piVal;
                LONG *plVal;
                LONGLONG *pllVal;
                FLOAT *pfltVal;
                DOUBLE *pdblVal;
                VARIANT_BOOL *pboolVal;
                SCODE *pscode;
                CY *pcyVal;
                DATE *pdate;
                BSTR *pbstrVal;
                IUnknown **ppunkVal;
                IDispatch **ppdispVal;
                SAFEARRAY **pparray;
                VARIANT *pvarVal;
                PVOID byref;
                CHAR *pcVal;
                USHORT *puiVal;
                ULONG *pulVal;
                ULONGLONG *pullVal;
                INT *pintVal;
                UINT *puintVal;
                DECIMAL *pdecVal;
                __extension__ struct {
                    PVOID pvRecord;
                    PVOID pRecInfo;
                } recordVal;
            };
        };
        DECIMAL decVal;
    };
};
using VARIANTARG = VARIANT;

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    PVOID pvReserved;
    HRESULT(STDMETHODCALLTYPE *pfnDeferredFillIn)(EXCEPINFO *);
    SCODE scode;
};

#include "platform/com_dispatch_linux.h"

// BSTR: UTF-16 text preceded by its length in bytes (32 bits), zero-terminated.
// A null BSTR is the empty text. Allocation returns null when memory runs out or
// the length passes 2^31 bytes.
BSTR SysAllocString(const OLECHAR *text);
BSTR SysAllocStringLen(const OLECHAR *text, UINT length);
// `bytes` bytes of `data` (zeroed when null), followed by a zero OLECHAR.
BSTR SysAllocStringByteLen(const char *data, UINT bytes);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);
// Replace *text by a fresh copy of `source` (which may point into *text) and free
// the old one; with a null `source` the old characters are kept, up to `length`,
// and the rest zeroed. 0 (FALSE) when memory runs out, *text then unchanged.
INT SysReAllocString(BSTR *text, const OLECHAR *source);
INT SysReAllocStringLen(BSTR *text, const OLECHAR *source, UINT length);

void VariantInit(VARIANT *variant);
// Both handle every plain kind, BSTRs, interfaces (Release / AddRef) and safe arrays
// (destroyed / copied element by element).
HRESULT VariantClear(VARIANT *variant);
HRESULT VariantCopy(VARIANT *destination, const VARIANT *source);
// A copy with every reference followed (VT_BYREF values read through; a VARIANT
// reference to another VARIANT reference is refused with E_INVALIDARG, as is a
// null reference). The destination is replaced only on success.
HRESULT VariantCopyInd(VARIANT *destination, const VARIANT *source);

// Locales of the conversions: texts are read and written in the en-US form
// whichever locale is named.
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_INVARIANT = 0x007F;

// Conversions between kinds, following the documented automation rules:
// - Integers, reals, currency, dates and Booleans convert into each other with a
//   range check (DISP_E_OVERFLOW), also between the signed and unsigned kinds of
//   one size. Reals and currency round to integers half to even. VARIANT_TRUE is
//   -1, all ones in the unsigned kinds; any value other than 0 is true.
// - Texts are read and written in the en-US form: numbers with a sign before or
//   after them or in parentheses, "," between thousands, "$", an exponent, or as
//   &H / &O integers; reals written with 15 (VT_R8) or 7 (VT_R4) significant
//   digits as %G does; dates M/d/yyyy h:mm:ss AM/PM. Booleans read "True" or
//   "False" in any case or any number, and write "-1" / "0", or "True" / "False"
//   with VARIANT_ALPHABOOL or VARIANT_LOCALBOOL.
// - VT_EMPTY reads as 0, false or the empty text; VT_NULL converts to nothing but
//   itself; every plain value but a null or an error code converts to VT_EMPTY,
//   and every one but an error code to VT_NULL. VT_ERROR converts to nothing else.
// - An object (VT_DISPATCH) converts to a value kind through its default member,
//   DISPID_VALUE read as a property, unless VARIANT_NOVALUEPROP is given; an object
//   whose value is an object is read again, 16 objects deep at most. VT_DISPATCH and
//   VT_UNKNOWN convert into each other through QueryInterface; VT_UNKNOWN has no
//   value.
// - A by-reference source is read through. The destination is cleared and
//   replaced only on success, so destination == source converts in place.
// - VT_DECIMAL, records and arrays of another kind are not converted off Windows
//   (DISP_E_TYPEMISMATCH); a conversion to the same kind is a copy.
constexpr USHORT VARIANT_NOVALUEPROP = 0x01;
constexpr USHORT VARIANT_ALPHABOOL = 0x02;
constexpr USHORT VARIANT_NOUSEROVERRIDE = 0x04;
constexpr USHORT VARIANT_LOCALBOOL = 0x10;
HRESULT VariantChangeType(VARIANT *destination, const VARIANT *source, USHORT flags, VARTYPE vt);
HRESULT VariantChangeTypeEx(VARIANT *destination, const VARIANT *source, LCID lcid, USHORT flags,
                            VARTYPE vt);

constexpr HRESULT DISP_E_ARRAYISLOCKED = static_cast<HRESULT>(0x8002000D);

// Feature bits of a safe array.
constexpr USHORT FADF_BSTR = 0x0100;
constexpr USHORT FADF_UNKNOWN = 0x0200;
constexpr USHORT FADF_DISPATCH = 0x0400;
constexpr USHORT FADF_VARIANT = 0x0800;
constexpr USHORT FADF_HAVEVARTYPE = 0x0080;

// Safe arrays of the fixed-size kinds (VT_I1 .. VT_UINT, VT_R4, VT_R8, VT_CY,
// VT_DATE, VT_BOOL, VT_ERROR, VT_DECIMAL) and of BSTRs, interfaces and VARIANTs,
// whose elements are released with the array. Descriptor and zeroed data share one
// block. Creation returns null for an unsupported kind or when memory runs out.
SAFEARRAY *SafeArrayCreateVector(VARTYPE vt, LONG lower_bound, ULONG count);
HRESULT SafeArrayDestroy(SAFEARRAY *array);
HRESULT SafeArrayCopy(SAFEARRAY *source, SAFEARRAY **copy);
HRESULT SafeArrayAccessData(SAFEARRAY *array, void **data);
HRESULT SafeArrayUnaccessData(SAFEARRAY *array);
UINT SafeArrayGetDim(SAFEARRAY *array);
UINT SafeArrayGetElemsize(SAFEARRAY *array);
HRESULT SafeArrayGetVartype(SAFEARRAY *array, VARTYPE *vt);
HRESULT SafeArrayGetLBound(SAFEARRAY *array, UINT dimension, LONG *bound);
HRESULT SafeArrayGetUBound(SAFEARRAY *array, UINT dimension, LONG *bound);

#endif  // !PLATFORM_WINDOWS

// The layouts that hosts share with the libraries, whichever definitions are in use:
// they follow the pointer size (two record pointers in a VARIANT, the data pointer of
// a SAFEARRAY), and nothing else may move them.
static_assert(sizeof(VARIANT) == (sizeof(void *) == 4 ? 16 : 24));
static_assert(offsetof(VARIANT, lVal) == 8 && offsetof(VARIANT, bstrVal) == 8);
static_assert(sizeof(DECIMAL) == 16 && sizeof(SAFEARRAYBOUND) == 8);
static_assert(offsetof(SAFEARRAY, pvData) == (sizeof(void *) == 4 ? 12 : 16));
static_assert(offsetof(SAFEARRAY, rgsabound) == (sizeof(void *) == 4 ? 16 : 24));
static_assert(sizeof(SAFEARRAY) == (sizeof(void *) == 4 ? 24 : 32));

#include <string>
#include <string_view>
#include <utility>

namespace platform {

// Wide texts and 8-bit texts meet as Latin-1: every byte is the code unit of the
// same value, so byte strings pass through wide text unchanged; a wide character
// above 0xFF becomes '?'.
BSTR BstrFromText(std::string_view text);
std::string TextFromWide(const OLECHAR *text, std::size_t length);
std::string TextFromBstr(BSTR text);

// Owns one BSTR.
class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(BSTR owned) : value_(owned) {}
    Bstr(const Bstr &) = delete;
    Bstr &operator=(const Bstr &) = delete;
    ~Bstr() { SysFreeString(value_); }
    BSTR *Out() {
        SysFreeString(value_);
        value_ = nullptr;
        return &value_;
    }
    BSTR Get() const { return value_; }
    BSTR Release() {
        BSTR out = value_;
        value_ = nullptr;
        return out;
    }
    std::string Text() const { return TextFromBstr(value_); }

  private:
    BSTR value_ = nullptr;
};

// Holds one counted reference to a COM interface.
template <class I>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(I *p) : p_(p) {  // NOLINT: implicit adoption with AddRef, like a COM smart pointer
        if (p_)
            p_->AddRef();
    }
    ComPtr(const ComPtr &other) : ComPtr(other.p_) {}
    ComPtr(ComPtr &&other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    ComPtr &operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() {
        if (p_)
            p_->Release();
    }
    // Takes over a reference that the caller already owns.
    static ComPtr Adopt(I *p) {
        ComPtr out;
        out.p_ = p;
        return out;
    }
    I *Get() const { return p_; }
    I *operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // Address for an out-parameter; releases what is held first.
    I **Out() {
        *this = ComPtr();
        return &p_;
    }
    void **OutVoid() { return reinterpret_cast<void **>(Out()); }
    I *Detach() {
        I *p = p_;
        p_ = nullptr;
        return p;
    }

  private:
    I *p_ = nullptr;
};

// Interface identifiers, the same values on every platform.
inline constexpr GUID kIID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID kIID_IDispatch = {
    0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID kIID_IErrorInfo = {
    0x1CF2B120, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
inline constexpr GUID kIID_ICreateErrorInfo = {
    0x22F03340, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
inline constexpr GUID kIID_IDispatchEx = {
    0xA6EF9860, 0xC720, 0x11D0, {0x93, 0x37, 0x00, 0xA0, 0xC9, 0x0D, 0xCA, 0xA9}};
inline constexpr GUID kIID_ITypeInfo = {
    0x00020401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID kIID_IProvideClassInfo = {
    0xB196B283, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr GUID kIID_IClassFactory = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID kIID_IEnumVARIANT = {
    0x00020404, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID kIID_IServiceProvider = {
    0x6D5140C1, 0x7436, 0x11CE, {0x80, 0x34, 0x00, 0xAA, 0x00, 0x60, 0x09, 0xFA}};
inline constexpr GUID kGUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

// Bytes of a value of a fixed-size scalar kind (integers, Booleans, reals,
// currency, dates, error codes); 0 for every other kind.
inline std::size_t ScalarValueSize(VARTYPE vt) {
    switch (vt) {
        case VT_I1:
        case VT_UI1:
            return 1;
        case VT_I2:
        case VT_UI2:
        case VT_BOOL:
            return 2;
        case VT_I4:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
        case VT_R4:
        case VT_ERROR:
            return 4;
        case VT_I8:
        case VT_UI8:
        case VT_R8:
        case VT_CY:
        case VT_DATE:
            return 8;
        default:
            return 0;
    }
}

inline bool SameGuid(const GUID &a, const GUID &b) {
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
           std::string_view(reinterpret_cast<const char *>(a.Data4), 8) ==
               std::string_view(reinterpret_cast<const char *>(b.Data4), 8);
}

}  // namespace platform
